#pragma once

#include "progress/ProgressStore.h"

#include <QString>

#include <memory>
#include <string>
#include <vector>

#include "drill/DrillRun.h"

namespace zdawnik {

class RunRecordWriter;

// The rules of the run kept on one bank between sittings: which kept run the start panel offers, what
// going on with it restores, when a fresh run replaces it (at its first check, so that a start by
// mistake loses nothing), and that a finished run is kept once, as it was at its last mastering.
class RunKeeper
{
public:
    // What keeping the run came to.
    struct Kept
    {
        bool Written = false; // the run was written, or failed to be
        QString Error;        // why it could not be written; empty when it was
    };

    // bankPath: the bank's canonical path, as the system's bytes.
    RunKeeper(const QString& stateDir, std::string bankPath);
    ~RunKeeper();
    RunKeeper(const RunKeeper&) = delete;
    RunKeeper& operator=(const RunKeeper&) = delete;

    ProgressStore::Access Open();
    ProgressStore::Access access() const;
    // Reads the kept run; an unfinished one is offered to go on with.
    ProgressStore::Loaded Load();

    // The unfinished run the start panel offers, or null.
    const RunRecord* OfferedRun() const { return m_offered.get(); }
    // The figures going on with the offered run restores.
    static DrillFigures FiguresOf(const RunRecord& record);

    // The run has begun, over the pool it holds now: taken up from the offered run, or fresh.
    void RunBegun(const StudyPool& pool, bool continuing);
    // Keeps the run after a check, or when the window closes.
    Kept Keep(const StudyPool& pool, const DrillFigures& figures, bool afterCheck);

    const std::string& bankPath() const;

private:
    std::unique_ptr<ProgressStore> m_store;
    std::unique_ptr<RunRecord> m_offered;
    std::unique_ptr<RunRecordWriter> m_writer;
    bool m_runToKeep = false;
    bool m_finishKept = false;
};

} // namespace zdawnik
