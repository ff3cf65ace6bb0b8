#include "pictures/MetafileClient.h"

#include "base/Platform.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace zdawnik {

namespace {

#ifdef _WIN32
constexpr char HelperName[] = "zdawnik-metafile.exe";
#else
constexpr char HelperName[] = "zdawnik-metafile";
#endif

} // namespace

QString MetafileHelperPath()
{
    QString directory;
    if (QCoreApplication::instance())
        directory = QCoreApplication::applicationDirPath();
    if (directory.isEmpty()) {
#ifdef _WIN32
        directory = QString::fromStdWString(platform::ExecutableDirectory().wstring());
#else
        directory = QFile::decodeName(QByteArray::fromStdString(platform::ExecutableDirectory().native()));
#endif
    }
    return directory + QLatin1Char('/') + QLatin1String(HelperName);
}

MetafileClient::MetafileClient(QString program)
    : m_program(program.isEmpty() ? MetafileHelperPath() : std::move(program))
{
}

MetafileClient::~MetafileClient()
{
    Stop();
    for (const std::unique_ptr<QProcess>& process : m_ending)
        process->waitForFinished(1000);
}

void MetafileClient::Start()
{
    if (m_process && m_process->state() != QProcess::NotRunning)
        return;
    if (!QFileInfo(m_program).isExecutable())
        return;
    m_process = std::make_unique<QProcess>();
    m_process->setProgram(m_program);
    // The libraries chatter on their error stream about every odd record; none of it is for the user.
    m_process->setStandardErrorFile(QProcess::nullDevice());
    m_process->start(QIODevice::ReadWrite);
}

void MetafileClient::Stop()
{
    ReapEnded();
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        // A helper that ate its memory takes a while to give it back: it is collected later, so
        // that the question's time does not go on waiting for it.
        m_process->kill();
        m_ending.push_back(std::move(m_process));
    }
    m_process.reset();
}

void MetafileClient::ReapEnded()
{
    std::erase_if(m_ending, [](const std::unique_ptr<QProcess>& process) {
        return process->state() == QProcess::NotRunning || process->waitForFinished(0);
    });
}

MetafileClient::Reply MetafileClient::Fail(Outcome outcome, const QString& reason)
{
    Stop();
    // The next picture finds a helper ready, or one well on its way.
    if (outcome == Outcome::OutOfTime || outcome == Outcome::Crashed)
        Start();
    return {outcome, PictureResult::Failure(reason)};
}

qint64 MetafileClient::ProcessId() const
{
    return m_process && m_process->state() != QProcess::NotRunning ? m_process->processId() : 0;
}

MetafileClient::Reply MetafileClient::Render(const QByteArray& data, MetafileKind kind, QSize place,
                                             int timeoutMs)
{
    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    // A helper that ended since the last picture (killed, or out of memory while idle) is noticed
    // here, before the request would go to no one.
    if (m_process && m_process->state() == QProcess::Running && m_process->waitForFinished(0))
        Stop();
    Start();
    if (!m_process)
        return Fail(
            Outcome::NoHelper,
            QStringLiteral("Metafiles cannot be shown: %1 is missing beside the program").arg(HelperName));
    if (m_process->state() == QProcess::Starting && !m_process->waitForStarted(int(deadline.remainingTime())))
        return Fail(m_process->state() == QProcess::Starting ? Outcome::OutOfTime : Outcome::NoHelper,
                    QStringLiteral("Metafiles cannot be shown: %1 does not start").arg(HelperName));
    if (m_process->state() != QProcess::Running)
        return Fail(Outcome::NoHelper,
                    QStringLiteral("Metafiles cannot be shown: %1 does not start").arg(HelperName));

    m_process->write(metafile_protocol::EncodeRequestHeader(kind, place, data.size()));
    m_process->write(data);
    QByteArray reply;
    std::optional<qint64> expected;
    for (;;) {
        reply += m_process->readAllStandardOutput();
        if (!expected && reply.size() >= metafile_protocol::ReplyHeaderBytes) {
            expected = metafile_protocol::ReplyBytes(reply);
            if (!expected)
                return Fail(Outcome::Crashed,
                            QStringLiteral("Damaged metafile: the renderer gave no picture"));
        }
        if (expected && reply.size() >= *expected)
            break;
        if (m_process->state() == QProcess::NotRunning)
            return Fail(Outcome::Crashed, QStringLiteral("Damaged metafile: the renderer crashed on it"));
        if (deadline.hasExpired())
            return Fail(Outcome::OutOfTime, QStringLiteral("Damaged metafile: drawing it takes too long"));
        // Also feeds the helper's input as its pipe drains.
        m_process->waitForReadyRead(int(qMax<qint64>(1, deadline.remainingTime())));
    }
    if (reply.size() != *expected)
        return Fail(Outcome::Crashed, QStringLiteral("Damaged metafile: the renderer gave no picture"));
    Reply result;
    result.picture = metafile_protocol::DecodeReply(reply);
    result.outcome = result.picture.ok() ? Outcome::Drawn : Outcome::Refused;
    return result;
}

} // namespace zdawnik
