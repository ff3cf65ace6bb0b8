#include "progress/SqliteDatabase.h"

#include <QFile>

#include <sqlite3.h>

namespace zdawnik {

namespace {

[[noreturn]] void Throw(sqlite3* db, int code)
{
    throw ESqlite(code, db ? sqlite3_errmsg(db) : sqlite3_errstr(code));
}

} // namespace

SqliteStatement::SqliteStatement(sqlite3* db, std::string_view sql) : m_db(db)
{
    const int code =
        sqlite3_prepare_v3(db, sql.data(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &m_statement, nullptr);
    if (code != SQLITE_OK)
        Throw(db, code);
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

SqliteStatement& SqliteStatement::Bind(int index, std::int64_t value)
{
    if (const int code = sqlite3_bind_int64(m_statement, index, value); code != SQLITE_OK)
        Throw(m_db, code);
    return *this;
}

SqliteStatement& SqliteStatement::BindBlob(int index, std::string_view bytes)
{
    // A zero-length blob is still a blob, not NULL: the pointer must not be null.
    static const char nothing = 0;
    if (const int code = sqlite3_bind_blob64(m_statement, index, bytes.empty() ? &nothing : bytes.data(),
                                             bytes.size(), SQLITE_TRANSIENT);
        code != SQLITE_OK)
        Throw(m_db, code);
    return *this;
}

SqliteStatement& SqliteStatement::BindText(int index, std::string_view text)
{
    if (const int code =
            sqlite3_bind_text64(m_statement, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8);
        code != SQLITE_OK)
        Throw(m_db, code);
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index)
{
    if (const int code = sqlite3_bind_null(m_statement, index); code != SQLITE_OK)
        Throw(m_db, code);
    return *this;
}

bool SqliteStatement::Step()
{
    const int code = sqlite3_step(m_statement);
    if (code == SQLITE_ROW)
        return true;
    if (code == SQLITE_DONE)
        return false;
    sqlite3_reset(m_statement);
    Throw(m_db, code);
}

void SqliteStatement::Run()
{
    while (Step()) {
    }
    Reset();
}

void SqliteStatement::Reset()
{
    sqlite3_reset(m_statement);
    sqlite3_clear_bindings(m_statement);
}

bool SqliteStatement::IsNull(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_NULL;
}

bool SqliteStatement::IsInteger(int column) const
{
    return sqlite3_column_type(m_statement, column) == SQLITE_INTEGER;
}

std::int64_t SqliteStatement::Integer(int column) const
{
    return sqlite3_column_int64(m_statement, column);
}

std::string SqliteStatement::Bytes(int column) const
{
    const void* bytes = sqlite3_column_blob(m_statement, column);
    const int size = sqlite3_column_bytes(m_statement, column);
    return bytes ? std::string(static_cast<const char*>(bytes), std::size_t(size)) : std::string();
}

SqliteDatabase::~SqliteDatabase()
{
    Close();
}

int SqliteDatabase::Open(const QString& path, bool create, int busyMilliseconds)
{
    Close();
    const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOFOLLOW |
                      SQLITE_OPEN_NOMUTEX;
#ifdef _WIN32
    const QByteArray name = path.toUtf8(); // SQLite's Windows layer takes UTF-8
#else
    const QByteArray name = QFile::encodeName(path);
#endif
    const int code = sqlite3_open_v2(name.constData(), &m_db, flags, nullptr);
    if (code != SQLITE_OK) {
        Close();
        return code;
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, busyMilliseconds);
    return SQLITE_OK;
}

int SqliteDatabase::OpenUnchanging(const QString& path)
{
    Close();
#ifdef _WIN32
    const QByteArray name = path.toUtf8();
#else
    const QByteArray name = QFile::encodeName(path);
#endif
    // A URI: every byte of the path but the plainest is written as %XX.
    QByteArray uri = "file:";
    uri += name.toPercentEncoding("/");
    uri += "?immutable=1";
    const int code = sqlite3_open_v2(
        uri.constData(), &m_db,
        SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_NOFOLLOW | SQLITE_OPEN_NOMUTEX, nullptr);
    if (code != SQLITE_OK)
        Close();
    return code;
}

void SqliteDatabase::Close()
{
    // Statements are finalized by their owners first; close_v2 waits for any left.
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

void SqliteDatabase::Execute(std::string_view sql)
{
    const std::string text(sql);
    char* message = nullptr;
    const int code = sqlite3_exec(m_db, text.c_str(), nullptr, nullptr, &message);
    if (code != SQLITE_OK) {
        const std::string why = message ? message : sqlite3_errstr(code);
        sqlite3_free(message);
        throw ESqlite(code, why);
    }
}

std::int64_t SqliteDatabase::QueryInteger(std::string_view sql)
{
    SqliteStatement statement(m_db, sql);
    return statement.Step() ? statement.Integer(0) : 0;
}

std::string SqliteDatabase::QueryText(std::string_view sql)
{
    SqliteStatement statement(m_db, sql);
    return statement.Step() ? statement.Bytes(0) : std::string();
}

std::string SqliteDatabase::ErrorMessage() const
{
    return m_db ? sqlite3_errmsg(m_db) : "no database";
}

int SqliteDatabase::ErrorCode() const
{
    return m_db ? sqlite3_extended_errcode(m_db) : SQLITE_CANTOPEN;
}

SqliteTransaction::SqliteTransaction(SqliteDatabase& db) : m_db(db)
{
    m_db.Execute("BEGIN IMMEDIATE");
}

SqliteTransaction::~SqliteTransaction()
{
    if (m_open && m_db.IsOpen() && !sqlite3_get_autocommit(m_db.handle()))
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqliteTransaction::Commit()
{
    m_db.Execute("COMMIT");
    m_open = false;
}

} // namespace zdawnik
