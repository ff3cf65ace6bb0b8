// The bank the window works on and the run kept between sittings: the start panel shows the bank and
// offers to go on with its kept run; the run is kept after every check and when the window closes;
// another bank is chosen with the folder dialog or by dropping a folder on the start panel.

#include "app/BankChoice.h"
#include "app/FolderDialogs.h"
#include "app/PathText.h"
#include "app/TMainForm.h"
#include "drill/ExamRun.h"
#include "progress/RunKeeper.h"
#include "widgets/TGauge.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMimeData>
#include <QPushButton>

namespace zdawnik {

namespace {

// A folder dragged from a file manager: exactly one, on this computer.
QString DraggedFolder(const QMimeData* data)
{
    if (!data || !data->hasUrls() || data->urls().size() != 1 || !data->urls().first().isLocalFile())
        return {};
    const QString path = data->urls().first().toLocalFile();
    return QFileInfo(path).isDir() ? path : QString();
}

// Takes folders dropped on the widget it watches.
class FolderDrop : public QObject
{
public:
    FolderDrop(QWidget* target, std::function<void(const QString&)> dropped)
        : QObject(target), m_dropped(std::move(dropped))
    {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDragMoveEvent*>(event);
            if (DraggedFolder(drag->mimeData()).isEmpty())
                drag->ignore();
            else
                drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QString folder = DraggedFolder(drop->mimeData());
            if (folder.isEmpty())
                return QObject::eventFilter(watched, event);
            drop->acceptProposedAction();
            m_dropped(folder);
            return true;
        }
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    std::function<void(const QString&)> m_dropped;
};

// A caption that shows text as it is: an ampersand in a path is no accelerator.
QString Literal(QString text)
{
    return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

// The bank's path as the progress store keys it: canonical, in the system's bytes.
std::string BankKey(const std::filesystem::path& canonical)
{
#ifdef _WIN32
    const std::u8string utf8 = canonical.u8string();
    return std::string(utf8.begin(), utf8.end());
#else
    return canonical.native();
#endif
}

} // namespace

void TMainForm::InstallFolderDrop()
{
    new FolderDrop(m_pnlStart, [this](const QString& folder) {
        m_droppedFolder = folder;
        Dispatch(&TMainForm::pnlStartDragDrop);
    });
}

void TMainForm::OpenBank(const std::filesystem::path& bank)
{
    m_environment.BankDir = bank;
    m_keeper.reset();
    m_continueOffered = false;
    auto* bankLine = Find<TLabel>("lblBaza");
    auto* progressLine = Find<TLabel>("lblPostep");
    auto* changesLine = Find<TLabel>("lblZmiany");
    auto* savingLine = Find<TLabel>("lblZapis");
    auto* continueButton = Find<QPushButton>("btnKontynuuj");
    for (TLabel* line : {progressLine, changesLine, savingLine})
        line->hide();
    continueButton->hide();

    std::error_code error;
    const bool exists = std::filesystem::is_directory(bank, error);
    std::vector<std::string> names = exists ? ScanBank(bank) : std::vector<std::string>();
    const QString where = exists ? QStringLiteral("plików z pytaniami: %1").arg(names.size())
                                 : QStringLiteral("nie ma takiego katalogu");
    // The path gives way in the middle, so that its start and the bank's own folder stay in sight.
    const QString suffix = QStringLiteral(" (%1)").arg(where);
    const QString prefix = QStringLiteral("Baza pytań: ");
    const QFontMetrics metrics(bankLine->font());
    const int room = Find<QPushButton>("btnZmienBaze")->x() - 12 - bankLine->x();
    const QString path = metrics.elidedText(TextFromPath(bank), Qt::ElideMiddle,
                                            room - metrics.horizontalAdvance(prefix + suffix));
    bankLine->setCaption(Literal(prefix + path + suffix));
    // A bank the user chose and that has no question file is said so on this line; the start action,
    // which would only report an empty bank, is not offered, and another bank is a click away.
    m_startOffered = !m_environment.ChosenBank || !names.empty();
    m_btnStart->setVisible(m_startOffered);
    if (!m_startOffered && FocusOnScreen() == m_btnStart)
        FocusWelcome();

    const std::filesystem::path canonical = exists ? std::filesystem::canonical(bank, error) : bank;
    if (m_environment.StateDir.isEmpty() || !exists || error)
        return;
    m_keeper = std::make_unique<RunKeeper>(m_environment.StateDir, BankKey(canonical));
    switch (m_keeper->Open()) {
    case RunKeeper::Access::Writing:
        break;
    case RunKeeper::Access::HeldByAnother:
        savingLine->setCaption(
            "Ta baza jest otwarta w innym oknie Zdawnika: postęp zapisuje tamto okno, nie to.");
        savingLine->show();
        break;
    case RunKeeper::Access::FolderUnwritable:
        savingLine->setCaption(
            Literal(QStringLiteral("Postęp nie będzie zapisywany: nie można pisać w katalogu %1.")
                        .arg(QDir::toNativeSeparators(m_environment.StateDir))));
        savingLine->show();
        break;
    }

    const RunKeeper::Loaded loaded = m_keeper->Load();
    if (loaded.found == RunKeeper::Found::Damaged || !m_keeper->DatabaseNotice().isEmpty()) {
        progressLine->setCaption(loaded.found == RunKeeper::Found::Damaged ? loaded.notice
                                                                           : m_keeper->DatabaseNotice());
        progressLine->show();
        return;
    }
    if (loaded.found != RunKeeper::Found::Record)
        return;
    if (!m_keeper->OfferedRun()) {
        progressLine->setCaption(
            QStringLiteral("Ostatnio cała baza była opanowana %1, nauka trwała %2.")
                .arg(QLocale(QLocale::Polish)
                         .toString(loaded.record.SavedAt.toLocalTime(), QStringLiteral("d.MM.yyyy, HH:mm")),
                     ClockText(loaded.record.StudySeconds)));
        progressLine->show();
        return;
    }
    if (names.empty())
        return; // nothing to go on with: the start action reports the empty bank

    // What going on would give, on the bank as it is now.
    DrillRun preview;
    const BankChanges changes = preview.Restore(std::move(names), loaded.record.Questions, {});
    progressLine->setCaption(QStringLiteral("Zapisany postęp: %1 z %2 pytań opanowanych, czas nauki %3")
                                 .arg(preview.Figures().Mastered)
                                 .arg(preview.Figures().Total)
                                 .arg(ClockText(loaded.record.StudySeconds)));
    progressLine->show();
    if (changes.Added > 0 || changes.Removed > 0) {
        changesLine->setCaption(QStringLiteral("Od zapisu w bazie przybyło pytań: %1, ubyło: %2.")
                                    .arg(changes.Added)
                                    .arg(changes.Removed));
        changesLine->show();
    }
    continueButton->show();
    m_continueOffered = true;
}

bool TMainForm::ContinueOffered() const
{
    return m_continueOffered;
}

void TMainForm::ChangeBank(const QString& folder)
{
    if (folder.isEmpty())
        return;
    const std::filesystem::path bank = PathFromText(QDir::cleanPath(folder));
    // Only a bank with questions is remembered: a missing or empty folder is no bank to start with.
    if (m_environment.Settings && !ScanBank(bank).empty())
        RememberBank(*m_environment.Settings, bank);
    m_environment.ChosenBank = true;
    OpenBank(bank);
    RefreshProgressWindow(false); // an open statistics window follows the bank in use
}

void TMainForm::btnZmienBazeClick()
{
    if (m_run->Started())
        return; // a run keeps its bank
    ChangeBank(m_folders->chooseFolder(this, QStringLiteral("Wybierz katalog z pytaniami"),
                                       TextFromPath(m_environment.BankDir)));
}

void TMainForm::pnlStartDragDrop()
{
    if (m_run->Phase() == DrillPhase::Welcome)
        ChangeBank(m_droppedFolder);
}

void TMainForm::btnKontynuujClick()
{
    if (m_run->Started())
        return;
    m_continuing = true;
    btnStartClick();
}

void TMainForm::BeginRun(std::vector<std::string> names)
{
    const RunRecord* kept = m_continuing && m_keeper ? m_keeper->OfferedRun() : nullptr;
    m_continuing = false;
    if (m_keeper && m_keeper->access() == RunKeeper::Access::HeldByAnother)
        ShowSavingStatus("tę bazę ma otwartą inne okno Zdawnika");
    else if (m_keeper && m_keeper->access() == RunKeeper::Access::FolderUnwritable)
        ShowSavingStatus(QStringLiteral("nie można pisać w katalogu %1")
                             .arg(QDir::toNativeSeparators(m_environment.StateDir)));
    if (kept)
        m_run->Restore(std::move(names), kept->Questions, RunKeeper::FiguresOf(*kept));
    else
        m_run->Begin(std::move(names));
    m_runKind = SittingKind::Drill;
    if (m_keeper)
        m_keeper->RunBegun(*m_run, kept != nullptr);
    if (!kept)
        return;

    const DrillFigures& figures = m_run->Figures();
    // Maxima before progress: a gauge cuts its progress down to its maximum.
    m_gaugeDobreZle->setMaxValue(figures.Answers);
    m_gaugeDobreZle->setProgress(figures.GoodAnswers);
    m_gaugeOpanowane->setMaxValue(figures.Total);
    m_gaugeOpanowane->setProgress(figures.Mastered);
    m_lblOpanowane->setCaption(QString::number(figures.Mastered));
    ShowClock(figures.StudySeconds);
}

void TMainForm::KeepCheck(const CheckStep& step)
{
    if (!m_keeper)
        return;
    const RunKeeper::Kept kept = m_keeper->KeepCheck(*m_run, step);
    if (kept.Written)
        ShowSavingStatus(kept.Error);
    RefreshProgressWindow(false);
}

void TMainForm::CloseBank()
{
    if (m_keeper && m_run->Pool())
        m_keeper->KeepClose(*m_run);
    m_keeper.reset(); // another window may take the bank now
}

void TMainForm::ShowSavingStatus(const QString& problem)
{
    auto* status = Find<TLabel>("lblStan");
    status->setCaption(Literal(QStringLiteral("Postęp nie jest zapisywany: %1").arg(problem)));
    status->setVisible(!problem.isEmpty());
}

void TMainForm::ShowSearchedFolder()
{
    auto* status = Find<TLabel>("lblStan");
    status->setCaption(Literal(QStringLiteral("Pytań szukano w katalogu %1")
                                   .arg(QDir::toNativeSeparators(TextFromPath(m_environment.BankDir)))));
    status->show();
}

} // namespace zdawnik
