#include "progress/HistoryStore.h"

#include "base/Platform.h"
#include "progress/FileNameText.h"
#include "progress/HistorySchema.h"
#include "progress/RunRecordFormat.h"
#include "progress/StateFiles.h"

#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <chrono>
#include <nlohmann/json.hpp>
#include <sqlite3.h>
#include <thread>
#include <unordered_map>

namespace zdawnik {

namespace {

const char DatabaseName[] = "zdawnik.sqlite";
const char LockName[] = "zdawnik.lock";
// Long enough for another window's check, which takes milliseconds, even on a slow disk.
constexpr int BusyMilliseconds = 10'000;
constexpr qint64 MillisecondsPerDay = 24LL * 3600 * 1000;
constexpr int DrillDays = 14;
constexpr int DrillQuestions = 30;

const QString DamagedDatabaseNotice = QStringLiteral(
    "Bazy postępów nie udało się odczytać (plik odłożono z końcówką .damaged) – zaczęto nową.");
const QString DamagedRunFileNotice =
    QStringLiteral("Zapisanego postępu nie udało się odczytać (plik odłożono z końcówką .damaged) – "
                   "można zacząć naukę od nowa.");
const QString DamagedRunNotice =
    QStringLiteral("Zapisanego postępu nie udało się odczytać – można zacząć naukę od nowa.");

// The name of a bank's run file of earlier versions: the first 128 bits of the SHA-256 of its path.
QString RunFileStem(const std::string& bankPath)
{
    const QByteArray hash =
        QCryptographicHash::hash(QByteArray::fromStdString(bankPath), QCryptographicHash::Sha256);
    return QString::fromLatin1(hash.left(16).toHex());
}

std::int64_t Milliseconds(const QDateTime& time)
{
    return time.isValid() ? time.toMSecsSinceEpoch() : 0;
}

QDateTime TimeOf(std::int64_t milliseconds)
{
    return QDateTime::fromMSecsSinceEpoch(milliseconds, Qt::UTC);
}

int VerdictCode(Verdict verdict)
{
    switch (verdict) {
    case Verdict::Good:
        return 0;
    case Verdict::Partial:
        return 1;
    case Verdict::Wrong:
        break;
    }
    return 2;
}

// Reads no more of a run file than its bank's path: the record is then read whole, for that bank.
class BankPeek
{
public:
    std::optional<std::string> Bank;

    bool null() { return true; }
    bool boolean(bool) { return true; }
    bool number_integer(std::int64_t) { return true; }
    bool number_unsigned(std::uint64_t) { return true; }
    bool number_float(double, const std::string&) { return true; }
    bool binary(nlohmann::json::binary_t&) { return true; }
    bool string(std::string& value)
    {
        if (m_depth == 1 && m_bankNext)
            Bank = FileNameFromText(value);
        return !(m_depth == 1 && m_bankNext);
    }
    bool key(std::string& name)
    {
        m_bankNext = m_depth == 1 && name == recordformat::Bank;
        return true;
    }
    bool start_object(std::size_t) { return ++m_depth, true; }
    bool end_object() { return --m_depth, true; }
    bool start_array(std::size_t) { return ++m_depth, true; }
    bool end_array() { return --m_depth, true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::json::exception&) { return false; }

private:
    int m_depth = 0;
    bool m_bankNext = false;
};

// A name the bank scan could list: one question file directly in the bank folder.
bool IsBareQuestionFileName(const std::string& name)
{
#ifdef _WIN32
    const char* never = "/\\:";
#else
    const char* never = "/";
#endif
    return IsQuestionFileName(name) && name.find_first_of(never) == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// The checks of a kept run read back: the same promises a run file's reader keeps.
QString RunProblem(const RunRecord& record)
{
    if (record.Questions.empty())
        return QStringLiteral("a bank of no questions");
    if (record.Questions.size() > std::size_t(MaxRecordQuestions))
        return QStringLiteral("more than %1 questions").arg(MaxRecordQuestions);
    if (record.StudySeconds < 0 || record.StudySeconds > MaxRecordStudySeconds)
        return QStringLiteral("a study clock of %1 seconds").arg(record.StudySeconds);
    if (record.Answers < 0 || record.Answers > MaxRecordAnswers || record.GoodAnswers < 0 ||
        record.GoodAnswers > record.Answers)
        return QStringLiteral("%1 good answers of %2").arg(record.GoodAnswers).arg(record.Answers);
    if (!record.SavedAt.isValid() || record.SavedAt.date().year() < 1 || record.SavedAt.date().year() > 9999)
        return QStringLiteral("the time of saving is no date");
    int mastered = 0;
    for (const QuestionProgress& question : record.Questions) {
        if (!IsBareQuestionFileName(question.FileName))
            return QStringLiteral("\"%1\" is no question file name in a bank")
                .arg(QString::fromStdString(question.FileName));
        if (question.Repeats < 0 || question.Repeats > MaxRecordRepeats)
            return QStringLiteral("a counter of %1").arg(question.Repeats);
        if (question.Mastered && question.Repeats != 0)
            return QStringLiteral("\"%1\" is mastered with showings still due")
                .arg(QString::fromStdString(question.FileName));
        mastered += question.Mastered;
    }
    if (mastered > record.GoodAnswers)
        return QStringLiteral("more questions mastered than answers right");
    if (record.Finished != (std::size_t(mastered) == record.Questions.size()))
        return record.Finished ? QStringLiteral("finished with questions pending")
                               : QStringLiteral("every question mastered, yet not finished");
    return {};
}

// Every question of a bank with the figures of its answers: the index of the answers by question
// holds all they need, so the table itself is not read.
constexpr char QuestionFiguresQuery[] =
    "SELECT q.name, count(*), sum(a.verdict = 2), sum(a.verdict = 1), sum(a.verdict = 0), "
    "max(CASE WHEN a.verdict <> 0 THEN a.at END) AS last_missed FROM questions q "
    "JOIN answers a ON a.question = q.id WHERE q.bank = ?1 GROUP BY q.id";
// Most often missed first: wrong and partly right answers, most first; the share of good answers,
// least first; the name.
constexpr char QuestionOrder[] =
    " ORDER BY sum(a.verdict <> 0) DESC, CAST(sum(a.verdict = 0) AS REAL) / count(*), q.name";

bool IsBusy(int code)
{
    return (code & 0xFF) == SQLITE_BUSY || (code & 0xFF) == SQLITE_LOCKED;
}

// An integer column within its range, or the reason it is not.
bool ReadCount(const SqliteStatement& row, int column, std::int64_t highest, std::int64_t& value)
{
    if (!row.IsInteger(column))
        return false;
    value = row.Integer(column);
    return value >= 0 && value <= highest;
}

} // namespace

HistoryStore::HistoryStore(const QString& stateDir, std::string bankPath)
    : m_stateDir(stateDir), m_bankPath(std::move(bankPath)),
      m_databasePath(QDir(stateDir).filePath(QLatin1String(DatabaseName))),
      m_lock(QDir(stateDir).filePath(QLatin1String(LockName)), m_bankPath)
{
}

HistoryStore::~HistoryStore() = default;

QString HistoryStore::RunFilePath(const QString& stateDir, const std::string& bankPath)
{
    return QDir(stateDir).filePath(RunFileStem(bankPath) + QStringLiteral(".json"));
}

HistoryStore::Access HistoryStore::Open()
{
    if (m_db.IsOpen() && m_access != Access::FolderUnwritable)
        return m_access;
    m_db.Close();
    if (!QDir().mkpath(m_stateDir))
        return m_access = Access::FolderUnwritable;
    switch (m_lock.TryLock()) {
    case BankLock::Result::Taken:
        m_access = Access::Writing;
        break;
    case BankLock::Result::Held:
        m_access = Access::HeldByAnother;
        break;
    case BankLock::Result::Failed:
        return m_access = Access::FolderUnwritable;
    }
    if (!OpenDatabase()) {
        m_db.Close();
        m_lock.Unlock();
        return m_access = Access::FolderUnwritable;
    }
    m_folderIdentity = platform::DirectoryIdentity(QFile::encodeName(m_stateDir).toStdString());
    ImportRunFiles();
    return m_access;
}

bool HistoryStore::StillInPlace() const
{
    return platform::DirectoryIdentity(QFile::encodeName(m_stateDir).toStdString()) == m_folderIdentity &&
           KindOfFile(m_databasePath) == FileKind::Regular;
}

bool HistoryStore::OpenDatabase()
{
    if (KindOfFile(m_databasePath) == FileKind::Other &&
        !SetDatabaseAside(QStringLiteral("not a regular file")))
        return false;
    // The log and the index belong to the database beside them; under their names, anything else is
    // taken away before SQLite opens them.
    for (const char* companion : {"-wal", "-shm"})
        if (KindOfFile(m_databasePath + QLatin1String(companion)) == FileKind::Other)
            QFile::remove(m_databasePath + QLatin1String(companion));

    if (m_db.Open(m_databasePath, true, BusyMilliseconds) != SQLITE_OK) {
        if (KindOfFile(m_databasePath) != FileKind::Other ||
            !SetDatabaseAside(QStringLiteral("not a regular file")))
            return false;
        if (m_db.Open(m_databasePath, true, BusyMilliseconds) != SQLITE_OK)
            return false;
    }
    // A database another window is creating or bringing up at the same moment answers busy, at times
    // without waiting for it: the steps are tried again until the wait is over.
    QElapsedTimer waited;
    waited.start();
    const auto waitMore = [&waited] {
        if (waited.elapsed() > BusyMilliseconds)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return true;
    };
    QString problem;
    while ((problem = Examine()) == QLatin1String("busy"))
        if (!waitMore())
            return false;
    if (!problem.isEmpty()) {
        m_db.Close();
        if (!SetDatabaseAside(problem) || m_db.Open(m_databasePath, true, BusyMilliseconds) != SQLITE_OK)
            return false;
    }
    for (;;) {
        try {
            if (m_db.QueryText("PRAGMA journal_mode = WAL") != "wal")
                return false;
            // Every check reaches the disk before it counts as kept: a power cut loses no answer either.
            m_db.Execute("PRAGMA synchronous = FULL; PRAGMA foreign_keys = ON");
            MigrateSchema(m_db, SchemaSteps());
            return true;
        } catch (const ESqlite& failure) {
            if (!IsBusy(failure.code()) || !waitMore())
                return false;
        }
    }
}

QString HistoryStore::Examine()
{
    try {
        const std::int64_t application = m_db.QueryInteger("PRAGMA application_id");
        const std::int64_t version = m_db.QueryInteger("PRAGMA user_version");
        const std::int64_t objects = m_db.QueryInteger("SELECT count(*) FROM sqlite_schema");
        if (application == 0 && version == 0 && objects == 0)
            return {}; // a new, empty database
        if (application != HistoryApplicationId)
            return QStringLiteral("not a database of this program");
        if (version > CurrentSchemaVersion())
            return QStringLiteral("written by a newer version of the program (layout %1, this one reads %2)")
                .arg(version)
                .arg(CurrentSchemaVersion());
        if (version >= 1 &&
            m_db.QueryInteger("SELECT count(*) FROM sqlite_schema WHERE type = 'table' AND name IN "
                              "('banks', 'questions', 'sittings', 'answers', 'runs', "
                              "'run_questions')") != 6)
            return QStringLiteral("tables of the history are missing");
        if (const std::string check = m_db.QueryText("PRAGMA quick_check"); check != "ok")
            return QStringLiteral("fails its quick check: %1").arg(QString::fromStdString(check));
    } catch (const ESqlite& failure) {
        if (IsBusy(failure.code()))
            return QStringLiteral("busy");
        return QString::fromStdString(failure.what());
    }
    return {};
}

bool HistoryStore::SetDatabaseAside(const QString& problem)
{
    const std::optional<QString> aside = SetAside(m_databasePath, QStringLiteral(".damaged"));
    if (!aside)
        return false;
    // Its log goes with it: left here, it would be taken for the log of the fresh database.
    const QString log = m_databasePath + QStringLiteral("-wal");
    if (KindOfFile(log) != FileKind::Missing && !RenameWithoutReplacing(log, *aside + QStringLiteral("-wal")))
        QFile::remove(log);
    QFile::remove(m_databasePath + QStringLiteral("-shm"));
    m_notice = DamagedDatabaseNotice;
    m_problem = problem;
    m_aside = *aside;
    return true;
}

void HistoryStore::ImportRunFiles()
{
    static const QRegularExpression runFile(QStringLiteral("^[0-9a-f]{32}\\.json$"));
    // What earlier versions left beside their run files: a temporary file of an interrupted save, which
    // never became the run, and the lock files of their windows.
    static const QRegularExpression leftOver(
        QStringLiteral("^[0-9a-f]{32}(\\.json\\.[A-Za-z0-9]{6}|\\.lock)$"));
    const QDir dir(m_stateDir);
    const QStringList names = dir.entryList(QDir::Files | QDir::System | QDir::Hidden, QDir::Name);
    const QString ownStem = RunFileStem(m_bankPath);
    for (const QString& name : names) {
        const QString path = dir.filePath(name);
        if (leftOver.match(name).hasMatch()) {
            if (KindOfFile(path) == FileKind::Regular)
                QFile::remove(path);
            continue;
        }
        if (!runFile.match(name).hasMatch())
            continue;
        QString problem;
        bool imported = false;
        try {
            imported = ImportRunFile(path, problem);
        } catch (const ESqlite&) {
            continue; // the database cannot take it now: the file stays for the next start
        }
        if (imported) {
            SetAside(path, QStringLiteral(".imported"));
            continue;
        }
        const std::optional<QString> aside = SetAside(path, QStringLiteral(".damaged"));
        if (name.startsWith(ownStem)) {
            m_importProblem = problem;
            m_importAside = aside.value_or(path);
        }
    }
}

bool HistoryStore::ImportRunFile(const QString& path, QString& problem)
{
    const std::optional<QByteArray> bytes = ReadRegularFile(path, MaxRecordBytes, problem);
    if (!bytes)
        return false;
    BankPeek peek;
    nlohmann::json::sax_parse(bytes->begin(), bytes->end(), &peek);
    if (!peek.Bank) {
        problem = QStringLiteral("no bank named");
        return false;
    }
    RunRecord record;
    try {
        record = DecodeRunRecord(*bytes, *peek.Bank);
    } catch (const EDamagedProgress& damaged) {
        problem = QString::fromStdString(damaged.what());
        return false;
    }
    SqliteTransaction transaction(m_db);
    SqliteStatement bank(m_db.handle(), "INSERT INTO banks (path, first_used) VALUES (?1, ?2) "
                                        "ON CONFLICT (path) DO UPDATE SET path = path RETURNING id");
    bank.BindBlob(1, record.BankPath).Bind(2, Milliseconds(record.SavedAt));
    bank.Step();
    const std::int64_t bankId = bank.Integer(0);
    bank.Reset();
    // A run the database keeps already is taken over only by a later one.
    SqliteStatement kept(m_db.handle(), "SELECT saved_at FROM runs WHERE bank = ?1");
    kept.Bind(1, bankId);
    if (!kept.Step() || kept.Integer(0) < Milliseconds(record.SavedAt))
        WriteWholeRun(record, bankId);
    kept.Reset();
    transaction.Commit();
    return true;
}

std::int64_t HistoryStore::BankId(bool create)
{
    if (m_bankId != 0)
        return m_bankId;
    SqliteStatement find(m_db.handle(), "SELECT id FROM banks WHERE path = ?1");
    find.BindBlob(1, m_bankPath);
    if (find.Step())
        return m_bankId = find.Integer(0);
    find.Reset();
    if (!create)
        return 0;
    // Within the caller's transaction: the id is kept only once it commits.
    SqliteStatement insert(m_db.handle(),
                           "INSERT INTO banks (path, first_used) VALUES (?1, ?2) RETURNING id");
    insert.BindBlob(1, m_bankPath).Bind(2, QDateTime::currentMSecsSinceEpoch());
    insert.Step();
    const std::int64_t id = insert.Integer(0);
    insert.Reset();
    return id;
}

HistoryStore::Loaded HistoryStore::LoadRun()
{
    Loaded loaded;
    const auto fileDamaged = [&] {
        if (!m_importProblem.isEmpty()) {
            loaded.found = Found::Damaged;
            loaded.problem = m_importProblem;
            loaded.keptAside = m_importAside;
            loaded.notice = DamagedRunFileNotice;
        }
        return loaded;
    };
    // A folder that cannot be written may still be read: the kept run is offered all the same.
    if (!m_db.IsOpen() && !OpenForReading())
        return fileDamaged();
    try {
        const std::int64_t bankId = BankId(false);
        if (bankId == 0)
            return fileDamaged();
        SqliteStatement run(m_db.handle(), "SELECT saved_at, finished, study_seconds, answers, good_answers, "
                                           "mastered FROM runs WHERE bank = ?1");
        run.Bind(1, bankId);
        if (!run.Step())
            return fileDamaged();
        RunRecord& record = loaded.record;
        record.BankPath = m_bankPath;
        std::int64_t savedAt = 0, finished = 0, studySeconds = 0, answers = 0, goodAnswers = 0, mastered = 0;
        QString problem;
        if (!run.IsInteger(0) || !ReadCount(run, 1, 1, finished) ||
            !ReadCount(run, 2, MaxRecordStudySeconds, studySeconds) ||
            !ReadCount(run, 3, MaxRecordAnswers, answers) ||
            !ReadCount(run, 4, MaxRecordAnswers, goodAnswers) ||
            !ReadCount(run, 5, MaxRecordQuestions, mastered))
            problem = QStringLiteral("a figure of the run out of its range");
        savedAt = run.Integer(0);
        run.Reset();
        record.SavedAt = TimeOf(savedAt);
        record.Finished = finished != 0;
        record.StudySeconds = studySeconds;
        record.Answers = int(answers);
        record.GoodAnswers = int(goodAnswers);

        SqliteStatement questions(
            m_db.handle(), "SELECT q.name, r.repeats, r.mastered FROM run_questions r "
                           "JOIN questions q ON q.id = r.question WHERE r.bank = ?1 ORDER BY r.position");
        questions.Bind(1, bankId);
        int countedMastered = 0;
        while (problem.isEmpty() && questions.Step()) {
            std::int64_t repeats = 0, isMastered = 0;
            if (!ReadCount(questions, 1, MaxRecordRepeats, repeats) ||
                !ReadCount(questions, 2, 1, isMastered)) {
                problem = QStringLiteral("a question's counter or mark out of its range");
                break;
            }
            if (record.Questions.size() >= std::size_t(MaxRecordQuestions)) {
                problem = QStringLiteral("more than %1 questions").arg(MaxRecordQuestions);
                break;
            }
            record.Questions.push_back({questions.Bytes(0), int(repeats), isMastered != 0});
            countedMastered += int(isMastered);
        }
        questions.Reset();
        if (problem.isEmpty())
            problem = RunProblem(record);
        if (problem.isEmpty() && countedMastered != mastered)
            problem = QStringLiteral("%1 questions mastered, counted %2").arg(mastered).arg(countedMastered);
        if (problem.isEmpty()) {
            loaded.found = Found::Record;
            return loaded;
        }
        loaded = Loaded();
        loaded.found = Found::Damaged;
        loaded.problem = problem;
        loaded.notice = DamagedRunNotice;
        if (m_access == Access::Writing) {
            // Never used again: the fresh run's first check writes a run in its place. The answers
            // stay in the history.
            SqliteTransaction transaction(m_db);
            SqliteStatement drop(m_db.handle(), "DELETE FROM runs WHERE bank = ?1");
            drop.Bind(1, bankId).Run();
            transaction.Commit();
        }
    } catch (const ESqlite& failure) {
        loaded = Loaded();
        loaded.found = Found::Damaged;
        loaded.problem = QString::fromStdString(failure.what());
        loaded.notice = DamagedRunNotice;
    }
    return loaded;
}

void HistoryStore::BeginSitting(SittingKind kind, const QDateTime& start)
{
    if (!m_pending.empty()) {
        // The answers of the sitting before belong to it: one more try before the new one begins.
        QString unused;
        Write(nullptr, nullptr, unused);
    }
    m_sittingKind = kind;
    m_sittingStart = start;
    m_sittingBegun = true;
    m_sittingId = 0;
    m_sittingAnswers = 0;
    m_sittingGoodAnswers = 0;
    m_sittingStudySeconds = 0;
    m_masteredAfter.reset();
    m_exam.reset();
    m_runWritten = false;
}

bool HistoryStore::RecordCheck(const AnswerEntry& answer, const RunChange* run, QString& error)
{
    if (!m_sittingBegun)
        BeginSitting(SittingKind::Drill, answer.At);
    const bool keepsRun = run && m_access == Access::Writing;
    m_pending.push_back({answer, keepsRun ? std::optional<int>(run->Mastered) : std::nullopt});
    ++m_sittingAnswers;
    m_sittingGoodAnswers += answer.Judged == Verdict::Good;
    m_sittingStudySeconds = answer.SittingStudySeconds;
    if (keepsRun)
        m_masteredAfter = run->Mastered;
    return Write(run, nullptr, error);
}

bool HistoryStore::RecordExam(const ExamFigures& exam, const std::vector<AnswerEntry>& answers,
                              QString& error)
{
    if (!m_sittingBegun)
        BeginSitting(SittingKind::Exam, QDateTime::currentDateTimeUtc());
    for (const AnswerEntry& answer : answers) {
        m_pending.push_back({answer, std::nullopt});
        ++m_sittingAnswers;
        m_sittingGoodAnswers += answer.Judged == Verdict::Good;
        m_sittingStudySeconds = std::max(m_sittingStudySeconds, answer.SittingStudySeconds);
    }
    m_exam = exam;
    return Write(nullptr, nullptr, error);
}

bool HistoryStore::EndSitting(const QDateTime& end, qint64 sittingStudySeconds, const RunChange* run,
                              QString& error)
{
    if (!m_sittingBegun && !run)
        return true;
    m_sittingStudySeconds = sittingStudySeconds;
    if (run && m_access == Access::Writing)
        m_masteredAfter = run->Mastered;
    const bool written = Write(run, &end, error);
    if (written)
        m_sittingBegun = false;
    return written;
}

bool HistoryStore::Write(const RunChange* run, const QDateTime* end, QString& error)
{
    // A state folder or database taken away under the open database would take every later write with
    // it, unseen: the database is opened again where it belongs, and written whole.
    if (m_db.IsOpen() && !StillInPlace()) {
        m_db.Close();
        m_lock.Unlock();
        m_access = Access::FolderUnwritable;
        m_bankId = 0;
        m_sittingId = 0;
        m_runWritten = false;
    }
    if ((!m_db.IsOpen() || m_access == Access::FolderUnwritable) && Open() == Access::FolderUnwritable) {
        error = QStringLiteral("nie można pisać w katalogu %1").arg(QDir::toNativeSeparators(m_stateDir));
        return false;
    }
    const bool bankKnown = m_bankId != 0;
    try {
        SqliteTransaction transaction(m_db);
        const std::int64_t bankId = BankId(true);
        std::int64_t sittingId = m_sittingId;
        // A sitting is written with its first answer or its exam: one that had neither leaves no row.
        if (m_sittingBegun && (sittingId != 0 || !m_pending.empty() || m_exam)) {
            if (sittingId == 0) {
                SqliteStatement insert(
                    m_db.handle(),
                    "INSERT INTO sittings (bank, kind, start) VALUES (?1, ?2, ?3) RETURNING id");
                insert.Bind(1, bankId).Bind(2, int(m_sittingKind)).Bind(3, Milliseconds(m_sittingStart));
                insert.Step();
                sittingId = insert.Integer(0);
                insert.Reset();
            }
            SqliteStatement answer(
                m_db.handle(),
                "INSERT INTO answers (sitting, question, at, verdict, seconds, chosen, correct, "
                "mastered) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8)");
            for (const PendingAnswer& pending : m_pending) {
                const std::int64_t questionId = QuestionId(bankId, pending.Answer.FileName);
                answer.Bind(1, sittingId)
                    .Bind(2, questionId)
                    .Bind(3, Milliseconds(pending.Answer.At))
                    .Bind(4, VerdictCode(pending.Answer.Judged))
                    .Bind(5, pending.Answer.Seconds)
                    .BindText(6, pending.Answer.Chosen)
                    .BindText(7, pending.Answer.Correct);
                if (pending.Mastered)
                    answer.Bind(8, *pending.Mastered);
                answer.Run();
            }
            SqliteStatement sitting(
                m_db.handle(),
                "UPDATE sittings SET end = ?2, study_seconds = ?3, answers = ?4, good_answers = ?5, "
                "mastered_after = ?6, exam_questions = ?7, exam_pass_mark = ?8, exam_score = ?9, "
                "exam_finished = ?10 WHERE id = ?1");
            sitting.Bind(1, sittingId)
                .Bind(3, m_sittingStudySeconds)
                .Bind(4, m_sittingAnswers)
                .Bind(5, m_sittingGoodAnswers);
            if (end)
                sitting.Bind(2, Milliseconds(*end));
            if (m_masteredAfter)
                sitting.Bind(6, *m_masteredAfter);
            if (m_exam)
                sitting.Bind(7, m_exam->Questions)
                    .Bind(8, m_exam->PassMark)
                    .Bind(9, m_exam->Score)
                    .Bind(10, m_exam->Finished);
            sitting.Run();
        }
        if (run && m_access == Access::Writing) {
            m_bankId = bankId;
            WriteRun(*run);
        }
        transaction.Commit();
        m_bankId = bankId;
        m_sittingId = sittingId;
        m_pending.clear();
        if (run && m_access == Access::Writing)
            m_runWritten = true;
        return true;
    } catch (const ESqlite& failure) {
        // Rolled back: the ids made in it are not kept, and the run is written whole next time.
        if (!bankKnown)
            m_bankId = 0;
        m_runWritten = false;
        error = ErrorText(failure);
        return false;
    }
}

void HistoryStore::WriteRun(const RunChange& run)
{
    if (!m_runWritten && run.WholeRun) {
        WriteWholeRun(run.WholeRun(), m_bankId);
        return;
    }
    SqliteStatement totals(m_db.handle(),
                           "UPDATE runs SET saved_at = ?2, finished = ?3, study_seconds = ?4, answers = ?5, "
                           "good_answers = ?6, mastered = ?7 WHERE bank = ?1");
    totals.Bind(1, m_bankId)
        .Bind(2, Milliseconds(run.SavedAt))
        .Bind(3, run.Finished)
        .Bind(4, run.StudySeconds)
        .Bind(5, run.Answers)
        .Bind(6, run.GoodAnswers)
        .Bind(7, run.Mastered)
        .Run();
    bool changed = sqlite3_changes(m_db.handle()) == 1;
    if (changed && run.Question) {
        SqliteStatement question(m_db.handle(),
                                 "UPDATE run_questions SET repeats = ?3, mastered = ?4 WHERE bank = ?1 AND "
                                 "question = (SELECT id FROM questions WHERE bank = ?1 AND name = ?2)");
        question.Bind(1, m_bankId)
            .BindBlob(2, run.Question->FileName)
            .Bind(3, run.Question->Repeats)
            .Bind(4, run.Question->Mastered)
            .Run();
        changed = sqlite3_changes(m_db.handle()) == 1;
    }
    // The kept run is not this run's: another window wrote the bank meanwhile, or the run was dropped.
    if (!changed && run.WholeRun)
        WriteWholeRun(run.WholeRun(), m_bankId);
}

void HistoryStore::WriteWholeRun(const RunRecord& record, std::int64_t bankId)
{
    int mastered = 0;
    for (const QuestionProgress& question : record.Questions)
        mastered += question.Mastered;
    SqliteStatement totals(
        m_db.handle(), "INSERT INTO runs (bank, saved_at, finished, study_seconds, answers, good_answers, "
                       "mastered) VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7) ON CONFLICT (bank) DO UPDATE SET "
                       "saved_at = ?2, finished = ?3, study_seconds = ?4, answers = ?5, good_answers = ?6, "
                       "mastered = ?7");
    totals.Bind(1, bankId)
        .Bind(2, Milliseconds(record.SavedAt))
        .Bind(3, record.Finished)
        .Bind(4, record.StudySeconds)
        .Bind(5, record.Answers)
        .Bind(6, record.GoodAnswers)
        .Bind(7, mastered)
        .Run();
    // The ids of the names the bank has had, and the run's entries as kept, read at once: a run taken
    // up again differs from the kept one in a few entries, and only those are written.
    std::unordered_map<std::string, std::int64_t> ids;
    SqliteStatement known(m_db.handle(), "SELECT name, id FROM questions WHERE bank = ?1");
    known.Bind(1, bankId);
    while (known.Step())
        ids.emplace(known.Bytes(0), known.Integer(1));
    known.Reset();
    struct Entry
    {
        std::int64_t Position;
        std::int64_t Repeats;
        std::int64_t Mastered;
    };
    std::unordered_map<std::int64_t, Entry> kept;
    SqliteStatement entries(
        m_db.handle(), "SELECT question, position, repeats, mastered FROM run_questions WHERE bank = ?1");
    entries.Bind(1, bankId);
    while (entries.Step())
        kept.emplace(entries.Integer(0), Entry{entries.Integer(1), entries.Integer(2), entries.Integer(3)});
    entries.Reset();

    SqliteStatement addQuestion(m_db.handle(),
                                "INSERT INTO questions (bank, name) VALUES (?1, ?2) RETURNING id");
    SqliteStatement write(
        m_db.handle(), "INSERT OR REPLACE INTO run_questions (question, bank, position, repeats, mastered) "
                       "VALUES (?1, ?2, ?3, ?4, ?5)");
    std::int64_t position = 0;
    for (const QuestionProgress& question : record.Questions) {
        auto [id, added] = ids.try_emplace(question.FileName, 0);
        if (added) {
            addQuestion.Bind(1, bankId).BindBlob(2, question.FileName);
            addQuestion.Step();
            id->second = addQuestion.Integer(0);
            addQuestion.Reset();
        }
        const Entry entry{position++, question.Repeats, question.Mastered};
        const auto same = kept.find(id->second);
        if (same != kept.end()) {
            const bool unchanged = same->second.Position == entry.Position &&
                                   same->second.Repeats == entry.Repeats &&
                                   same->second.Mastered == entry.Mastered;
            kept.erase(same);
            if (unchanged)
                continue;
        }
        write.Bind(1, id->second)
            .Bind(2, bankId)
            .Bind(3, entry.Position)
            .Bind(4, entry.Repeats)
            .Bind(5, entry.Mastered)
            .Run();
    }
    // What is left was kept for questions this run no longer has.
    SqliteStatement drop(m_db.handle(), "DELETE FROM run_questions WHERE question = ?1");
    for (const auto& [question, entry] : kept)
        drop.Bind(1, question).Run();
}

std::int64_t HistoryStore::QuestionId(std::int64_t bankId, const std::string& name)
{
    SqliteStatement find(m_db.handle(), "SELECT id FROM questions WHERE bank = ?1 AND name = ?2");
    find.Bind(1, bankId).BindBlob(2, name);
    if (find.Step())
        return find.Integer(0);
    find.Reset();
    SqliteStatement add(m_db.handle(), "INSERT INTO questions (bank, name) VALUES (?1, ?2) RETURNING id");
    add.Bind(1, bankId).BindBlob(2, name);
    add.Step();
    const std::int64_t id = add.Integer(0);
    add.Reset();
    return id;
}

QString HistoryStore::ErrorText(const ESqlite& failure) const
{
    const QString detail = QString::fromStdString(failure.what());
    if (IsBusy(failure.code()))
        return QStringLiteral("baza postępów jest zajęta przez inny program");
    switch (failure.code() & 0xFF) {
    case SQLITE_FULL:
        return QStringLiteral("brak miejsca na dysku");
    case SQLITE_READONLY:
    case SQLITE_CANTOPEN:
    case SQLITE_PERM:
        return QStringLiteral("nie można pisać w katalogu %1").arg(QDir::toNativeSeparators(m_stateDir));
    case SQLITE_IOERR:
        return QStringLiteral("błąd zapisu na dysku (%1)").arg(detail);
    default:
        return QStringLiteral("błąd bazy postępów (%1)").arg(detail);
    }
}

bool HistoryStore::OpenForReading()
{
    if (m_db.IsOpen())
        return true;
    if (KindOfFile(m_databasePath) != FileKind::Regular)
        return false;
    // A database on a disk that cannot be written is read as one no one changes: SQLite could not
    // make its log and index beside it.
    for (const bool unchanging : {false, true}) {
        if ((unchanging ? m_db.OpenUnchanging(m_databasePath)
                        : m_db.Open(m_databasePath, false, BusyMilliseconds)) != SQLITE_OK)
            continue;
        try {
            if (m_db.QueryInteger("PRAGMA application_id") == HistoryApplicationId &&
                m_db.QueryInteger("PRAGMA user_version") == CurrentSchemaVersion())
                return true;
        } catch (const ESqlite&) {
        }
        m_db.Close();
    }
    return false;
}

std::vector<DayFigures> HistoryStore::Days()
{
    std::vector<DayFigures> days;
    try {
        if (!OpenForReading() || BankId(false) == 0)
            return days;
        // Answers are counted by quarter of an hour, and the quarters summed up by local day here: every
        // time zone's offset is a whole number of quarters, so no quarter straddles a local midnight,
        // and a few thousand quarters are taken to local time instead of every answer.
        SqliteStatement query(
            m_db.handle(), "SELECT a.at / 900000 AS quarter, count(*), sum(a.verdict = 0), sum(a.seconds), "
                           "max(CASE WHEN a.mastered IS NOT NULL THEN a.id END), a.mastered "
                           "FROM answers a JOIN sittings s ON s.id = a.sitting WHERE s.bank = ?1 GROUP BY "
                           "quarter ORDER BY quarter");
        query.Bind(1, m_bankId);
        // The kept run's mastered questions after the day's last answer that changed it; a day without
        // one keeps the day before's.
        int mastered = 0;
        while (query.Step()) {
            const QDate day = TimeOf(query.Integer(0) * 900000).toLocalTime().date();
            if (days.empty() || days.back().Day != day)
                days.push_back({day, 0, 0, 0, mastered});
            DayFigures& figures = days.back();
            figures.Answers += int(query.Integer(1));
            figures.GoodAnswers += int(query.Integer(2));
            figures.StudySeconds += query.Integer(3);
            // The mastered count is that of the quarter's last answer that changed the run.
            if (!query.IsNull(4))
                figures.MasteredAtEnd = mastered = int(query.Integer(5));
        }
        query.Reset();
    } catch (const ESqlite&) {
        days.clear();
    }
    return days;
}

std::vector<QuestionFigures> HistoryStore::Questions()
{
    std::vector<QuestionFigures> questions;
    try {
        if (!OpenForReading() || BankId(false) == 0)
            return questions;
        SqliteStatement query(m_db.handle(), std::string(QuestionFiguresQuery) + QuestionOrder);
        query.Bind(1, m_bankId);
        while (query.Step()) {
            QuestionFigures figures;
            figures.FileName = query.Bytes(0);
            figures.Asked = int(query.Integer(1));
            figures.Wrong = int(query.Integer(2));
            figures.Partial = int(query.Integer(3));
            figures.Good = int(query.Integer(4));
            if (!query.IsNull(5))
                figures.LastMissed = TimeOf(query.Integer(5));
            questions.push_back(std::move(figures));
        }
        query.Reset();
    } catch (const ESqlite&) {
        questions.clear();
    }
    return questions;
}

std::vector<SittingFigures> HistoryStore::Sittings()
{
    std::vector<SittingFigures> sittings;
    try {
        if (!OpenForReading() || BankId(false) == 0)
            return sittings;
        SqliteStatement query(
            m_db.handle(),
            "SELECT id, kind, start, end, study_seconds, answers, good_answers, mastered_after, "
            "exam_questions, exam_pass_mark, exam_score, exam_finished FROM sittings "
            "WHERE bank = ?1 ORDER BY start, id");
        query.Bind(1, m_bankId);
        while (query.Step()) {
            SittingFigures sitting;
            sitting.Id = query.Integer(0);
            const std::int64_t kind = query.Integer(1);
            sitting.Kind = kind == 1   ? SittingKind::Hardest
                           : kind == 2 ? SittingKind::Exam
                                       : SittingKind::Drill;
            sitting.Start = TimeOf(query.Integer(2));
            if (!query.IsNull(3))
                sitting.End = TimeOf(query.Integer(3));
            sitting.StudySeconds = query.Integer(4);
            sitting.Answers = int(query.Integer(5));
            sitting.GoodAnswers = int(query.Integer(6));
            sitting.MasteredAfter = int(query.Integer(7));
            sitting.ExamQuestions = int(query.Integer(8));
            sitting.ExamPassMark = int(query.Integer(9));
            sitting.ExamScore = int(query.Integer(10));
            sitting.ExamFinished = query.Integer(11) != 0;
            sittings.push_back(sitting);
        }
        query.Reset();
    } catch (const ESqlite&) {
        sittings.clear();
    }
    return sittings;
}

std::vector<std::string> HistoryStore::QuestionsToDrill(const QDateTime& now)
{
    return QuestionsToDrill(Questions(), now);
}

std::vector<std::string> HistoryStore::QuestionsToDrill(const std::vector<QuestionFigures>& questions,
                                                        const QDateTime& now)
{
    std::vector<std::string> names;
    const QDateTime since = now.addMSecs(-DrillDays * MillisecondsPerDay);
    for (const QuestionFigures& question : questions) {
        if (names.size() == std::size_t(DrillQuestions))
            break;
        if (question.LastMissed.isValid() && question.LastMissed >= since)
            names.push_back(question.FileName);
    }
    return names;
}

} // namespace zdawnik
