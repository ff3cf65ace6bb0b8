// From the window's creation to its closing: the start action, the next action that brings up each
// question, the end of a run and the question-ID switch.

#include "app/MessageBoxes.h"
#include "app/ProgressWindow.h"
#include "app/TMainForm.h"
#include "assets/BuiltInPictures.h"
#include "bank/QuestionReader.h"
#include "base/Errors.h"
#include "base/VisibleText.h"
#include "widgets/TGauge.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

#include "drill/ExamRun.h"

namespace zdawnik {

namespace {

// The files a run set aside and why, at most `lines` of them, and where to learn more.
QString SetAsideText(const std::vector<SetAsideFile>& files, int lines)
{
    QStringList text{QStringLiteral("Tych plików nie dało się pokazać:")};
    for (std::size_t i = 0; i < files.size() && i < static_cast<std::size_t>(lines); ++i)
        text << QString::fromStdString(VisibleText(files[i].FileName + ": " + files[i].Reason));
    if (files.size() > static_cast<std::size_t>(lines))
        text << QStringLiteral("…i jeszcze %1.").arg(files.size() - static_cast<std::size_t>(lines));
    text << QStringLiteral("Program zdawnik-check wskaże wiersz z błędem.");
    return text.join('\n');
}

} // namespace

void TMainForm::FormCreate()
{
    if (m_created)
        return; // the window exists once
    m_created = true;

    m_pnlStart->show();
    m_pnlStart->setGeometry(8, 8, width() - 16, height() - 16);
    m_pnlKoniec->setGeometry(8, 8, width() - 16, height() - 16);
    m_lblAutor->adjustBounds(); // placed by its size, before the window is shown
    m_lblAutor->move(m_lblAutor->x(), m_pnlStart->height() - m_lblAutor->height() - 4);
    m_lblAutor->move(m_pnlStart->width() - m_lblAutor->width() - 4, m_lblAutor->y());
    OpenBank(m_environment.BankDir);
    FocusWelcome();
    if (m_environment.Exam && m_startOffered)
        BeginExam(*m_environment.Exam);
}

void TMainForm::FormClose()
{
    // An exam cut short is kept as it stands, unfinished: it is not taken up again.
    if (m_exam && !m_examKept)
        KeepExam();
    if (m_progressWindow)
        m_progressWindow->close();
    CloseBank();
    m_closed = true;
}

void TMainForm::btnStartClick()
{
    if (m_run->Started() || !m_startOffered)
        return;
    const QWidget* focus = FocusOnScreen();
    m_pnlStart->hide();
    m_btnStart->hide();

    std::vector<std::string> names = ScanBank(m_environment.BankDir);
    if (names.empty()) {
        m_run->Begin({});
        m_btnCheck->setEnabled(false);
        m_lblPytanieInfo->setCaption("---");
        m_lblPytanie->setCaption("---");
        ShowMessage(MessageBoxes::Icon::Stop, "Error", "O cholera, jakiś error...\n\nSorry...");
        ShowMessage(MessageBoxes::Icon::Question, "Hmm",
                    "Prawdopodobnie nie został odnaleziony katalog \"baza\".\n"
                    "Powinien się on znajdować w tym samym katalogu w którym jest program.\n"
                    "\n"
                    "Jeśli taki katalog istnieje to możliwe, że nie ma w nim plików z pytaniami.\n"
                    "\n"
                    "A jeśli żadne z powyższych to nie wiem co... :-[");
        ShowSearchedFolder();
    } else {
        BeginRun(std::move(names));
        m_gaugeOpanowane->setMaxValue(m_run->Figures().Total);
        m_lblPytanInfo->setCaption(QString::number(m_run->Figures().Total));
        NextQuestion();
        if (m_run->Phase() == DrillPhase::Finished) {
            // Every question was set aside: as in an empty bank, no run begins.
            if (static_cast<int>(m_run->SetAsideFiles().size()) == m_run->Figures().Total)
                NoQuestionToShow();
            return;
        }
        FocusAfterNext(focus);
    }
    StartStudyClock();
}

void TMainForm::btnDalejClick()
{
    if (m_exam) {
        ExamDalej();
        return;
    }
    // Only a run that waits for "dalej" goes on: not before its start, not with a question open.
    if (m_run->Phase() != DrillPhase::Answered && m_run->Phase() != DrillPhase::Finished)
        return;
    const QWidget* focus = FocusOnScreen();
    NextQuestion();
    FocusAfterNext(focus);
}

void TMainForm::HideMarks()
{
    for (int n = 1; n <= 12; ++n)
        Find<TImage>(Numbered("imgGood", n))->hide();
    m_imgOK->hide();
    m_imgNic->hide();
    m_imgNieok->hide();
}

void TMainForm::NextQuestion()
{
    if (m_run->PendingCount() > 0)
        HideMarks();
    // A question that cannot be shown is set aside and the next one drawn, so that such a file can
    // neither be judged on what stands on screen nor keep the run from ending.
    const NextStep step =
        m_run->Next([this](const std::string& fileName) { return ShowQuestionFile(fileName); });
    if (step.Phase == DrillPhase::Asking) {
        m_lblIleRazyInfo->setCaption(QString::number(step.RepeatsLeft));
        if (m_run->CurrentQuestion().isChoice())
            m_lblIleOdpowiedzi->setCaption(step.SeveralRight ? "[zaznacz przynajmniej jedną odpowiedź]" : "");
        m_btnCheck->setEnabled(true);
        m_btnDalej->setEnabled(false);
        return;
    }
    m_pnlOdpowiedzY->hide();
    m_Timer->stop();
    ShowEndPanel();
}

void TMainForm::ShowEndPanel()
{
    // Most runs never get this far in one sitting: the photograph is decoded only now.
    auto* photograph = Find<TImage>("Image1");
    if (!photograph->hasPicture())
        photograph->setPicture(assets::EndPhotograph(), false);
    // Files set aside were not mastered: the panel says which, and why, instead of claiming them all.
    const std::vector<SetAsideFile>& setAside = m_run->SetAsideFiles();
    auto* claim = Find<TLabel>("Label19");
    auto* list = Find<TLabel>("lblOdlozone");
    if (setAside.empty()) {
        claim->setCaption("Wszystkie zostały przez Ciebie opanowane :-)");
        list->hide();
    } else {
        claim->setCaption(QStringLiteral("Opanowane: %1 z %2 – plików, których nie dało się pokazać: %3.")
                              .arg(m_run->Figures().Mastered)
                              .arg(m_run->Figures().Total)
                              .arg(setAside.size()));
        list->setCaption(SetAsideText(setAside, 8));
        list->show();
    }
    m_pnlKoniec->show();
}

void TMainForm::NoQuestionToShow()
{
    // As an empty bank: the start panel stays, says why, and no run has begun.
    const std::vector<SetAsideFile> setAside = m_run->SetAsideFiles();
    m_run = std::make_unique<DrillRun>(m_environment.Clock);
    m_pnlKoniec->hide();
    m_btnStart->show();
    m_pnlStart->show();
    // The reader has reported each file in its box already; the panel says what came of it.
    auto* line = Find<TLabel>("lblZmiany");
    line->setCaption(QStringLiteral("Żadnego z plików tej bazy (%1) nie dało się pokazać, więc nauka się nie "
                                    "zaczęła. Program zdawnik-check wskaże wiersz z błędem.")
                         .arg(setAside.size()));
    line->show();
    FocusWelcome();
}

ShowOutcome TMainForm::ShowQuestionFile(const std::string& fileName)
{
    m_readerShowed = false;
    m_readerReport.clear();
    int lineCount = 0;
    try {
        lineCount =
            LoadQuestionFile(m_environment.BankDir, fileName, m_run->CurrentQuestion(), *this).LineCount;
    } catch (const EInOutError& error) {
        // The file cannot be opened at all.
        ClearQuestion();
        m_readerReport = error.message();
        ShowErrorReport(QString::fromStdString(error.message()));
    }
    if (!m_readerShowed) {
        ClearQuestion();
        return {false, m_readerReport.empty() ? NotShownReason(lineCount) : m_readerReport};
    }
    return {true, {}};
}

void TMainForm::ClearQuestion()
{
    m_readerShowed = false;
    m_btnCheck->setEnabled(false);
    m_lblPytanie->setCaption(QString());
    m_imgPytanie->hide();
    m_lblIleOdpowiedzi->setCaption(QString());
    m_pnlOdpowiedzY->hide();
    PlaceAnswers(0);
}

void TMainForm::CheckBoxIDClick()
{
    m_lblPytanieInfo->setVisible(m_showQuestionId);
}

void TMainForm::Button1Click()
{
    if (m_run->Phase() != DrillPhase::Finished)
        return;
    // A drill of chosen questions ends on the start panel, which offers the bank's kept run again.
    if (m_runKind == SittingKind::Hardest)
        BackToStartPanel();
    else
        close();
}

} // namespace zdawnik
