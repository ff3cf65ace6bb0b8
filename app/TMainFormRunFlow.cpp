// From the window's creation to its closing: the start action, the next action that brings up each
// question, the end of a run and the question-ID switch.

#include "app/MessageBoxes.h"
#include "app/TMainForm.h"
#include "assets/BuiltInPictures.h"
#include "bank/QuestionReader.h"
#include "base/Errors.h"
#include "widgets/TGauge.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

namespace zdawnik {

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
}

void TMainForm::FormClose()
{
    CloseBank();
    m_closed = true;
}

void TMainForm::btnStartClick()
{
    if (m_run->Started())
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
        if (m_run->Phase() == DrillPhase::Finished)
            return; // every question was set aside: the run has ended already
        FocusAfterNext(focus);
    }
    StartStudyClock();
}

void TMainForm::btnDalejClick()
{
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
    if (step.SetAside > 0)
        m_gaugeOpanowane->setMaxValue(m_run->Pool()->CountedQuestions());
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
    // Most runs never get this far in one sitting: the photograph is decoded only now.
    auto* photograph = Find<TImage>("Image1");
    if (!photograph->hasPicture())
        photograph->setPicture(assets::EndPhotograph(), false);
    m_pnlKoniec->show();
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
    if (m_run->Phase() == DrillPhase::Finished)
        close();
}

} // namespace zdawnik
