// The bank's history beside the run: the window "Zdawnik — postępy", refreshed after every check, and
// the drill of the questions most often missed that it starts, which is kept in the history only and
// leaves the bank's kept run as it was.

#include "app/HistoryReading.h"
#include "app/ProgressWindow.h"
#include "app/TMainForm.h"
#include "progress/RunKeeper.h"
#include "widgets/TGauge.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QCoreApplication>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <set>

namespace zdawnik {

void TMainForm::InstallShortcuts()
{
    // The statistics window is at hand from anywhere in the window; the buttons tell its key.
    auto* progress = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_P), this);
    connect(progress, &QShortcut::activated, this, [this] { Dispatch(&TMainForm::btnPostepyClick); });
    const QString progressTip = QStringLiteral("Postępy nauki w tej bazie (%1)")
                                    .arg(progress->key().toString(QKeySequence::NativeText));
    for (const char* button : {"btnPostepy", "btnPostepyKoniec"})
        FindComponent(button)->setToolTip(progressTip);
    // The exam only from the start panel, where its button stands.
    auto* exam = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_E), this);
    connect(exam, &QShortcut::activated, this, [this] { Dispatch(&TMainForm::btnEgzaminClick); });
    FindComponent("btnEgzamin")
        ->setToolTip(QStringLiteral("Egzamin próbny na tej bazie (%1)")
                         .arg(exam->key().toString(QKeySequence::NativeText)));
}

void TMainForm::btnPostepyClick()
{
    if (!m_progressWindow) {
        m_progressWindow = std::make_unique<ProgressWindow>(m_environment.SaveFiles);
        m_progressWindow->setObjectName("ProgressWindow");
        connect(m_progressWindow.get(), &ProgressWindow::DrillRequested, this,
                [this](const std::vector<std::string>& files) {
                    m_drillFiles = files;
                    Dispatch(&TMainForm::DrillChosenQuestions);
                });
    }
    RefreshProgressWindow(true);
    m_progressWindow->show();
    m_progressWindow->raise();
    m_progressWindow->activateWindow();
}

void TMainForm::RefreshProgressWindow(bool evenIfHidden)
{
    if (!m_progressWindow || (!evenIfHidden && !m_progressWindow->isVisible()))
        return;
    const int bankQuestions = static_cast<int>(ScanBank(m_environment.BankDir).size());
    if (!m_keeper) {
        HistorySnapshot nothingKept;
        nothingKept.BankDir = m_environment.BankDir;
        nothingKept.BankQuestions = bankQuestions;
        m_progressWindow->ShowHistory(nothingKept);
        return;
    }
    HistoryStore& store = m_keeper->Store();
    // The mastered questions of the bank's kept run: the run on screen, when it is that run.
    int mastered = 0;
    if (m_run->Pool() && m_runKind == SittingKind::Drill) {
        mastered = m_run->Figures().Mastered;
    } else if (const HistoryStore::Loaded kept = store.LoadRun(); kept.found == HistoryStore::Found::Record) {
        mastered = static_cast<int>(
            std::count_if(kept.record.Questions.begin(), kept.record.Questions.end(),
                          [](const QuestionProgress& question) { return question.Mastered; }));
    }
    m_progressWindow->ShowHistory(
        ReadHistory(store, m_environment.BankDir, bankQuestions, mastered, QDateTime::currentDateTimeUtc()));
}

void TMainForm::DrillChosenQuestions()
{
    if (m_exam || (m_run->Started() && m_run->Phase() != DrillPhase::Finished)) {
        ShowMessage(MessageBoxes::Icon::None, QCoreApplication::applicationName(),
                    QStringLiteral("Wybrane pytania można ćwiczyć po zakończeniu bieżącej nauki."));
        return;
    }
    // Only the files the bank still has.
    std::vector<std::string> names = ScanBank(m_environment.BankDir);
    const std::set<std::string> chosen(m_drillFiles.begin(), m_drillFiles.end());
    std::erase_if(names, [&chosen](const std::string& name) { return !chosen.count(name); });
    if (names.empty()) {
        ShowMessage(MessageBoxes::Icon::None, QCoreApplication::applicationName(),
                    QStringLiteral("Wybranych pytań nie ma już w bazie."));
        return;
    }
    if (m_run->Started())
        BackToStartPanel();
    const QWidget* focus = FocusOnScreen();
    m_pnlStart->hide();
    m_btnStart->hide();
    m_run->Begin(std::move(names));
    m_runKind = SittingKind::Hardest;
    if (m_keeper)
        m_keeper->RunBegun(*m_run, false, SittingKind::Hardest);
    ShowSavingStatus(QString());
    m_gaugeOpanowane->setMaxValue(m_run->Figures().Total);
    m_lblPytanInfo->setCaption(QString::number(m_run->Figures().Total));
    NextQuestion();
    if (m_run->Phase() == DrillPhase::Finished)
        return;
    FocusAfterNext(focus);
    StartStudyClock();
    activateWindow();
}

void TMainForm::BackToStartPanel()
{
    // A new run, with the figures of one: the start panel offers the bank's kept run again.
    m_Timer->stop();
    if (m_keeper && m_run->Pool())
        m_keeper->KeepClose(*m_run);
    m_run = std::make_unique<DrillRun>(m_environment.Clock);
    m_runKind = SittingKind::Drill;
    HideMarks();
    ClearQuestion();
    m_pnlKoniec->hide();
    m_btnDalej->setEnabled(false);
    m_gaugeDobreZle->setMaxValue(0);
    m_gaugeDobreZle->setProgress(0);
    m_gaugeOpanowane->setProgress(0);
    m_gaugeOpanowane->setMaxValue(TGauge::DefaultMaxValue);
    for (const char* figure : {"lblOpanowane", "lblPytanInfo", "lblIleRazyInfo"})
        Find<TLabel>(figure)->setCaption("0");
    ShowClock(0);
    m_pnlStart->show();
    OpenBank(m_environment.BankDir);
    FocusWelcome();
}

} // namespace zdawnik
