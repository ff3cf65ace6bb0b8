#include "drill/ExamRun.h"

#include "drill/Random.h"
#include "drill/Verdict.h"

#include <algorithm>
#include <chrono>
#include <cstdio>

namespace zdawnik {

namespace {

std::int64_t SteadyMilliseconds()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

} // namespace

ExamRun::ExamRun(const ExamSettings& settings, std::vector<std::string> bankNames, Random& random,
                 Clock clock)
    : m_settings(settings), m_random(random), m_clock(clock ? std::move(clock) : Clock(&SteadyMilliseconds)),
      m_undrawn(std::move(bankNames))
{
    const int count = std::clamp(settings.Questions, 0, static_cast<int>(m_undrawn.size()));
    m_questions.reserve(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        m_questions.emplace_back().FileName = DrawUndrawn();
    m_start = m_clock();
}

std::string ExamRun::DrawUndrawn()
{
    m_random.Reseed();
    const auto drawn = static_cast<std::size_t>(m_random.RandomBelow(static_cast<int>(m_undrawn.size())));
    // The last name takes the place of the one drawn: the order of the rest does not matter.
    std::swap(m_undrawn[drawn], m_undrawn.back());
    std::string name = std::move(m_undrawn.back());
    m_undrawn.pop_back();
    return name;
}

bool ExamRun::Next()
{
    if (m_position + 1 >= Count())
        return false;
    GoTo(m_position + 1);
    return true;
}

bool ExamRun::Previous()
{
    if (m_position == 0)
        return false;
    GoTo(m_position - 1);
    return true;
}

void ExamRun::GoTo(int k)
{
    if (!IsEmpty())
        LeaveCurrent();
    m_position = std::clamp(k, 0, std::max(Count() - 1, 0));
}

void ExamRun::LeaveCurrent()
{
    const std::int64_t now = ElapsedMs();
    m_questions.at(static_cast<std::size_t>(m_position)).SpentMs += now - m_enteredAt;
    m_enteredAt = now;
}

std::int64_t ExamRun::SpentMs(int k) const
{
    return At(k).SpentMs + (k == m_position ? ElapsedMs() - m_enteredAt : 0);
}

void ExamRun::RecordShown(const Question& record, const AnswerSheet& offered)
{
    ExamQuestion& question = m_questions.at(static_cast<std::size_t>(m_position));
    question.Record = record;
    if (question.Shown)
        return;
    question.Shown = true;
    question.Sheet = offered;
    question.Sheet.Ticked.fill(false);
    question.Sheet.Chosen.fill(-1);
}

Replacement ExamRun::ReplaceCurrent()
{
    const auto current = m_questions.begin() + m_position;
    m_dropped.push_back(current->FileName);
    if (!m_undrawn.empty()) {
        *current = ExamQuestion();
        current->FileName = DrawUndrawn();
        m_enteredAt = ElapsedMs();
        return Replacement::Replaced;
    }
    m_questions.erase(current);
    m_position = std::clamp(m_position, 0, std::max(Count() - 1, 0));
    m_enteredAt = ElapsedMs();
    return Replacement::Shrunk;
}

bool ExamRun::Toggle(int n)
{
    AnswerSheet& sheet = m_questions.at(static_cast<std::size_t>(m_position)).Sheet;
    if (Finished())
        return n >= 1 && n <= sheet.Answers && sheet.IsTicked(n);
    return sheet.Toggle(n);
}

void ExamRun::Choose(int list, int position)
{
    if (!Finished())
        m_questions.at(static_cast<std::size_t>(m_position)).Sheet.Choose(list, position);
}

std::int64_t ExamRun::ElapsedMs() const
{
    if (m_elapsedAtEnd)
        return *m_elapsedAtEnd;
    return std::clamp<std::int64_t>(m_clock() - m_start, 0, LimitMs());
}

bool ExamRun::TimeIsUp() const
{
    return ElapsedMs() >= LimitMs();
}

void ExamRun::Finish()
{
    if (m_finished)
        return;
    if (!IsEmpty())
        LeaveCurrent();
    m_finished = true;
    m_elapsedAtEnd = ElapsedMs();
}

Verdict ExamRun::VerdictOf(int k) const
{
    const ExamQuestion& question = At(k);
    if (!question.Shown)
        return Verdict::Wrong;
    return Judge(question.Record, question.Sheet).verdict;
}

int ExamRun::AnsweredCount() const
{
    int answered = 0;
    for (int k = 0; k < Count(); ++k)
        answered += IsAnswered(k);
    return answered;
}

int ExamRun::Score() const
{
    int score = 0;
    for (int k = 0; k < Count(); ++k)
        score += VerdictOf(k) == Verdict::Good;
    return score;
}

int ExamRun::Percent() const
{
    return IsEmpty() ? 0 : Score() * 100 / Count();
}

std::string ExamRun::ChosenText(int k) const
{
    return ChosenAnswersText(At(k).Record, At(k).Sheet);
}

std::string ExamRun::RightText(int k) const
{
    return RightAnswersText(At(k).Record, At(k).Sheet);
}

std::string RemainingTimeText(std::int64_t remainingMs)
{
    const std::int64_t seconds = (std::max<std::int64_t>(remainingMs, 0) + 999) / 1000;
    return "Pozosta\xC5\x82o: " + DurationText(seconds);
}

bool InLastFiveMinutes(std::int64_t remainingMs)
{
    return remainingMs <= 5 * 60'000;
}

} // namespace zdawnik
