#pragma once

#include <QString>

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace zdawnik {

// A call into SQLite that failed: its result code and SQLite's message.
class ESqlite : public std::runtime_error
{
public:
    ESqlite(int code, const std::string& message) : std::runtime_error(message), m_code(code) {}
    int code() const { return m_code; }

private:
    int m_code;
};

// One prepared statement. Its parameters are numbered from 1, its columns from 0, as SQLite numbers
// them. A statement is reset before it is bound again, so one statement serves a whole transaction.
class SqliteStatement
{
public:
    SqliteStatement(sqlite3* db, std::string_view sql);
    ~SqliteStatement();
    SqliteStatement(const SqliteStatement&) = delete;
    SqliteStatement& operator=(const SqliteStatement&) = delete;

    SqliteStatement& Bind(int index, std::int64_t value);
    SqliteStatement& BindBlob(int index, std::string_view bytes);
    SqliteStatement& BindText(int index, std::string_view text);
    SqliteStatement& BindNull(int index);

    // Steps once: true while a row stands, false when done. Throws ESqlite on a failure.
    bool Step();
    // Steps to the end, for a statement that returns no rows.
    void Run();
    void Reset();

    bool IsNull(int column) const;
    bool IsInteger(int column) const;
    std::int64_t Integer(int column) const;
    // A text or a blob column as its bytes.
    std::string Bytes(int column) const;

private:
    sqlite3* m_db;
    sqlite3_stmt* m_statement = nullptr;
};

// One connection to a database file, closed with the object.
class SqliteDatabase
{
public:
    SqliteDatabase() = default;
    ~SqliteDatabase();
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    // Opens the file, never through a symbolic link; returns SQLite's result code. The connection
    // waits up to busyMilliseconds for another connection's write to end.
    int Open(const QString& path, bool create, int busyMilliseconds);
    // Opens the file to read only, as a file no one changes: a database on a read-only disk, whose log
    // and index cannot be made beside it.
    int OpenUnchanging(const QString& path);
    void Close();
    bool IsOpen() const { return m_db != nullptr; }
    sqlite3* handle() const { return m_db; }

    // Runs statements that return nothing worth reading; throws ESqlite on a failure.
    void Execute(std::string_view sql);
    // The first column of the first row of a query, as an integer, or as text.
    std::int64_t QueryInteger(std::string_view sql);
    std::string QueryText(std::string_view sql);

    // The error of the last call that failed on this connection.
    std::string ErrorMessage() const;
    int ErrorCode() const;

private:
    sqlite3* m_db = nullptr;
};

// The steps that write a transaction or none of it: the destructor rolls back what was not committed.
class SqliteTransaction
{
public:
    // Immediate: the write lock is taken at the start, so a busy database is waited for there and not
    // found in the middle of the transaction.
    explicit SqliteTransaction(SqliteDatabase& db);
    ~SqliteTransaction();
    SqliteTransaction(const SqliteTransaction&) = delete;
    SqliteTransaction& operator=(const SqliteTransaction&) = delete;

    void Commit();

private:
    SqliteDatabase& m_db;
    bool m_open = true;
};

} // namespace zdawnik
