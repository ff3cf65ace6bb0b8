// From the window's creation to its closing: the start action, the next action that brings up each
// question, the end of a run and the question-ID switch.

#include "app/MessageBoxes.h"
#include "app/TMainForm.h"
#include "assets/BuiltInPictures.h"
#include "bank/QuestionReader.h"
#include "drill/StudyPool.h"
#include "base/Errors.h"
#include "widgets/TGauge.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QCheckBox>
#include <QPushButton>
#include <QTimer>

namespace zdawnik {

bool TMainForm::RunStarted() const
{
    return m_btnStart->isHidden();
}

void TMainForm::FormCreate()
{
    if (m_question)
        return; // the window exists once
    m_question = std::make_unique<Question>();

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
    m_question.reset();
}

void TMainForm::btnStartClick()
{
    if (RunStarted())
        return;
    const QWidget* focus = FocusOnScreen();
    m_pnlStart->hide();
    m_btnStart->hide();

    std::vector<std::string> names = ScanBank(m_environment.BankDir);
    if (names.empty()) {
        m_btnCheck->setEnabled(false);
        m_lblPytanieInfo->setCaption("---");
        m_lblPytanie->setCaption("---");
        ShowMessage(int(MessageBoxes::Icon::Stop), "Error", "O cholera, jakiś error...\n\nSorry...");
        ShowMessage(int(MessageBoxes::Icon::Question), "Hmm",
                    "Prawdopodobnie nie został odnaleziony katalog \"baza\".\n"
                    "Powinien się on znajdować w tym samym katalogu w którym jest program.\n"
                    "\n"
                    "Jeśli taki katalog istnieje to możliwe, że nie ma w nim plików z pytaniami.\n"
                    "\n"
                    "A jeśli żadne z powyższych to nie wiem co... :-[");
        ShowSearchedFolder();
    } else {
        const int count = BeginRun(std::move(names));
        m_gaugeOpanowane->setMaxValue(count);
        m_lblPytanInfo->setCaption(QString::number(count));
        NextQuestion();
        if (m_pool->PendingCount() == 0)
            return; // every question was set aside: the run has ended already
        FocusAfterNext(focus);
    }
    m_Timer->start();
}

void TMainForm::btnDalejClick()
{
    // Only a run that waits for "dalej" goes on: not before its start, not with a question open.
    if (!m_pool || !m_btnDalej->isEnabled())
        return;
    const QWidget* focus = FocusOnScreen();
    NextQuestion();
    FocusAfterNext(focus);
}

void TMainForm::NextQuestion()
{
    if (m_pool->PendingCount() > 0) {
        for (int n = 1; n <= 12; ++n)
            Find<TImage>(Numbered("imgGood", n))->hide();
        m_imgOK->hide();
        m_imgNic->hide();
        m_imgNieok->hide();
    }
    // A question that cannot be shown is set aside and the next one drawn, so that such a file can
    // neither be judged on what stands on screen nor keep the run from ending.
    while (m_pool->PendingCount() > 0) {
        if (ShowDrawnQuestion())
            return;
        m_pool->SetAsideCurrent();
        m_gaugeOpanowane->setMaxValue(m_pool->CountedQuestions());
    }
    m_pnlOdpowiedzY->hide();
    m_Timer->stop();
    // Most runs never get this far in one sitting: the photograph is decoded only now.
    auto* photograph = Find<TImage>("Image1");
    if (!photograph->hasPicture())
        photograph->setPicture(assets::EndPhotograph(), false);
    m_pnlKoniec->show();
}

bool TMainForm::ShowDrawnQuestion()
{
    const int entry = m_pool->DrawQuestion();
    m_questionRead = false;
    try {
        LoadQuestionFile(m_environment.BankDir, m_pool->Pool()[static_cast<std::size_t>(entry)].FileName,
                         *m_question, *this);
    } catch (const EInOutError& error) {
        // The file cannot be opened at all.
        ClearQuestion();
        ShowErrorReport(QString::fromStdString(error.message()));
    }
    if (!m_questionRead) {
        ClearQuestion();
        return false;
    }
    m_lblIleRazyInfo->setCaption(QString::number(m_pool->MarkShown()));

    int correct = 0;
    for (int k = 1; k <= 12; ++k)
        correct += m_question->isRightAnswer(k);
    if (m_question->isChoice())
        m_lblIleOdpowiedzi->setCaption(correct >= 2 ? "[zaznacz przynajmniej jedną odpowiedź]" : "");
    m_btnCheck->setEnabled(true);
    m_btnDalej->setEnabled(false);
    return true;
}

void TMainForm::ClearQuestion()
{
    m_questionRead = false;
    m_btnCheck->setEnabled(false);
    m_lblPytanie->setCaption(QString());
    m_imgPytanie->hide();
    m_lblIleOdpowiedzi->setCaption(QString());
    m_pnlOdpowiedzY->hide();
    PlaceAnswers(0);
}

void TMainForm::CheckBoxIDClick()
{
    m_lblPytanieInfo->setVisible(m_CheckBoxID->isChecked());
}

void TMainForm::Button1Click()
{
    if (!m_pnlKoniec->isHidden())
        close();
}

} // namespace zdawnik
