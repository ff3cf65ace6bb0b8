#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zdawnik {

class Random;

// One question file of the bank and the showings it still has due.
struct PoolEntry
{
    std::string FileName;
    int Repeats = 3;
};

// A question's place in a run, as a later sitting takes it up: its counter, and whether it is mastered.
struct QuestionProgress
{
    std::string FileName;
    int Repeats = 3;
    bool Mastered = false;
};

// How the bank changed between two sittings of one run.
struct BankChanges
{
    int Added = 0;   // question files that are new: they start at 3, pending
    int Removed = 0; // questions whose file is gone: dropped
};

enum class Verdict
{
    Good,
    Partial,
    Wrong,
};

// Showings every question starts with, and the showings a partly right or wrong answer adds.
inline constexpr int InitialRepeats = 3;
inline constexpr int RepeatsAfterMistake = 3;

// The bare names of the question files in bankDir, in the order the system lists them: every entry
// whose name ends in ".txt" without regard to case, hidden files and sub-directories included. A
// missing or unreadable directory gives an empty list.
std::vector<std::string> ScanBank(const std::filesystem::path& bankDir);

// True when name ends in ".txt", without regard to case.
bool IsQuestionFileName(std::string_view name);

// The memory of one study run: the questions of the bank with their counters, the questions not
// yet mastered, and the one being shown.
class StudyPool
{
public:
    explicit StudyPool(Random& random) : m_random(random) {}

    // Takes the names of a bank scan (at least one): every counter at 3, every question pending.
    int BuildPool(std::vector<std::string> names);

    // Takes the names of a bank scan (at least one) and the progress an earlier sitting left: a
    // question found in both keeps its counter and stays mastered or pending, a new one starts at 3
    // and is pending, one whose file is gone is dropped. The pool keeps the order of the scan.
    BankChanges RestorePool(std::vector<std::string> names, const std::vector<QuestionProgress>& earlier);

    // Every question's counter and whether it is mastered, in pool order.
    std::vector<QuestionProgress> Progress() const;
    // Sets marks to one mark per question in pool order: 1 for a question not mastered, pending or
    // set aside (a question set aside was never mastered: a later sitting offers it again), 0 for a
    // mastered one. The caller's vector is reused.
    void MarkNotMastered(std::vector<char>& marks) const;

    int PendingCount() const { return static_cast<int>(m_pendingList.size()); }

    // Re-seeds the generator and picks a pending question at random; returns its pool index.
    int DrawQuestion();

    // Takes one showing off the current question; returns the showings still due. A counter never
    // goes below zero.
    int MarkShown();

    // Applies a verdict to the current question's counter; returns true when the question is now
    // mastered (it has then left the pending list).
    bool ApplyVerdict(Verdict verdict);

    // Takes the current question out of the pending list without mastering it, because its file could
    // not be shown. Its counter stays as it is, so a later sitting offers it again.
    void SetAsideCurrent();
    // The questions set aside during this run, by pool index, in the order they were set aside.
    const std::vector<int>& SetAside() const { return m_setAside; }

    const std::vector<PoolEntry>& Pool() const { return m_pool; }
    const std::vector<int>& PendingList() const { return m_pendingList; }
    int CurrentPending() const { return m_currentPending; }
    int CurrentEntry() const { return m_currentEntry; }
    int MasteredCount() const { return CountedQuestions() - PendingCount(); }
    // The questions this run can master: all but those set aside.
    int CountedQuestions() const { return static_cast<int>(m_pool.size() - m_setAside.size()); }

private:
    Random& m_random;
    std::vector<PoolEntry> m_pool;
    std::vector<int> m_pendingList;
    std::vector<int> m_setAside;
    int m_currentPending = -1;
    int m_currentEntry = -1;
};

} // namespace zdawnik
