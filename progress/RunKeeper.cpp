#include "progress/RunKeeper.h"

namespace zdawnik {

RunKeeper::RunKeeper(const QString& stateDir, std::string bankPath) : m_store(stateDir, std::move(bankPath))
{
}

RunKeeper::~RunKeeper() = default;

RunKeeper::Access RunKeeper::Open()
{
    return m_store.Open();
}

RunKeeper::Loaded RunKeeper::Load()
{
    Loaded loaded = m_store.LoadRun();
    m_offered.reset();
    if (loaded.found == Found::Record && !loaded.record.Finished)
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

void RunKeeper::RunBegun(const DrillRun& run, bool continuing, SittingKind kind)
{
    m_kind = kind;
    m_runToKeep = kind == SittingKind::Drill && continuing && m_offered;
    m_finishKept = false;
    m_sittingStartSeconds = run.Figures().StudySeconds;
    m_store.BeginSitting(kind, QDateTime::currentDateTimeUtc());
}

std::unique_ptr<RunChange> RunKeeper::Change(const DrillRun& run, const CheckStep* step) const
{
    const StudyPool* pool = run.Pool();
    // A store that could not write before tries again; only another window's hold on the bank keeps
    // this one from writing the run.
    if (!pool || m_kind != SittingKind::Drill || m_finishKept || !m_runToKeep ||
        m_store.access() == Access::HeldByAnother)
        return nullptr;
    const DrillFigures& figures = run.Figures();
    auto change = std::make_unique<RunChange>();
    if (step) {
        const PoolEntry& entry = pool->Pool()[static_cast<std::size_t>(pool->CurrentEntry())];
        change->Question = QuestionProgress{entry.FileName, entry.Repeats, step->Mastered};
    } else if (pool->CurrentEntry() >= 0) {
        // A question shown and not checked yet has had a showing taken off.
        change->Question = pool->Progress()[static_cast<std::size_t>(pool->CurrentEntry())];
    }
    change->Answers = figures.Answers;
    change->GoodAnswers = figures.GoodAnswers;
    change->StudySeconds = figures.StudySeconds;
    change->Finished = pool->MasteredCount() == static_cast<int>(pool->Pool().size());
    change->SavedAt = QDateTime::currentDateTimeUtc();
    change->Mastered = pool->MasteredCount();
    const std::string bankPath = m_store.bankPath();
    change->WholeRun = [pool, figures, finished = change->Finished, savedAt = change->SavedAt, bankPath] {
        RunRecord record;
        record.BankPath = bankPath;
        record.SavedAt = savedAt;
        record.Finished = finished;
        record.StudySeconds = figures.StudySeconds;
        record.Answers = figures.Answers;
        record.GoodAnswers = figures.GoodAnswers;
        record.Questions = pool->Progress();
        return record;
    };
    return change;
}

RunKeeper::Kept RunKeeper::KeepCheck(const DrillRun& run, const CheckStep& step)
{
    if (!run.Pool())
        return {};
    m_runToKeep = true; // a fresh run replaces the kept one at its first check
    const std::unique_ptr<RunChange> change = Change(run, &step);
    AnswerEntry answer;
    answer.FileName = run.CurrentFileName();
    answer.At = QDateTime::currentDateTimeUtc();
    answer.Judged = step.Judged.verdict;
    answer.Seconds = step.SecondsOnQuestion;
    answer.Chosen = ChosenAnswersText(run.CurrentQuestion(), run.Sheet());
    answer.Correct = RightAnswersText(run.CurrentQuestion(), run.Sheet());
    answer.SittingStudySeconds = run.Figures().StudySeconds - m_sittingStartSeconds;
    Kept kept;
    const bool written = m_store.RecordCheck(answer, change.get(), kept.Error);
    kept.Written = change != nullptr || !written;
    // The time of the last mastering and the time it took stay as they were at that check.
    if (written && change)
        m_finishKept = change->Finished;
    return kept;
}

RunKeeper::Kept RunKeeper::KeepClose(const DrillRun& run)
{
    const std::unique_ptr<RunChange> change = Change(run, nullptr);
    Kept kept;
    const bool written =
        m_store.EndSitting(QDateTime::currentDateTimeUtc(),
                           run.Figures().StudySeconds - m_sittingStartSeconds, change.get(), kept.Error);
    kept.Written = change != nullptr || !written;
    return kept;
}

} // namespace zdawnik
