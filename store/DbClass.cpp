#include "store/DbClass.h"

#include "app/HiClass.h"

#include <sodium.h>

#include <QRegularExpression>

#include <sqlite3.h>

const QString kTypeExpense = QStringLiteral("支出");
const QString kTypeIncome = QStringLiteral("收入");

namespace {

void ensureSodium()
{
    static const bool ready = sodium_init() >= 0;
    if (!ready)
        throw ZError(QStringLiteral("密码库无法初始化"));
}

QByteArray hashPassword(const QString& password)
{
    ensureSodium();
    const QByteArray plain = password.toUtf8();
    char out[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(out, plain.constData(), quint64(plain.size()), crypto_pwhash_OPSLIMIT_INTERACTIVE,
                          crypto_pwhash_MEMLIMIT_INTERACTIVE) != 0)
        throw ZError(QStringLiteral("内存不足，无法保存密码"));
    return QByteArray(out);
}

bool verifyPassword(const QByteArray& stored, const QString& password)
{
    ensureSodium();
    const QByteArray plain = password.toUtf8();
    return crypto_pwhash_str_verify(stored.constData(), plain.constData(), quint64(plain.size())) == 0;
}

QByteArray enc(const QString& text)
{
    return THi::EncodeField(text).toLatin1();
}

const char* columnOf(const QString& column)
{
    return column == QLatin1String("in") ? "in" : "out";
}

const char kInsertRecord[] =
    "INSERT INTO data (user, date, type, cate, amount, notes) VALUES (?, ?, ?, ?, ?, ?)";

} // namespace

TDbMan::TDbMan(const QString& dbFile) : m_dbFile(dbFile) {}

SqlDb TDbMan::open() const
{
    return SqlDb(m_dbFile, SqlDb::Mode::ReadWrite);
}

void TDbMan::AddUser(const QString& name, const QString& password)
{
    const QByteArray hash = hashPassword(password);
    SqlDb db = open();
    db.prepare("INSERT INTO users (name, pwd) VALUES (?, ?)").bind(1, enc(name)).bind(2, hash).run();
}

void TDbMan::DeleteUser(const QString& name)
{
    SqlDb db = open();
    db.prepare("DELETE FROM users WHERE name = ?").bind(1, enc(name)).run();
}

bool TDbMan::UserExists(const QString& name)
{
    SqlDb db = open();
    return db.prepare("SELECT 1 FROM users WHERE name = ? LIMIT 1").bind(1, enc(name)).step();
}

bool TDbMan::CheckLogin(const QString& name, const QString& password)
{
    SqlDb db = open();
    SqlStmt q = db.prepare("SELECT pwd FROM users WHERE name = ?");
    q.bind(1, enc(name));
    while (q.step()) {
        if (verifyPassword(q.bytes(0), password))
            return true;
    }
    return false;
}

void TDbMan::ReplaceUser(const QString& name, const QString& password)
{
    const QByteArray hash = hashPassword(password);
    SqlDb db = open();
    SqlTransaction tx(db);
    db.prepare("DELETE FROM users WHERE name = ?").bind(1, enc(name)).run();
    db.prepare("INSERT INTO users (name, pwd) VALUES (?, ?)").bind(1, enc(name)).bind(2, hash).run();
    tx.commit();
}

QString TDbMan::GetUserNames()
{
    SqlDb db = open();
    SqlStmt q = db.prepare("SELECT name FROM users ORDER BY rowid DESC");
    QString result;
    while (q.step())
        result += QStringLiteral("\r\n") + THi::DecodeField(q.bytes(0));
    return THi::Trim(result);
}

QString TDbMan::GetCategories(const QString& user, const QString& column)
{
    SqlDb db = open();
    const QByteArray sql = QByteArray("SELECT [") + columnOf(column) + "] FROM cates WHERE user = ? LIMIT 1";
    SqlStmt q = db.prepare(sql.constData());
    q.bind(1, enc(user));
    return q.step() ? THi::DecodeField(q.bytes(0)) : QString();
}

void TDbMan::SaveCategories(const QString& user, const QString& column, const QString& text)
{
    SqlDb db = open();
    SqlTransaction tx(db);
    QByteArray out, in;
    {
        SqlStmt q = db.prepare("SELECT [out], [in] FROM cates WHERE user = ? LIMIT 1");
        q.bind(1, enc(user));
        if (q.step()) {
            out = q.bytes(0);
            in = q.bytes(1);
        }
    }
    if (column == QLatin1String("out"))
        out = enc(text);
    if (column == QLatin1String("in"))
        in = enc(text);
    db.prepare("DELETE FROM cates WHERE user = ?").bind(1, enc(user)).run();
    db.prepare("INSERT INTO cates (user, [out], [in]) VALUES (?, ?, ?)")
        .bind(1, enc(user))
        .bind(2, out)
        .bind(3, in)
        .run();
    tx.commit();
}

void TDbMan::insertRecord(SqlStmt& insert, const QString& user, const QString& date, const QString& type,
                          const QString& category, const QString& amount, const QString& notes)
{
    // Only the forms the program itself writes reach the table.
    static const QRegularExpression dateForm(QStringLiteral("^[0-9]{4}-[0-9]{2}-[0-9]{2}$"));
    if (!dateForm.match(date).hasMatch() || !QDate::fromString(date, QStringLiteral("yyyy-MM-dd")).isValid())
        throw DbError(QStringLiteral("无效的日期：“%1”").arg(date));
    if (type != kTypeExpense && type != kTypeIncome)
        throw DbError(QStringLiteral("无效的类别：“%1”").arg(type));
    bool ok = false;
    const double value = amount.toDouble(&ok);
    if (!ok || !(value >= 0.01) || !qIsFinite(value))
        throw DbError(QStringLiteral("无效的金额：“%1”").arg(amount));
    insert.reset();
    insert.bind(1, enc(user))
        .bind(2, date)
        .bind(3, type)
        .bind(4, enc(category))
        .bind(5, value)
        .bind(6, enc(notes))
        .run();
}

void TDbMan::InsertRecord(const QString& user, const QString& date, const QString& type, const QString& category,
                          const QString& amount, const QString& notes)
{
    SqlDb db = open();
    SqlStmt insert = db.prepare(kInsertRecord);
    insertRecord(insert, user, date, type, category, amount, notes);
}

void TDbMan::InsertRecords(const QString& user, const TStringsArray& records)
{
    if (records.isEmpty())
        return;
    SqlDb db = open();
    SqlTransaction tx(db);
    SqlStmt insert = db.prepare(kInsertRecord);
    for (const QStringList& r : records) {
        if (r.size() < 5)
            throw DbError(QStringLiteral("记录不完整"));
        insertRecord(insert, user, r[0], r[1], r[2], r[3], r[4]);
    }
    tx.commit();
}

void TDbMan::DeleteRecord(const QString& user, const QString& id)
{
    bool ok = false;
    const qint64 key = THi::Trim(id).toLongLong(&ok);
    if (!ok)
        throw DbError(QStringLiteral("无效的记录编号：“%1”").arg(id));
    SqlDb db = open();
    db.prepare("DELETE FROM data WHERE id = ? AND user = ?").bind(1, key).bind(2, enc(user)).run();
}

void TDbMan::ReplaceRecord(const QString& user, const QString& id, const QString& date, const QString& type,
                           const QString& category, const QString& amount, const QString& notes)
{
    bool ok = false;
    const qint64 key = THi::Trim(id).toLongLong(&ok);
    if (!ok)
        throw DbError(QStringLiteral("无效的记录编号：“%1”").arg(id));
    SqlDb db = open();
    SqlTransaction tx(db);
    db.prepare("DELETE FROM data WHERE id = ? AND user = ?").bind(1, key).bind(2, enc(user)).run();
    // A record deleted meanwhile (by another window on the same ledger) is not brought back.
    if (sqlite3_changes(db.handle()) == 0)
        throw DbError(QStringLiteral("记录 %1 已不存在（可能已被删除），未作修改。").arg(key));
    SqlStmt insert = db.prepare(kInsertRecord);
    insertRecord(insert, user, date, type, category, amount, notes);
    tx.commit();
}
