#pragma once

#include "progress/HistoryStore.h"

#include <QString>

#include <memory>
#include <string>

#include "drill/DrillRun.h"

namespace zdawnik {

// The rules of the run kept on one bank between sittings, and of the history of its answers: which kept
// run the start panel offers, what going on with it restores, when a fresh run replaces it (at its
// first check, so that a start by mistake loses nothing), that a finished run is kept once, as it was at
// its last mastering, and that a drill of chosen questions leaves the kept run alone. Every check is
// kept in the history, with the run's change when there is one.
class RunKeeper
{
public:
    using Access = HistoryStore::Access;
    using Found = HistoryStore::Found;
    using Loaded = HistoryStore::Loaded;

    // What keeping came to: whether the bank's kept run was part of the write (or the write failed),
    // and why it failed; empty when it did not.
    struct Kept
    {
        bool Written = false;
        QString Error;
    };

    // bankPath: the bank's canonical path, as the system's bytes.
    RunKeeper(const QString& stateDir, std::string bankPath);
    ~RunKeeper();
    RunKeeper(const RunKeeper&) = delete;
    RunKeeper& operator=(const RunKeeper&) = delete;

    Access Open();
    Access access() const { return m_store.access(); }
    // The start panel's line when the database had to be set aside; empty otherwise.
    QString DatabaseNotice() const { return m_store.databaseNotice(); }
    // Reads the kept run; an unfinished one is offered to go on with.
    Loaded Load();

    // The unfinished run the start panel offers, or null.
    const RunRecord* OfferedRun() const { return m_offered.get(); }
    // The figures going on with the offered run restores.
    static DrillFigures FiguresOf(const RunRecord& record);

    // A run has begun, over the run's pool as it is now: taken up from the offered run, or fresh. A
    // drill of chosen questions (SittingKind::Hardest) is kept in the history only.
    void RunBegun(const DrillRun& run, bool continuing, SittingKind kind = SittingKind::Drill);
    // Keeps a check: the answer in the history, and the kept run's change.
    Kept KeepCheck(const DrillRun& run, const CheckStep& step);
    // Keeps the end of the sitting when the window closes: its clock, and the kept run's.
    Kept KeepClose(const DrillRun& run);

    HistoryStore& Store() { return m_store; }
    const std::string& bankPath() const { return m_store.bankPath(); }

private:
    // The kept run's change after a check (with its question) or at the close; null when the kept run
    // is not to be written.
    std::unique_ptr<RunChange> Change(const DrillRun& run, const CheckStep* step) const;

    HistoryStore m_store;
    std::unique_ptr<RunRecord> m_offered;
    SittingKind m_kind = SittingKind::Drill;
    bool m_runToKeep = false;
    bool m_finishKept = false;
    // The run's study time when the sitting began: the sitting's own clock starts there.
    std::int64_t m_sittingStartSeconds = 0;
};

} // namespace zdawnik
