#include "pictures/MetafileClient.h"

#include "base/Platform.h"
#include "pictures/MetafileProtocol.h"
#include "pictures/PictureLimits.h"

#include <QCoreApplication>
#include <QElapsedTimer>
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

void Stop(QProcess& process)
{
    process.kill();
    process.waitForFinished(1000);
}

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

PictureResult RenderMetafile(const QByteArray& data, MetafileKind kind)
{
    const QString helper = MetafileHelperPath();
    if (!QFileInfo(helper).isExecutable())
        return PictureResult::Failure(
            QStringLiteral("Metafiles cannot be shown: %1 is missing beside the program").arg(HelperName));

    QProcess process;
    process.setProgram(helper);
    process.setArguments({QLatin1String(kind == MetafileKind::Emf ? metafile_protocol::EmfArgument
                                                                  : metafile_protocol::WmfArgument)});
    // The libraries chatter on their error stream about every odd record; none of it is for the user.
    process.setStandardErrorFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    process.start(QIODevice::ReadWrite);
    if (!process.waitForStarted(picture_limits::MetafileTimeoutMs))
        return PictureResult::Failure(
            QStringLiteral("Metafiles cannot be shown: %1 does not start").arg(HelperName));

    process.write(data);
    process.closeWriteChannel();
    QByteArray reply;
    const qint64 maxReply = metafile_protocol::MaxReplyBytes();
    for (;;) {
        reply += process.readAllStandardOutput();
        if (reply.size() > maxReply) {
            Stop(process);
            return metafile_protocol::DecodeReply({});
        }
        if (process.state() == QProcess::NotRunning)
            break;
        const qint64 left = picture_limits::MetafileTimeoutMs - clock.elapsed();
        if (left <= 0) {
            Stop(process);
            return PictureResult::Failure(QStringLiteral("Damaged metafile: drawing it takes too long"));
        }
        // Also feeds the helper's input as its pipe drains.
        process.waitForReadyRead(int(left));
    }
    reply += process.readAllStandardOutput();
    if (process.exitStatus() == QProcess::CrashExit)
        return PictureResult::Failure(QStringLiteral("Damaged metafile: the renderer crashed on it"));
    return metafile_protocol::DecodeReply(reply);
}

} // namespace zdawnik
