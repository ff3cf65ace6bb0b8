#include "progress/RunKeeper.h"

#include "progress/RunRecordWriter.h"

namespace zdawnik {

RunKeeper::RunKeeper(const QString& stateDir, std::string bankPath)
    : m_store(std::make_unique<ProgressStore>(stateDir, std::move(bankPath)))
{
}

RunKeeper::~RunKeeper() = default;

ProgressStore::Access RunKeeper::Open()
{
    return m_store->Open();
}

ProgressStore::Access RunKeeper::access() const
{
    return m_store->access();
}

const std::string& RunKeeper::bankPath() const
{
    return m_store->bankPath();
}

ProgressStore::Loaded RunKeeper::Load()
{
    ProgressStore::Loaded loaded = m_store->Load();
    m_offered.reset();
    if (loaded.found == ProgressStore::Found::Record && !loaded.record.Finished)
        m_offered = std::make_unique<RunRecord>(loaded.record);
    return loaded;
}

DrillFigures RunKeeper::FiguresOf(const RunRecord& record)
{
    DrillFigures figures;
    figures.Answers = record.Answers;
    figures.GoodAnswers = record.GoodAnswers;
    figures.StudySeconds = record.StudySeconds;
    return figures;
}

void RunKeeper::RunBegun(const StudyPool& pool, bool continuing)
{
    m_writer.reset(); // it writes the names of the pool it was made for
    m_runToKeep = continuing && m_offered;
    m_finishKept = false;
    // The run's questions are fixed from here on: the writer makes their text now, so that every save
    // after a check costs the same.
    if (m_store->access() == ProgressStore::Access::Writing)
        m_writer = std::make_unique<RunRecordWriter>(pool);
}

RunKeeper::Kept RunKeeper::Keep(const StudyPool& pool, const DrillFigures& figures, bool afterCheck)
{
    if (m_finishKept)
        return {};
    m_runToKeep = m_runToKeep || afterCheck;
    if (!m_runToKeep || !m_writer)
        return {}; // nothing to keep yet, or this window does not write the bank's run
    RunRecord record;
    record.BankPath = m_store->bankPath();
    record.SavedAt = QDateTime::currentDateTimeUtc();
    record.Finished = pool.MasteredCount() == static_cast<int>(pool.Pool().size());
    record.StudySeconds = figures.StudySeconds;
    record.Answers = figures.Answers;
    record.GoodAnswers = figures.GoodAnswers;
    Kept kept;
    kept.Written = true;
    if (!m_store->Save(m_writer->Encode(record), kept.Error))
        return kept;
    // The time of the last mastering and the time it took stay as they were at that check.
    m_finishKept = record.Finished;
    return kept;
}

} // namespace zdawnik
