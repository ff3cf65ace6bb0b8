// Judging the answer on screen: the verdict, its mark, the good answers, the statistics, and the
// sentence that the chosen options make.

#include "app/LayoutColors.h"
#include "app/ListColor.h"
#include "app/MessageBoxes.h"
#include "app/TMainForm.h"
#include "bank/PictureName.h"
#include "bank/StudyPool.h"
#include "base/Errors.h"
#include "base/StrToInt.h"
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
    if (m_question->isChoice()) {
        int ticked = 0, correct = 0, hits = 0;
        for (int n = 1; n <= 12; ++n)
            ticked += Find<QCheckBox>(Numbered("CheckBox", n))->isChecked();
        for (int n = 1; n <= 12; ++n) {
            const bool key = m_question->isRightAnswer(n);
            if (key) {
                ++correct;
                if (m_CheckBoxDobre->isChecked())
                    Find<TImage>(Numbered("imgGood", n))->show();
            }
            if (key && Find<QCheckBox>(Numbered("CheckBox", n))->isChecked())
                ++hits;
        }
        Verdict verdict = Verdict::Wrong;
        if (ticked == correct && ticked == hits && ticked != 0)
            verdict = Verdict::Good;
        else if (ticked == hits && ticked != correct && ticked != 0)
            verdict = Verdict::Partial;
        ApplyVerdictToWindow(verdict);
    } else {
        int mismatches = 0;
        bool conversionReported = false;
        for (int n = 1; n <= 4; ++n) {
            if (Find<TPanel>(Numbered("pnlWybor", n))->isVisibleTo(m_pnlOdpowiedzY) &&
                !SentenceListMatches(n, conversionReported))
                ++mismatches;
        }
        const Verdict verdict = mismatches == 0 ? Verdict::Good : Verdict::Wrong;
        if (m_CheckBoxDobre->isChecked()) {
            for (int n = 1; n <= 4; ++n) {
                auto* list = Find<QComboBox>(Numbered("ComboOpcja", n));
                SetListColor(list, ListGreen.toQColor());
                int position = -1;
                try {
                    position = StrToInt(m_question->Keys[n]) - 1;
                } catch (const EConvertError&) {
                    // A key that is no number names no option.
                }
                list->setCurrentIndex(position >= 0 && position < list->count() ? position : -1);
            }
            btnGenerujClick();
        }
        ApplyVerdictToWindow(verdict);
    }
    m_btnCheck->setEnabled(false);
    m_btnDalej->setEnabled(true);
    KeepProgress(true);
}

bool TMainForm::SentenceListMatches(int n, bool& conversionReported)
{
    const int selected = Find<QComboBox>(Numbered("ComboOpcja", n))->currentIndex();
    try {
        return selected == StrToInt(m_question->Keys[n]) - 1;
    } catch (const EConvertError& error) {
        // The key can never be matched. Report it as any uncaught error, once, and judge the answer
        // wrong, so the run goes on.
        if (!conversionReported)
            ShowErrorReport(QString::fromStdString(ToUtf8(error.what(), m_question->Encoding)));
        conversionReported = true;
        return false;
    }
}

void TMainForm::ApplyVerdictToWindow(Verdict verdict)
{
    TImage* mark = verdict == Verdict::Good ? m_imgOK : verdict == Verdict::Partial ? m_imgNic : m_imgNieok;
    mark->show();
    m_gaugeDobreZle->setMaxValue(m_gaugeDobreZle->MaxValue() + 1);
    if (verdict == Verdict::Good)
        m_gaugeDobreZle->setProgress(m_gaugeDobreZle->Progress() + 1);
    if (m_pool->ApplyVerdict(verdict)) {
        m_lblOpanowane->setCaption(QString::number(StrToInt(m_lblOpanowane->caption().toStdString()) + 1));
        m_gaugeOpanowane->setProgress(m_gaugeOpanowane->Progress() + 1);
    }
}

void TMainForm::btnGenerujClick()
{
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
