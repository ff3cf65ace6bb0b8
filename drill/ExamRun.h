#pragma once

#include "bank/Question.h"
#include "drill/DrillRun.h"
#include "drill/ExamSettings.h"
#include "drill/StudyPool.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zdawnik {

class Random;

// One question of an exam: its file, the record read for it once shown, and the answer: what the
// window offered to answer and what the student ticked or chose.
struct ExamQuestion
{
    std::string FileName;
    Question Record;
    bool Shown = false;
    AnswerSheet Sheet;
    // The time the question was on screen before it was last left.
    std::int64_t SpentMs = 0;
};

// What became of a file that could not be shown.
enum class Replacement
{
    Replaced, // another file, not drawn before, took its place
    Shrunk,   // no file was left to draw: the exam has one question fewer
};

// A practice exam: questions drawn at random without repetition, answered in any order and changed
// until the end, scored as the drill would judge them, against a time limit.
class ExamRun
{
public:
    // Milliseconds from any fixed point; it must never go back.
    using Clock = std::function<std::int64_t()>;

    // Draws settings.Questions files (or every file, when the bank has fewer) from bankNames with the
    // program's generator, re-seeded before every draw. The time starts now. Without a clock, the
    // system's steady clock measures the time.
    ExamRun(const ExamSettings& settings, std::vector<std::string> bankNames, Random& random,
            Clock clock = {});

    const ExamSettings& Settings() const { return m_settings; }
    int Count() const { return static_cast<int>(m_questions.size()); }
    bool IsEmpty() const { return m_questions.empty(); }
    const ExamQuestion& At(int k) const { return m_questions.at(static_cast<std::size_t>(k)); }
    const std::vector<ExamQuestion>& Questions() const { return m_questions; }
    // The files dropped because they could not be shown, in the order they were dropped.
    const std::vector<std::string>& Dropped() const { return m_dropped; }

    // The question on screen, from 0.
    int Position() const { return m_position; }
    const ExamQuestion& Current() const { return At(m_position); }
    // Each returns false, and stays, at the end it moves towards.
    bool Next();
    bool Previous();
    void GoTo(int k);

    // The current question's file was read into record, and offered says what the window shows to
    // answer (the answers of a choice question, the lists of a sentence question). Nothing is ticked or
    // chosen at the first showing; a question shown again after "wstecz" keeps what the student chose.
    void RecordShown(const Question& record, const AnswerSheet& offered);
    // The current question's file could not be shown: it is dropped and a file not drawn before takes
    // its place, or, when none is left, the exam shrinks and the position stays in range (it is the
    // next question, or the one before when the last was dropped).
    Replacement ReplaceCurrent();

    // Answering the current question, as in the drill: answer n (1 to the answers shown) ticked or
    // unticked, returning whether it is ticked now; list n (1 to 4) showing the option at position
    // (from 0, -1 for none). Nothing changes once the exam has ended.
    bool Toggle(int n);
    void Choose(int list, int position);

    // Time, in milliseconds. Elapsed time stops when the exam ends, and never passes the limit.
    std::int64_t LimitMs() const { return std::int64_t{m_settings.Minutes} * 60'000; }
    std::int64_t ElapsedMs() const;
    // The time question k has been on screen, all its showings together, the present one included.
    std::int64_t SpentMs(int k) const;
    std::int64_t RemainingMs() const { return LimitMs() - ElapsedMs(); }
    bool TimeIsUp() const;

    // Ends the exam: nothing is answered after it. The time running out ends it as well.
    void Finish();
    bool Finished() const { return m_finished || TimeIsUp(); }

    // The drill's verdict on question k; a question never shown is wrong.
    Verdict VerdictOf(int k) const;
    // Something is ticked, or something chosen in a list in use.
    bool IsAnswered(int k) const { return At(k).Sheet.IsAnswered(); }
    int AnsweredCount() const;
    // Questions whose verdict is Good: partly right answers score nothing.
    int Score() const;
    // The score in percent of the questions, rounded down.
    int Percent() const;
    bool Passed() const { return Percent() >= m_settings.PassMark; }

    // Short texts for the history: the ticked answers ("1,3") or the options chosen in the lists in use
    // ("2,1,3", "0" for a list left without a choice); and the same for the right answers.
    std::string ChosenText(int k) const;
    std::string RightText(int k) const;

private:
    // Re-seeds the generator and takes a name not drawn before at random.
    std::string DrawUndrawn();
    // The current question leaves the screen: its time on screen is added up.
    void LeaveCurrent();

    ExamSettings m_settings;
    Random& m_random;
    Clock m_clock;
    std::int64_t m_start = 0;
    std::optional<std::int64_t> m_elapsedAtEnd;
    // The exam's elapsed time when the current question came on screen.
    std::int64_t m_enteredAt = 0;
    bool m_finished = false;
    std::vector<std::string> m_undrawn;
    std::vector<ExamQuestion> m_questions;
    std::vector<std::string> m_dropped;
    int m_position = 0;
};

// The exam clock: "Pozostało: M:SS", whole seconds rounded up, so it reads 0:00 only when the time is
// up.
std::string RemainingTimeText(std::int64_t remainingMs);
// The last five minutes, when the clock warns.
bool InLastFiveMinutes(std::int64_t remainingMs);

} // namespace zdawnik
