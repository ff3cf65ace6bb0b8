#pragma once

#include "bank/Question.h"
#include "drill/Random.h"
#include "drill/StudyPool.h"
#include "drill/Verdict.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zdawnik {

// Where a run stands: before its start, after a start on a bank without questions, a question waiting
// for its check, a question checked and waiting for "dalej", and every question mastered.
enum class DrillPhase
{
    Welcome,
    EmptyBank,
    Asking,
    Answered,
    Finished,
};

// The figures of a run: what the information panel, its gauges and the clock show.
struct DrillFigures
{
    int Answers = 0;     // answers judged
    int GoodAnswers = 0; // judged right
    int Mastered = 0;
    int Total = 0; // question files of the run
    std::int64_t StudySeconds = 0;
};

// What the user has ticked or chosen for the question on screen.
struct AnswerSheet
{
    // The answers a choice question shows; only those can be ticked.
    int Answers = 0;
    std::array<bool, MaxAnswers> Ticked{};
    // The lists a sentence question uses, and the position (from 0, -1 for none) each shows.
    std::array<bool, MaxLists> ListInUse{};
    std::array<int, MaxLists> Chosen{-1, -1, -1, -1};
    // The options of each list in use, in the question's encoding.
    std::array<std::vector<std::string>, MaxLists> Options;

    void Clear() { *this = AnswerSheet(); }
    bool IsTicked(int n) const { return Ticked[static_cast<std::size_t>(n - 1)]; }
    // Ticks or unticks answer n; returns whether it is now ticked. An answer not on screen stays
    // unticked.
    bool Toggle(int n);
    // List n (from 1) now shows the option at position (from 0, -1 for none).
    void Choose(int list, int position);
    // The choices of the lists in use; nothing for the others.
    std::array<std::optional<int>, MaxLists> ChosenInUse() const;
    // The text of the option at position (from 0) of list n (from 1); empty for none.
    const std::string& OptionText(int n, int position) const;
    // The text of the option list n shows; empty for none.
    const std::string& ChosenText(int n) const
    {
        return OptionText(n, Chosen[static_cast<std::size_t>(n - 1)]);
    }
    // Whether anything is ticked or chosen.
    bool IsAnswered() const;
};

// A question file set aside for the sitting, and why it could not be shown.
struct SetAsideFile
{
    std::string FileName;
    std::string Reason;
};

// Why a file the reader read without a report is not shown, in the window's words (UTF-8): it is empty,
// or it has more lines than a question may have.
std::string NotShownReason(int lineCount);

// The judgement of the answer on the sheet, by the question's kind.
Judgement Judge(const Question& question, const AnswerSheet& sheet);

// A span of time as the exam and the statistics write it: "M:SS", or "H:MM:SS" above an hour.
std::string DurationText(std::int64_t seconds);

// Short texts of an answer, for the history: the ticked answers of a choice question ("1,3"), or the
// option chosen in each list in use, counted from 1 ("2,1,3", "0" for a list left without a choice);
// and the same of the right answers.
std::string ChosenAnswersText(const Question& question, const AnswerSheet& sheet);
std::string RightAnswersText(const Question& question, const AnswerSheet& sheet);

// What showing a drawn file came to.
struct ShowOutcome
{
    bool Shown = false;
    // Why not, in the reader's words.
    std::string Reason;
};

// What the next action leaves on screen.
struct NextStep
{
    DrillPhase Phase = DrillPhase::Finished; // Asking, or Finished with nothing pending
    // The showings the question still has due after this one.
    int RepeatsLeft = 0;
    // A choice question with two or more right answers: the hint says to tick at least one.
    bool SeveralRight = false;
    // Files set aside on the way to this question.
    int SetAside = 0;
};

// What a check leaves on screen.
struct CheckStep
{
    Judgement Judged;
    bool Mastered = false;
    // The study seconds from the question's showing to its check.
    std::int64_t SecondsOnQuestion = 0;
};

// One run over a bank, without a window: the phase, the pool and its generator, the question on
// screen and the answer sheet, and the figures. The window performs its operations and shows what
// they return; a statistics window or a test can drive the same run.
class DrillRun
{
public:
    // Reads the file of that name into CurrentQuestion() and shows it.
    using ShowFile = std::function<ShowOutcome(const std::string& fileName)>;

    explicit DrillRun(Random::Clock clock = {});

    DrillPhase Phase() const { return m_phase; }
    // Whether the start action has happened: it happens once a run.
    bool Started() const { return m_phase != DrillPhase::Welcome; }

    // The start action over the names of a bank scan: every question at three showings. Without names
    // the run ends in EmptyBank. Returns the number of questions.
    int Begin(std::vector<std::string> names);
    // The start action that goes on with a kept run: counters and figures as they were, over the bank
    // as it is now.
    BankChanges Restore(std::vector<std::string> names, const std::vector<QuestionProgress>& earlier,
                        const DrillFigures& kept);

    // The next action: draws pending questions until one can be shown, setting aside those that
    // cannot; with nothing pending the run is finished.
    NextStep Next(const ShowFile& show);
    // Ticks or unticks answer n of the choice question on screen; returns whether it is now ticked.
    // An answer that is not on screen stays unticked.
    bool Toggle(int n);
    // List n (from 1) now shows the option at position (from 0, -1 for none).
    void Choose(int list, int position);
    // Judges the answer on the sheet, applies the verdict to the pool and the figures.
    CheckStep Check();
    // The study clock measures the time that passes, from a clock of milliseconds that never goes
    // back: it starts with the run, and each tick shows what has passed since, a freeze included.
    void StartClock(std::int64_t nowMs);
    std::int64_t Tick(std::int64_t nowMs);
    bool ClockRunning() const { return m_clockRunning; }

    // The question drawn last, and whether it was read and shown whole: only then can it be checked.
    Question& CurrentQuestion() { return m_question; }
    const Question& CurrentQuestion() const { return m_question; }
    bool QuestionRead() const { return m_questionRead; }
    const std::string& CurrentFileName() const;

    AnswerSheet& Sheet() { return m_sheet; }
    const AnswerSheet& Sheet() const { return m_sheet; }
    const DrillFigures& Figures() const { return m_figures; }
    // The pool, once the run has begun; null before.
    const StudyPool* Pool() const { return m_pool.get(); }
    int PendingCount() const { return m_pool ? m_pool->PendingCount() : 0; }
    const std::vector<SetAsideFile>& SetAsideFiles() const { return m_setAside; }
    // The program's one generator, which also shuffles the answers.
    Random& Generator() { return m_random; }

private:
    Random m_random;
    std::unique_ptr<StudyPool> m_pool;
    DrillPhase m_phase = DrillPhase::Welcome;
    Question m_question;
    bool m_questionRead = false;
    AnswerSheet m_sheet;
    DrillFigures m_figures;
    // The study clock when the question on screen was shown.
    std::int64_t m_shownAt = 0;
    // The study time and the clock's reading when the clock started.
    std::int64_t m_clockBase = 0;
    std::int64_t m_clockStartMs = 0;
    bool m_clockRunning = false;
    std::vector<SetAsideFile> m_setAside;
};

} // namespace zdawnik
