// Judging the answer on screen: the verdict, its mark, the good answers, the statistics, and the
// sentence that the chosen options make.

#include "app/LayoutColors.h"
#include "app/ListColor.h"
#include "app/TMainForm.h"
#include "bank/PictureName.h"
#include "drill/ExamRun.h"
#include "drill/Verdict.h"
#include "widgets/Accessibility.h"
#include "widgets/TGauge.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>

namespace zdawnik {

void TMainForm::btnCheckClick()
{
    // Only a question that has been read, and not checked yet, is judged.
    if (m_run->Phase() != DrillPhase::Asking || !m_run->QuestionRead())
        return;
    const CheckStep step = m_run->Check();
    const Judgement& judged = step.Judged;
    const Question& question = m_run->CurrentQuestion();
    if (question.isChoice()) {
        if (m_showGoodAnswers) {
            for (int n = 1; n <= MaxAnswers; ++n)
                if (question.isRightAnswer(n))
                    Find<TImage>(Numbered("imgGood", n))->show();
        }
        QString found = QStringLiteral("dobrze zaznaczone %1 z %2").arg(judged.Hits).arg(judged.Correct);
        if (judged.WrongTicks > 0)
            found += QStringLiteral(", źle zaznaczone %1").arg(judged.WrongTicks);
        NameVerdictMarks(found);
    } else {
        NameVerdictMarks(QStringLiteral("dobrze wybrane %1 z %2").arg(judged.Matched).arg(judged.Lists));
        // A key that is no number can never be matched: it is reported as any uncaught error, once,
        // and the answer is judged wrong, so the run goes on.
        if (!judged.KeyError.empty())
            ShowErrorReport(QString::fromStdString(ToUtf8(judged.KeyError, question.Encoding)));
        if (m_showGoodAnswers)
            ShowGoodOptions();
    }
    ShowCheckedFigures(step);
    // "dalej" is enabled first, so that a keyboard focus on "sprawdź" moves to it.
    m_btnDalej->setEnabled(true);
    m_btnCheck->setEnabled(false);
    KeepCheck(step);
}

void TMainForm::ShowGoodOptions()
{
    const Question& question = m_run->CurrentQuestion();
    for (int n = 1; n <= MaxLists; ++n) {
        auto* list = Find<QComboBox>(Numbered("ComboOpcja", n));
        SetListColor(list, ListGreen.toQColor());
        const int position = GoodOption(question, n);
        list->setCurrentIndex(position < list->count() ? position : -1);
    }
    btnGenerujClick();
}

void TMainForm::ShowCheckedFigures(const CheckStep& step)
{
    const Verdict verdict = step.Judged.verdict;
    TImage* mark = verdict == Verdict::Good ? m_imgOK : verdict == Verdict::Partial ? m_imgNic : m_imgNieok;
    mark->show();
    Announce(mark);
    const DrillFigures& figures = m_run->Figures();
    // The maximum before the progress: a gauge cuts its progress down to its maximum.
    m_gaugeDobreZle->setMaxValue(figures.Answers);
    if (verdict == Verdict::Good)
        m_gaugeDobreZle->setProgress(figures.GoodAnswers);
    if (step.Mastered) {
        m_lblOpanowane->setCaption(QString::number(figures.Mastered));
        m_gaugeOpanowane->setProgress(figures.Mastered);
    }
}

void TMainForm::NameVerdictMarks(const QString& found)
{
    const std::pair<TImage*, const char*> marks[] = {
        {m_imgOK, "dobra odpowiedź"}, {m_imgNic, "odpowiedź częściowo dobra"}, {m_imgNieok, "zła odpowiedź"}};
    for (const auto& [mark, name] : marks)
        mark->setAccessibleName(found.isEmpty() ? QString(name) : QStringLiteral("%1: %2").arg(name, found));
}

void TMainForm::btnGenerujClick()
{
    if (!(m_run->QuestionRead() || ExamQuestionOnScreen()) || m_run->CurrentQuestion().isChoice())
        return; // no sentence on screen
    const AnswerSheet& sheet = m_run->Sheet();
    ShowSentence([&sheet](int n) { return sheet.Chosen[static_cast<std::size_t>(n - 1)]; });
}

void TMainForm::ShowSentence(const std::function<int(int)>& positionInList)
{
    // Sentence questions may carry a picture tag in their question line: it is no part of the sentence.
    QString sentence = DecodeQuestionText(WithoutPictureTag(m_run->CurrentQuestion().Body));
    for (int n = 1; n <= MaxLists; ++n) {
        const QString placeholder = QString::fromStdString(SentenceGap(n));
        const QString option = DecodeQuestionText(m_run->Sheet().OptionText(n, positionInList(n)));
        const qsizetype at = sentence.indexOf(placeholder);
        if (at >= 0)
            sentence = sentence.left(at) + ' ' + option + sentence.mid(at + placeholder.size());
    }
    m_lblCoPowstanie->setCaption(sentence);
}

} // namespace zdawnik
