#include "drill/DrillRun.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

namespace zdawnik {

std::array<std::optional<int>, MaxLists> AnswerSheet::ChosenInUse() const
{
    std::array<std::optional<int>, MaxLists> chosen;
    for (std::size_t n = 0; n < chosen.size(); ++n)
        if (ListInUse[n])
            chosen[n] = Chosen[n];
    return chosen;
}

const std::string& AnswerSheet::OptionText(int n, int position) const
{
    static const std::string none;
    const auto list = static_cast<std::size_t>(n - 1);
    if (!ListInUse[list] || position < 0 || position >= static_cast<int>(Options[list].size()))
        return none;
    return Options[list][static_cast<std::size_t>(position)];
}

bool AnswerSheet::Toggle(int n)
{
    if (n < 1 || n > Answers)
        return false;
    bool& ticked = Ticked[static_cast<std::size_t>(n - 1)];
    ticked = !ticked;
    return ticked;
}

void AnswerSheet::Choose(int list, int position)
{
    if (list >= 1 && list <= MaxLists)
        Chosen[static_cast<std::size_t>(list - 1)] = std::max(position, -1);
}

Judgement Judge(const Question& question, const AnswerSheet& sheet)
{
    return question.isChoice() ? JudgeChoice(question, sheet.Ticked)
                               : JudgeSentence(question, sheet.ChosenInUse());
}

bool AnswerSheet::IsAnswered() const
{
    for (std::size_t n = 0; n < Ticked.size(); ++n)
        if (Ticked[n])
            return true;
    for (std::size_t n = 0; n < Chosen.size(); ++n)
        if (ListInUse[n] && Chosen[n] >= 0)
            return true;
    return false;
}

std::string NotShownReason(int lineCount)
{
    if (lineCount <= 0)
        return "plik jest pusty";
    return "plik ma ponad " + std::to_string(MaxQuestionLines) + " wierszy";
}

namespace {

std::string JoinNumbers(const std::vector<int>& numbers)
{
    std::string text;
    for (const int number : numbers) {
        if (!text.empty())
            text += ',';
        text += std::to_string(number);
    }
    return text;
}

} // namespace

std::string ChosenAnswersText(const Question& question, const AnswerSheet& sheet)
{
    std::vector<int> numbers;
    if (question.isChoice()) {
        for (int n = 1; n <= MaxAnswers; ++n)
            if (sheet.IsTicked(n))
                numbers.push_back(n);
    } else {
        for (const std::optional<int>& chosen : sheet.ChosenInUse())
            if (chosen)
                numbers.push_back(*chosen + 1);
    }
    return JoinNumbers(numbers);
}

std::string RightAnswersText(const Question& question, const AnswerSheet& sheet)
{
    std::vector<int> numbers;
    if (question.isChoice()) {
        for (int n = 1; n <= MaxAnswers; ++n)
            if (question.isRightAnswer(n))
                numbers.push_back(n);
    } else {
        for (int n = 1; n <= MaxLists; ++n)
            if (sheet.ListInUse[static_cast<std::size_t>(n - 1)])
                numbers.push_back(GoodOption(question, n) + 1);
    }
    return JoinNumbers(numbers);
}

std::string DurationText(std::int64_t seconds)
{
    seconds = std::max<std::int64_t>(seconds, 0);
    char text[32];
    if (seconds > 3600)
        std::snprintf(text, sizeof text, "%lld:%02lld:%02lld", static_cast<long long>(seconds / 3600),
                      static_cast<long long>(seconds / 60 % 60), static_cast<long long>(seconds % 60));
    else
        std::snprintf(text, sizeof text, "%lld:%02lld", static_cast<long long>(seconds / 60),
                      static_cast<long long>(seconds % 60));
    return text;
}

DrillRun::DrillRun(Random::Clock clock) : m_random(std::move(clock)) {}

int DrillRun::Begin(std::vector<std::string> names)
{
    m_figures = DrillFigures();
    m_pool.reset();
    if (names.empty()) {
        m_phase = DrillPhase::EmptyBank;
        return 0;
    }
    m_pool = std::make_unique<StudyPool>(m_random);
    m_pool->BuildPool(std::move(names));
    m_figures.Total = static_cast<int>(m_pool->Pool().size());
    m_phase = DrillPhase::Answered; // the next action brings the first question
    return m_figures.Total;
}

BankChanges DrillRun::Restore(std::vector<std::string> names, const std::vector<QuestionProgress>& earlier,
                              const DrillFigures& kept)
{
    m_figures = kept;
    m_pool.reset();
    BankChanges changes;
    if (names.empty()) {
        m_phase = DrillPhase::EmptyBank;
        m_figures.Total = m_figures.Mastered = 0;
        return changes;
    }
    m_pool = std::make_unique<StudyPool>(m_random);
    changes = m_pool->RestorePool(std::move(names), earlier);
    m_figures.Total = static_cast<int>(m_pool->Pool().size());
    m_figures.Mastered = m_pool->MasteredCount();
    m_phase = DrillPhase::Answered; // the next action brings the first question
    return changes;
}

const std::string& DrillRun::CurrentFileName() const
{
    static const std::string none;
    if (!m_pool || m_pool->CurrentEntry() < 0)
        return none;
    return m_pool->Pool()[static_cast<std::size_t>(m_pool->CurrentEntry())].FileName;
}

NextStep DrillRun::Next(const ShowFile& show)
{
    NextStep step;
    if (!m_pool || m_phase == DrillPhase::EmptyBank)
        return step;
    while (m_pool->PendingCount() > 0) {
        m_pool->DrawQuestion();
        m_questionRead = false;
        m_sheet.Clear();
        const ShowOutcome outcome = show(CurrentFileName());
        if (outcome.Shown) {
            m_questionRead = true;
            m_shownAt = m_figures.StudySeconds;
            m_phase = DrillPhase::Asking;
            step.Phase = DrillPhase::Asking;
            step.RepeatsLeft = m_pool->MarkShown();
            int right = 0;
            for (int k = 1; k <= MaxAnswers; ++k)
                right += m_question.isRightAnswer(k);
            step.SeveralRight = m_question.isChoice() && right >= 2;
            return step;
        }
        m_setAside.push_back({CurrentFileName(), outcome.Reason});
        m_pool->SetAsideCurrent();
        ++step.SetAside;
    }
    m_questionRead = false;
    m_phase = DrillPhase::Finished;
    step.Phase = DrillPhase::Finished;
    return step;
}

bool DrillRun::Toggle(int n)
{
    return m_sheet.Toggle(n);
}

void DrillRun::Choose(int list, int position)
{
    m_sheet.Choose(list, position);
}

CheckStep DrillRun::Check()
{
    assert(m_phase == DrillPhase::Asking && m_questionRead);
    CheckStep step;
    step.Judged = Judge(m_question, m_sheet);
    ++m_figures.Answers;
    if (step.Judged.verdict == Verdict::Good)
        ++m_figures.GoodAnswers;
    step.SecondsOnQuestion = m_figures.StudySeconds - m_shownAt;
    step.Mastered = m_pool->ApplyVerdict(step.Judged.verdict);
    if (step.Mastered)
        ++m_figures.Mastered;
    m_phase = DrillPhase::Answered;
    return step;
}

void DrillRun::StartClock(std::int64_t nowMs)
{
    m_clockBase = m_figures.StudySeconds;
    m_clockStartMs = nowMs;
    m_clockRunning = true;
}

std::int64_t DrillRun::Tick(std::int64_t nowMs)
{
    if (m_clockRunning && m_phase != DrillPhase::Finished)
        m_figures.StudySeconds =
            std::max(m_figures.StudySeconds, m_clockBase + (nowMs - m_clockStartMs) / 1000);
    return m_figures.StudySeconds;
}

} // namespace zdawnik
