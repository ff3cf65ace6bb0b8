// Judging the answer on screen: the verdict, its mark, the good answers, the statistics, and the
// sentence that the chosen options make.

#include "app/LayoutColors.h"
#include "app/ListColor.h"
#include "app/TMainForm.h"
#include "bank/PictureName.h"
#include "drill/StudyPool.h"
#include "drill/Verdict.h"
#include "base/StrToInt.h"
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
    if (!m_pool || !m_questionRead || !m_btnCheck->isEnabled())
        return;
    if (m_question->isChoice()) {
        std::array<bool, MaxAnswers> ticked{};
        for (int n = 1; n <= MaxAnswers; ++n)
            ticked[static_cast<std::size_t>(n - 1)] = Find<QCheckBox>(Numbered("CheckBox", n))->isChecked();
        if (m_CheckBoxDobre->isChecked()) {
            for (int n = 1; n <= MaxAnswers; ++n)
                if (m_question->isRightAnswer(n))
                    Find<TImage>(Numbered("imgGood", n))->show();
        }
        int hits = 0, wrong = 0, correct = 0;
        for (int n = 1; n <= MaxAnswers; ++n) {
            const bool right = m_question->isRightAnswer(n), tick = ticked[static_cast<std::size_t>(n - 1)];
            correct += right;
            hits += right && tick;
            wrong += !right && tick;
        }
        QString found = QStringLiteral("dobrze zaznaczone %1 z %2").arg(hits).arg(correct);
        if (wrong > 0)
            found += QStringLiteral(", źle zaznaczone %1").arg(wrong);
        NameVerdictMarks(found);
        ApplyVerdictToWindow(JudgeChoice(*m_question, ticked));
    } else {
        std::array<std::optional<int>, MaxLists> chosen;
        for (int n = 1; n <= MaxLists; ++n) {
            if (Find<TPanel>(Numbered("pnlWybor", n))->isVisibleTo(m_pnlOdpowiedzY))
                chosen[static_cast<std::size_t>(n - 1)] =
                    Find<QComboBox>(Numbered("ComboOpcja", n))->currentIndex();
        }
        const SentenceVerdict judged = JudgeSentence(*m_question, chosen);
        int lists = 0, matched = 0;
        for (int n = 1; n <= MaxLists; ++n) {
            if (const auto& choice = chosen[static_cast<std::size_t>(n - 1)]) {
                ++lists;
                matched += *choice == GoodOption(*m_question, n);
            }
        }
        if (judged.verdict == Verdict::Good)
            matched = lists;
        NameVerdictMarks(QStringLiteral("dobrze wybrane %1 z %2").arg(matched).arg(lists));
        // A key that is no number can never be matched: it is reported as any uncaught error, once,
        // and the answer is judged wrong, so the run goes on.
        if (!judged.keyError.empty())
            ShowErrorReport(QString::fromStdString(ToUtf8(judged.keyError, m_question->Encoding)));
        if (m_CheckBoxDobre->isChecked()) {
            for (int n = 1; n <= MaxLists; ++n) {
                auto* list = Find<QComboBox>(Numbered("ComboOpcja", n));
                SetListColor(list, ListGreen.toQColor());
                const int position = GoodOption(*m_question, n);
                list->setCurrentIndex(position < list->count() ? position : -1);
            }
            btnGenerujClick();
        }
        ApplyVerdictToWindow(judged.verdict);
    }
    // "dalej" is enabled first, so that a keyboard focus on "sprawdź" moves to it.
    m_btnDalej->setEnabled(true);
    m_btnCheck->setEnabled(false);
    KeepProgress(true);
}

void TMainForm::ApplyVerdictToWindow(Verdict verdict)
{
    TImage* mark = verdict == Verdict::Good ? m_imgOK : verdict == Verdict::Partial ? m_imgNic : m_imgNieok;
    mark->show();
    Announce(mark);
    m_gaugeDobreZle->setMaxValue(m_gaugeDobreZle->MaxValue() + 1);
    if (verdict == Verdict::Good)
        m_gaugeDobreZle->setProgress(m_gaugeDobreZle->Progress() + 1);
    if (m_pool->ApplyVerdict(verdict)) {
        m_lblOpanowane->setCaption(QString::number(StrToInt(m_lblOpanowane->caption().toStdString()) + 1));
        m_gaugeOpanowane->setProgress(m_gaugeOpanowane->Progress() + 1);
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
    if (!m_questionRead || m_question->isChoice())
        return; // no sentence on screen
    // Sentence questions may carry a picture tag in their question line: it is no part of the sentence.
    QString sentence = Text(WithoutPictureTag(m_question->Body));
    for (int n = 1; n <= 4; ++n) {
        const QString placeholder = QString::fromStdString(SentenceGap(n));
        const QString chosen = Find<QComboBox>(Numbered("ComboOpcja", n))->currentText();
        const qsizetype at = sentence.indexOf(placeholder);
        if (at >= 0)
            sentence = sentence.left(at) + ' ' + chosen + sentence.mid(at + placeholder.size());
    }
    m_lblCoPowstanie->setCaption(sentence);
}

} // namespace zdawnik
