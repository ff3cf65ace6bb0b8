#pragma once

#include "drill/StudyPool.h"
#include "progress/BankLock.h"
#include "progress/HistoryFigures.h"
#include "progress/RunRecord.h"
#include "progress/SqliteDatabase.h"

#include <QDateTime>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zdawnik {

// One answer as the history keeps it.
struct AnswerEntry
{
    std::string FileName; // the question's file name, as the system's bytes
    QDateTime At;
    Verdict Judged = Verdict::Good;
    qint64 Seconds = 0; // spent on the question
    // What was chosen and what was right, as short texts: the ticked answers ("1,3"), or the option
    // picked in each list ("2,1,3").
    std::string Chosen;
    std::string Correct;
    qint64 SittingStudySeconds = 0; // the sitting's clock at the check
};

// What a check, or the end of a sitting, changed in the bank's kept run.
struct RunChange
{
    // The question the check changed, with its new counter and mark; none at the end of a sitting.
    std::optional<QuestionProgress> Question;
    int Answers = 0;
    int GoodAnswers = 0;
    qint64 StudySeconds = 0;
    bool Finished = false;
    QDateTime SavedAt;
    int Mastered = 0;
    // The whole run as it stands, for when the store must write all of it: the first write of a run,
    // which replaces the run kept before, and the write after one that failed.
    std::function<RunRecord()> WholeRun;
};

// The result of an exam, kept with its sitting.
struct ExamFigures
{
    int Questions = 0;
    int PassMark = 0; // percent
    int Score = 0;
    bool Finished = false;
};

// The history of every answer and the kept run of every bank, in one SQLite database in the state
// folder, zdawnik.sqlite. One store serves one bank. Every check is one transaction holding the answer,
// the sitting's figures and the run's change, so the history and the run never disagree and a crash
// leaves the state from before the check or from after it. Only the store that holds the bank's lock
// writes the kept run; any store records answers. The database's own files (its write-ahead log and
// its shared-memory index) and zdawnik.lock are the only files the store makes there.
class HistoryStore
{
public:
    enum class Access
    {
        Writing,          // this store holds the bank's lock: it writes the kept run
        HeldByAnother,    // another window holds it: this one records answers, not the run
        FolderUnwritable, // the state folder cannot be created or written: nothing is kept
    };

    enum class Found
    {
        Nothing, // no run kept for this bank
        Record,  // a run, whole and consistent
        Damaged, // a run that cannot be trusted: never used; when writing, it is dropped
    };

    struct Loaded
    {
        Found found = Found::Nothing;
        RunRecord record;
        QString problem;   // for Damaged: what is wrong with it
        QString keptAside; // for Damaged: the file it was set aside in, if it was a file
        QString notice;    // for Damaged: the start panel's line
    };

    // bankPath: the bank's canonical path, as the system's bytes.
    HistoryStore(const QString& stateDir, std::string bankPath);
    ~HistoryStore();
    HistoryStore(const HistoryStore&) = delete;
    HistoryStore& operator=(const HistoryStore&) = delete;

    // Creates the state folder and the database if need be, takes the bank's lock, brings the database
    // up to this version, sets a damaged database aside and starts a fresh one, and takes in the run
    // files that earlier versions kept.
    Access Open();
    Access access() const { return m_access; }
    // The start panel's line when the database was damaged and set aside at Open; empty otherwise.
    QString databaseNotice() const { return m_notice; }
    // Why the database was set aside, and where it now is.
    QString databaseProblem() const { return m_problem; }
    QString databaseAside() const { return m_aside; }

    Loaded LoadRun();

    // A sitting begins; its row is written with its first answer. A sitting begun also begins a run:
    // the first write of the kept run after it writes the whole run.
    void BeginSitting(SittingKind kind, const QDateTime& start);
    // A fresh run begins within the sitting (the bank mastered and begun again).
    void BeginRun() { m_runWritten = false; }

    // Keeps one check: the answer, the sitting's figures and, given a run, the kept run's change, in
    // one transaction. A write that fails is rolled back, and everything of it is kept in memory and
    // written with the next one; error then says why, as the window shows it after
    // "Postęp nie jest zapisywany: ".
    bool RecordCheck(const AnswerEntry& answer, const RunChange* run, QString& error);
    // Keeps the exam's result with the sitting, and the exam's answers given, all in one transaction.
    // An exam cut short is kept unfinished; kept again, its figures are replaced.
    bool RecordExam(const ExamFigures& exam, const std::vector<AnswerEntry>& answers, QString& error);
    // Ends the sitting when the window closes: its end and clock, and, given a run, the run's clock.
    bool EndSitting(const QDateTime& end, qint64 sittingStudySeconds, const RunChange* run, QString& error);
    // Answers not yet written, for a write that failed.
    int PendingAnswers() const { return int(m_pending.size()); }

    // The history of the bank, read without its lock: another window may be writing meanwhile.
    // Every day with answers, in the user's local calendar, oldest first; a day's study time is the
    // seconds spent on its answers.
    std::vector<DayFigures> Days();
    // Every question answered, most often missed first: wrong and partly right answers, most first;
    // then the share of good answers, least first; then the name.
    std::vector<QuestionFigures> Questions();
    std::vector<SittingFigures> Sittings();
    // The questions answered wrong or partly right in the 14 days before now, at most 30, in the
    // order of Questions().
    std::vector<std::string> QuestionsToDrill(const QDateTime& now);
    // The same choice made from questions read already, in the order of Questions().
    static std::vector<std::string> QuestionsToDrill(const std::vector<QuestionFigures>& questions,
                                                     const QDateTime& now);

    // Where earlier versions kept the run on a bank, as a file of its own, which Open takes in.
    static QString RunFilePath(const QString& stateDir, const std::string& bankPath);

    const std::string& bankPath() const { return m_bankPath; }
    QString stateDir() const { return m_stateDir; }
    QString databasePath() const { return m_databasePath; }

private:
    struct PendingAnswer
    {
        AnswerEntry Answer;
        std::optional<int> Mastered;
    };

    bool OpenDatabase();
    // Whether the state folder and the database file are still those the database was opened in.
    bool StillInPlace() const;
    QString Examine();
    bool SetDatabaseAside(const QString& problem);
    void ImportRunFiles();
    bool ImportRunFile(const QString& path, QString& problem);
    bool OpenForReading();
    std::int64_t BankId(bool create);
    bool Write(const RunChange* run, const QDateTime* end, QString& error);
    void WriteRun(const RunChange& run);
    void WriteWholeRun(const RunRecord& record, std::int64_t bankId);
    std::int64_t QuestionId(std::int64_t bankId, const std::string& name);
    QString ErrorText(const ESqlite& failure) const;

    QString m_stateDir;
    std::string m_bankPath;
    QString m_databasePath;
    BankLock m_lock;
    SqliteDatabase m_db;
    Access m_access = Access::FolderUnwritable;
    QString m_notice;
    QString m_problem;
    QString m_aside;
    // This bank's run file of an earlier version, found damaged at the import.
    QString m_importProblem;
    QString m_importAside;
    std::int64_t m_bankId = 0;
    // Which folder the database was opened in.
    std::optional<std::string> m_folderIdentity;

    // The sitting under way; its row is written with its first answer.
    SittingKind m_sittingKind = SittingKind::Drill;
    QDateTime m_sittingStart;
    bool m_sittingBegun = false;
    std::int64_t m_sittingId = 0;
    int m_sittingAnswers = 0;
    int m_sittingGoodAnswers = 0;
    qint64 m_sittingStudySeconds = 0;
    std::optional<int> m_masteredAfter;
    std::optional<ExamFigures> m_exam;
    std::vector<PendingAnswer> m_pending;
    // Whether this run has been written whole since it began; until then a change writes it whole.
    bool m_runWritten = false;
};

} // namespace zdawnik
