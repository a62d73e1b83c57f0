#pragma once
// A thin RAII layer over the SQLite C interface: one connection, prepared statements, transactions.
#include "app/Errors.h"

#include <QByteArray>
#include <QString>
#include <initializer_list>

struct sqlite3;
struct sqlite3_stmt;

class DbError : public ZError {
public:
    using ZError::ZError;
};

class SqlStmt {
public:
    // `context` names the file in messages; `what` names the operation ("查询收支记录").
    SqlStmt(sqlite3* db, const char* sql, const QString& context, const QString& what = QString());
    ~SqlStmt();
    SqlStmt(const SqlStmt&) = delete;
    SqlStmt& operator=(const SqlStmt&) = delete;

    SqlStmt& bind(int index, const QString& text);
    SqlStmt& bind(int index, const QByteArray& utf8);
    SqlStmt& bind(int index, double value);
    SqlStmt& bind(int index, qint64 value);
    // Binds the texts to ?1, ?2, ... as far as the statement has parameters.
    void bindAll(std::initializer_list<QByteArray> utf8);

    // Steps once; true while a row is available.
    bool step();
    // Runs a statement that returns no rows.
    void run();
    void reset();

    QByteArray bytes(int column) const;   // the column's text, copied
    QByteArray raw(int column) const;     // the column's text in place, valid until the next step
    QString text(int column) const;       // the column as UTF-8 text
    QString latin(int column) const;      // the column as Latin-1 text (dates, Base64)
    double real(int column) const;
    qint64 integer(int column) const;
    bool isNull(int column) const;

private:
    [[noreturn]] void fail(int rc) const;
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
    QString m_context;
    QString m_what;
};

class SqlDb {
public:
    enum class Mode { ReadWrite, ReadOnly, Create };
    // Opens `path`; ReadWrite and ReadOnly never create a file. `context` names the file in messages.
    explicit SqlDb(const QString& path, Mode mode = Mode::ReadWrite);
    ~SqlDb();
    SqlDb(const SqlDb&) = delete;
    SqlDb& operator=(const SqlDb&) = delete;

    void exec(const char* sql);
    SqlStmt prepare(const char* sql, const QString& what = QString());
    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }
    [[noreturn]] void fail(const QString& what) const;

private:
    sqlite3* m_db = nullptr;
    QString m_path;
};

// Commits on commit(); rolls back when left without it (an exception on the way).
class SqlTransaction {
public:
    explicit SqlTransaction(SqlDb& db);
    ~SqlTransaction();
    void commit();

private:
    SqlDb& m_db;
    bool m_done = false;
};
