#include "store/Sqlite.h"

#include <QDir>
#include <QUrl>

#include <sqlite3.h>

namespace {
QString fileLabel(const QString& path)
{
    return QDir::toNativeSeparators(path);
}
} // namespace

SqlDb::SqlDb(const QString& path, Mode mode) : m_path(path)
{
    int flags = SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    switch (mode) {
    case Mode::ReadWrite: flags |= SQLITE_OPEN_READWRITE; break;
    case Mode::ReadOnly: flags |= SQLITE_OPEN_READONLY; break;
    case Mode::Create: flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE; break;
    }
    // A URI keeps names with '?' or '#' intact; without mode=rwc a missing file is an error, not a new database.
    QUrl url = QUrl::fromLocalFile(path);
    const QByteArray uri = url.toEncoded();
    const int rc = sqlite3_open_v2(uri.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString reason = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QStringLiteral("out of memory");
        sqlite3_close(m_db);
        m_db = nullptr;
        throw DbError(QStringLiteral("无法打开账本文件 %1：%2").arg(fileLabel(path), reason));
    }
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_busy_timeout(m_db, 5000);
    if (mode != Mode::ReadOnly)
        exec("PRAGMA synchronous=FULL");
}

SqlDb::~SqlDb()
{
    if (m_db)
        sqlite3_close_v2(m_db);
}

void SqlDb::fail(const QString& what) const
{
    throw DbError(QStringLiteral("%1失败（%2）：%3").arg(what, fileLabel(m_path), QString::fromUtf8(sqlite3_errmsg(m_db))));
}

void SqlDb::exec(const char* sql)
{
    char* err = nullptr;
    if (sqlite3_exec(m_db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
        const QString reason = QString::fromUtf8(err ? err : sqlite3_errmsg(m_db));
        sqlite3_free(err);
        throw DbError(QStringLiteral("数据库操作失败（%1）：%2").arg(fileLabel(m_path), reason));
    }
}

SqlStmt SqlDb::prepare(const char* sql, const QString& what)
{
    return SqlStmt(m_db, sql, fileLabel(m_path), what);
}

SqlStmt::SqlStmt(sqlite3* db, const char* sql, const QString& context, const QString& what)
    : m_db(db), m_context(context), m_what(what)
{
    const int rc = sqlite3_prepare_v2(m_db, sql, -1, &m_stmt, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
}

SqlStmt::~SqlStmt()
{
    sqlite3_finalize(m_stmt);
}

void SqlStmt::fail(int) const
{
    const QString reason = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (!m_what.isEmpty())
        throw DbError(QStringLiteral("%1失败（%2）：%3").arg(m_what, m_context, reason));
    throw DbError(QStringLiteral("数据库操作失败（%1）：%2").arg(m_context, reason));
}

SqlStmt& SqlStmt::bind(int index, const QString& text)
{
    return bind(index, text.toUtf8());
}

SqlStmt& SqlStmt::bind(int index, const QByteArray& utf8)
{
    const int rc = sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

SqlStmt& SqlStmt::bind(int index, double value)
{
    const int rc = sqlite3_bind_double(m_stmt, index, value);
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

SqlStmt& SqlStmt::bind(int index, qint64 value)
{
    const int rc = sqlite3_bind_int64(m_stmt, index, value);
    if (rc != SQLITE_OK)
        fail(rc);
    return *this;
}

void SqlStmt::bindAll(std::initializer_list<QByteArray> utf8)
{
    const int count = sqlite3_bind_parameter_count(m_stmt);
    int index = 1;
    for (const QByteArray& value : utf8) {
        if (index > count)
            break;
        bind(index++, value);
    }
}

bool SqlStmt::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    fail(rc);
}

void SqlStmt::run()
{
    while (step()) {
    }
}

void SqlStmt::reset()
{
    sqlite3_reset(m_stmt);
    sqlite3_clear_bindings(m_stmt);
}

QByteArray SqlStmt::bytes(int column) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QByteArray(p ? p : "", sqlite3_column_bytes(m_stmt, column));
}

QByteArray SqlStmt::raw(int column) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QByteArray::fromRawData(p ? p : "", sqlite3_column_bytes(m_stmt, column));
}

QString SqlStmt::latin(int column) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QString::fromLatin1(p ? p : "", sqlite3_column_bytes(m_stmt, column));
}

QString SqlStmt::text(int column) const
{
    const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(p ? p : "", sqlite3_column_bytes(m_stmt, column));
}

double SqlStmt::real(int column) const
{
    return sqlite3_column_double(m_stmt, column);
}

qint64 SqlStmt::integer(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

bool SqlStmt::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

SqlTransaction::SqlTransaction(SqlDb& db) : m_db(db)
{
    m_db.exec("BEGIN IMMEDIATE");
}

SqlTransaction::~SqlTransaction()
{
    if (!m_done)
        sqlite3_exec(m_db.handle(), "ROLLBACK", nullptr, nullptr, nullptr);
}

void SqlTransaction::commit()
{
    m_db.exec("COMMIT");
    m_done = true;
}
