// The practice exam: a fixed number of questions drawn at random, answered in any order against the
// clock and judged only at the end, then the result and a review of every question. The questions are
// shown as the drill shows them, in the same window; nothing judges or hints while the exam runs.

#include "app/ExamDialog.h"
#include "app/ExamResultPanel.h"
#include "app/LayoutColors.h"
#include "app/ListColor.h"
#include "app/TMainForm.h"
#include "bank/PictureName.h"
#include "drill/ExamRun.h"
#include "progress/RunKeeper.h"
#include "widgets/Accessibility.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QPushButton>
#include <QTimer>

namespace zdawnik {

namespace {

// The widgets of the drill's clock, which the exam's remaining time replaces.
const char* const ClockParts[] = {"lblh1",   "Label15", "lblm1", "lblm2",
                                  "Label18", "lbls1",   "lbls2", "Label21"};

std::optional<ExamSettings> AskInDialog(QWidget* owner, int bankQuestions, QSettings* settings)
{
    ExamDialog dialog(bankQuestions, settings, owner);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.examSettings();
}

} // namespace

bool TMainForm::InExam() const
{
    return m_exam != nullptr;
}

bool TMainForm::ExamQuestionOnScreen() const
{
    return m_exam && m_examResult && m_examResult->isHidden() && !m_exam->IsEmpty();
}

void TMainForm::btnEgzaminClick()
{
    if (m_run->Started() || m_exam || !m_startOffered)
        return;
    const std::vector<std::string> names = ScanBank(m_environment.BankDir);
    if (names.empty())
        return;
    const std::optional<ExamSettings> settings =
        m_environment.AskExamSettings
            ? m_environment.AskExamSettings(this, static_cast<int>(names.size()))
            : AskInDialog(this, static_cast<int>(names.size()), m_environment.Settings);
    if (settings)
        BeginExam(*settings);
}

void TMainForm::BeginExam(const ExamSettings& settings)
{
    std::vector<std::string> names = ScanBank(m_environment.BankDir);
    if (names.empty() || m_run->Started())
        return;
    m_exam =
        std::make_unique<ExamRun>(settings, std::move(names), m_run->Generator(), m_environment.StudyClock);
    m_examStart = QDateTime::currentDateTimeUtc();
    if (m_keeper)
        m_keeper->Store().BeginSitting(SittingKind::Exam, m_examStart);
    if (!m_examResult) {
        m_examResult = new ExamResultPanel(this);
        m_examResult->setObjectName("pnlWynikEgzaminu");
        m_examResult->setGeometry(8, 8, width() - 16, height() - 16);
        Register(m_examResult);
        connect(m_examResult, &ExamResultPanel::questionChosen, this, [this](int k) {
            m_reviewed = k;
            Dispatch(&TMainForm::ShowExamReview);
        });
        connect(m_examResult, &ExamResultPanel::closeRequested, this,
                [this] { Dispatch(&TMainForm::LeaveExam); });
    }
    m_examResult->hide();
    m_pnlStart->hide();
    m_btnStart->hide();
    ShowExamLayout(true);
    ShowExamQuestion();
    if (!m_exam)
        return; // nothing in the bank could be shown
    ShowRemainingTime();
    m_Timer->start();
}

void TMainForm::ShowExamLayout(bool exam)
{
    // What only the drill has: judging, the good answers, the run's figures and its clock.
    m_btnCheck->setVisible(!exam);
    m_CheckBoxDobre->setVisible(!exam);
    for (const char* part : ClockParts)
        FindComponent(part)->setVisible(!exam);
    for (QObject* child : FindComponent("pnlInfo")->children())
        if (auto* widget = qobject_cast<QWidget*>(child))
            widget->setVisible(exam == (widget->objectName() == QLatin1String("lblEgzaminInfo")));
    for (const char* control : {"btnWstecz", "btnZakoncz", "lblPozostalo"})
        FindComponent(control)->setVisible(exam);
    m_btnDalej->setEnabled(exam);
}

void TMainForm::ShowExamQuestion()
{
    // A file that cannot be shown is dropped, and another takes its place.
    for (;;) {
        if (m_exam->IsEmpty()) {
            FinishExam();
            return;
        }
        HideMarks();
        AnswerSheet& sheet = m_run->Sheet();
        sheet.Clear();
        if (ShowQuestionFile(m_exam->Current().FileName).Shown)
            break;
        m_exam->ReplaceCurrent();
    }
    m_exam->RecordShown(m_run->CurrentQuestion(), m_run->Sheet());
    ShowExamSheet(m_exam->Current().Sheet);
    // How many answers are right is a hint of its own: it is not given in an exam.
    m_lblIleOdpowiedzi->setCaption(QString());
    ShowExamPosition();
}

void TMainForm::ShowExamSheet(const AnswerSheet& answers)
{
    m_run->Sheet().Ticked = answers.Ticked;
    for (int n = 1; n <= answers.Answers; ++n)
        ShowTick(n, answers.IsTicked(n));
    for (int n = 1; n <= MaxLists; ++n)
        if (answers.ListInUse[static_cast<std::size_t>(n - 1)])
            Find<QComboBox>(Numbered("ComboOpcja", n))
                ->setCurrentIndex(answers.Chosen[static_cast<std::size_t>(n - 1)]);
}

void TMainForm::ShowExamPosition()
{
    auto* info = Find<TLabel>("lblEgzaminInfo");
    info->setCaption(QStringLiteral("Pytanie %1 z %2\nOdpowiedziano na %3 z %2")
                         .arg(m_exam->Position() + 1)
                         .arg(m_exam->Count())
                         .arg(m_exam->AnsweredCount()));
    info->setAccessibleName(CaptionText(info->caption()).replace('\n', QStringLiteral(", ")));
    auto* back = Find<QPushButton>("btnWstecz");
    back->setEnabled(m_exam->Position() > 0);
    m_btnDalej->setEnabled(m_exam->Position() + 1 < m_exam->Count());
}

void TMainForm::ShowRemainingTime()
{
    auto* remaining = Find<TLabel>("lblPozostalo");
    const std::int64_t ms = m_exam->RemainingMs();
    remaining->setCaption(QString::fromStdString(RemainingTimeText(ms)));
    // The last five minutes in the alarm colour, red on white so that it reads on the window's blue,
    // and said in words for whom colour says nothing.
    const bool hurry = InLastFiveMinutes(ms);
    remaining->setFontColor(hurry ? clRed.toQColor() : clLime.toQColor());
    remaining->setTransparent(!hurry);
    remaining->setAccessibleName(remaining->caption() +
                                 (hurry ? QStringLiteral(" – ostatnie minuty") : QString()));
}

void TMainForm::ExamTick()
{
    if (m_exam->Finished() && m_examResult->isHidden() && m_reviewed < 0) {
        FinishExam();
        return;
    }
    if (!m_exam->Finished())
        ShowRemainingTime();
}

void TMainForm::ExamDalej()
{
    if (!m_exam->Finished()) {
        if (m_exam->Next())
            ShowExamQuestion();
        return;
    }
    // From a question under review, back to the result.
    m_reviewed = -1;
    ShowExamResult();
}

void TMainForm::btnWsteczClick()
{
    if (!m_exam || m_exam->Finished())
        return;
    if (m_exam->Previous())
        ShowExamQuestion();
}

void TMainForm::btnZakonczClick()
{
    if (!m_exam || m_exam->Finished())
        return;
    const int unanswered = m_exam->Count() - m_exam->AnsweredCount();
    if (unanswered > 0 &&
        !m_messages->ask(
            this, QCoreApplication::applicationName(),
            QStringLiteral("Bez odpowiedzi zostało pytań: %1. Zakończyć egzamin?").arg(unanswered)))
        return;
    FinishExam();
}

void TMainForm::FinishExam()
{
    m_exam->Finish();
    m_Timer->stop();
    KeepExam();
    m_reviewed = -1;
    ShowExamResult();
}

void TMainForm::KeepExam()
{
    if (!m_keeper || m_examKept)
        return;
    std::vector<AnswerEntry> answers;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    for (int k = 0; k < m_exam->Count(); ++k) {
        const ExamQuestion& question = m_exam->At(k);
        if (!question.Shown)
            continue;
        answers.push_back({question.FileName, now, m_exam->VerdictOf(k), m_exam->SpentMs(k) / 1000,
                           m_exam->ChosenText(k), m_exam->RightText(k), m_exam->ElapsedMs() / 1000});
    }
    const ExamFigures figures{m_exam->Count(), m_exam->Settings().PassMark, m_exam->Score(),
                              m_exam->Finished()};
    QString error;
    if (!m_keeper->Store().RecordExam(figures, answers, error))
        ShowSavingStatus(error);
    m_examKept = m_exam->Finished();
}

void TMainForm::ShowExamResult()
{
    HideMarks();
    m_examResult->ShowResult(*m_exam);
    m_examResult->show();
    m_examResult->raise();
}

void TMainForm::ShowExamReview()
{
    if (!m_exam || !m_exam->Finished() || m_reviewed < 0 || m_reviewed >= m_exam->Count())
        return;
    m_exam->GoTo(m_reviewed);
    m_examResult->hide();
    const ExamQuestion& question = m_exam->Current();
    if (!question.Shown || !ShowQuestionFile(question.FileName).Shown) {
        ClearQuestion();
    } else {
        m_run->Sheet().Clear();
        ShowExamSheet(question.Sheet);
        // As the drill shows a checked question: the face, and the good answers.
        const Verdict verdict = m_exam->VerdictOf(m_reviewed);
        (verdict == Verdict::Good ? m_imgOK : verdict == Verdict::Partial ? m_imgNic : m_imgNieok)->show();
        const Question& record = m_run->CurrentQuestion();
        if (record.isChoice()) {
            for (int n = 1; n <= MaxAnswers; ++n)
                if (record.isRightAnswer(n))
                    Find<TImage>(Numbered("imgGood", n))->show();
        } else {
            // The lists keep the student's choices; the sentence under them is the right one.
            ShowSentence([&record](int n) { return GoodOption(record, n); });
        }
    }
    m_lblIleOdpowiedzi->setCaption(QString());
    Find<TLabel>("lblEgzaminInfo")
        ->setCaption(QStringLiteral("Przegląd: pytanie %1 z %2").arg(m_reviewed + 1).arg(m_exam->Count()));
    Find<QPushButton>("btnWstecz")->setEnabled(false);
    m_btnDalej->setEnabled(true);
}

void TMainForm::LeaveExam()
{
    if (!m_exam || !m_exam->Finished())
        return;
    m_exam.reset();
    m_examKept = false;
    m_reviewed = -1;
    m_examResult->hide();
    ShowExamLayout(false);
    BackToStartPanel();
}

} // namespace zdawnik
