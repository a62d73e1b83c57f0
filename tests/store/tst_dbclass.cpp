#include "app/HiClass.h"
#include "store/DbClass.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QTemporaryDir>
#include <QTest>

#include <sqlite3.h>

namespace {
// Reads one column of every row with plain SQLite, to see what is really stored.
QStringList column(const QString& file, const char* sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(file.toUtf8().constData(), &db);
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, sql, -1, &st, nullptr);
    QStringList out;
    while (sqlite3_step(st) == SQLITE_ROW)
        out << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return out;
}

QStringList rec(const QString& date, const QString& type, const QString& cate, const QString& amount,
                const QString& note = QString())
{
    return {date, type, cate, amount, note};
}
} // namespace

class TestDbClass : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_file;

private Q_SLOTS:
    void initTestCase() { testenv::init(); }
    void init() { m_file = fixtures::freshLedger(m_dir.path()); }

    void userNames_mostRecentFirst_andReinsertMovesToTop()
    {
        TDbMan db(m_file);
        QCOMPARE(db.GetUserNames(), QString());
        db.AddUser(QStringLiteral("a"), QStringLiteral("1"));
        db.AddUser(QStringLiteral("b"), QStringLiteral("2"));
        db.AddUser(QStringLiteral("c"), QStringLiteral("3"));
        QCOMPARE(db.GetUserNames(), QStringLiteral("c\r\nb\r\na"));
        db.DeleteUser(QStringLiteral("b"));
        db.AddUser(QStringLiteral("b"), QStringLiteral("x"));
        QCOMPARE(db.GetUserNames(), QStringLiteral("b\r\nc\r\na"));
        db.ReplaceUser(QStringLiteral("a"), QStringLiteral("new"));
        QCOMPARE(db.GetUserNames(), QStringLiteral("a\r\nb\r\nc"));
        QVERIFY(db.CheckLogin(QStringLiteral("a"), QStringLiteral("new")));
        QVERIFY(!db.CheckLogin(QStringLiteral("a"), QStringLiteral("1")));
    }

    void names_compareExactly_passwordsHashed()
    {
        TDbMan db(m_file);
        db.AddUser(QStringLiteral("Anna"), QStringLiteral("Secret'1"));
        QVERIFY(db.UserExists(QStringLiteral("Anna")));
        QVERIFY(!db.UserExists(QStringLiteral("anna")));
        QVERIFY(db.CheckLogin(QStringLiteral("Anna"), QStringLiteral("Secret'1")));
        QVERIFY(!db.CheckLogin(QStringLiteral("Anna"), QStringLiteral("secret'1")));
        QVERIFY(!db.CheckLogin(QStringLiteral("anna"), QStringLiteral("Secret'1")));
        const QStringList stored = column(m_file, "SELECT pwd FROM users");
        QCOMPARE(stored.size(), 1);
        QVERIFY(stored[0].startsWith(QStringLiteral("$argon2id$")));
        QVERIFY(!stored[0].contains(THi::EncodeField(QStringLiteral("Secret'1"))));
        QCOMPARE(column(m_file, "SELECT name FROM users"), QStringList{THi::EncodeField(QStringLiteral("Anna"))});
    }

    void categories_columnsIndependent()
    {
        TDbMan db(m_file);
        QCOMPARE(db.GetCategories(QStringLiteral("u"), QStringLiteral("out")), QString());
        QCOMPARE(db.GetCategories(QStringLiteral("u"), QStringLiteral("in")), QString());
        db.SaveCategories(QStringLiteral("u"), QStringLiteral("out"), QStringLiteral("饭\r\n车"));
        db.SaveCategories(QStringLiteral("u"), QStringLiteral("in"), QStringLiteral("工资"));
        db.SaveCategories(QStringLiteral("u"), QStringLiteral("out"), QStringLiteral("房租\r\n饭\r\n车"));
        QCOMPARE(db.GetCategories(QStringLiteral("u"), QStringLiteral("out")), QStringLiteral("房租\r\n饭\r\n车"));
        QCOMPARE(db.GetCategories(QStringLiteral("u"), QStringLiteral("in")), QStringLiteral("工资"));
        QCOMPARE(db.GetCategories(QStringLiteral("v"), QStringLiteral("out")), QString());
        QCOMPARE(column(m_file, "SELECT count(*) FROM cates"), QStringList{QStringLiteral("1")});
    }

    void insertRecords_storesInOrderWithEncodedTexts()
    {
        TDbMan db(m_file);
        db.InsertRecords(QStringLiteral("u"), {rec(QStringLiteral("2009-08-17"), QStringLiteral("支出"),
                                                   QStringLiteral("O'Brien 饭"), QStringLiteral("12.50"),
                                                   QStringLiteral("note")),
                                               rec(QStringLiteral("2009-08-16"), QStringLiteral("收入"),
                                                   QStringLiteral("工资"), QStringLiteral("3.00"))});
        QCOMPARE(column(m_file, "SELECT date || '|' || type || '|' || printf('%.2f', amount) FROM data ORDER BY id"),
                 (QStringList{QStringLiteral("2009-08-17|支出|12.50"), QStringLiteral("2009-08-16|收入|3.00")}));
        QCOMPARE(column(m_file, "SELECT cate FROM data ORDER BY id").first(),
                 THi::EncodeField(QStringLiteral("O'Brien 饭")));
        QCOMPARE(column(m_file, "SELECT notes FROM data ORDER BY id").last(), QString());
        db.InsertRecords(QStringLiteral("u"), {});
        QCOMPARE(column(m_file, "SELECT count(*) FROM data"), QStringList{QStringLiteral("2")});
    }

    void insertRecords_failingRecordStoresNone_data()
    {
        QTest::addColumn<QStringList>("bad");
        QTest::newRow("bad date") << rec(QStringLiteral("2009-02-30"), QStringLiteral("支出"), QStringLiteral("x"),
                                         QStringLiteral("1.00"));
        QTest::newRow("bad type") << rec(QStringLiteral("2009-02-03"), QStringLiteral("other"), QStringLiteral("x"),
                                         QStringLiteral("1.00"));
        QTest::newRow("bad amount") << rec(QStringLiteral("2009-02-03"), QStringLiteral("支出"), QStringLiteral("x"),
                                           QStringLiteral("1,000"));
        QTest::newRow("zero amount") << rec(QStringLiteral("2009-02-03"), QStringLiteral("支出"), QStringLiteral("x"),
                                            QStringLiteral("0.00"));
        QTest::newRow("short") << QStringList{QStringLiteral("2009-02-03")};
    }
    void insertRecords_failingRecordStoresNone()
    {
        QFETCH(QStringList, bad);
        TDbMan db(m_file);
        const QStringList good =
            rec(QStringLiteral("2009-02-03"), QStringLiteral("支出"), QStringLiteral("x"), QStringLiteral("1.00"));
        QVERIFY_THROWS_EXCEPTION(DbError, db.InsertRecords(QStringLiteral("u"), {good, good, bad, good}));
        QCOMPARE(column(m_file, "SELECT count(*) FROM data"), QStringList{QStringLiteral("0")});
    }

    void deleteRecord_onlyOwnRecords()
    {
        TDbMan db(m_file);
        db.InsertRecord(QStringLiteral("u"), QStringLiteral("2009-02-03"), QStringLiteral("支出"), QStringLiteral("x"),
                        QStringLiteral("1.00"), QString());
        const QString id = column(m_file, "SELECT id FROM data").first();
        db.DeleteRecord(QStringLiteral("someone else"), id);
        QCOMPARE(column(m_file, "SELECT count(*) FROM data"), QStringList{QStringLiteral("1")});
        db.DeleteRecord(QStringLiteral("u"), QStringLiteral(" ") + id + QStringLiteral(" "));
        QCOMPARE(column(m_file, "SELECT count(*) FROM data"), QStringList{QStringLiteral("0")});
        QVERIFY_THROWS_EXCEPTION(DbError, db.DeleteRecord(QStringLiteral("u"), QStringLiteral("1 or 1=1")));
    }

    void missingOrForeignFile_errorNamesTheFile()
    {
        const QString missing = m_dir.filePath(QStringLiteral("nothing.zendb"));
        try {
            TDbMan(missing).GetUserNames();
            QFAIL("no error");
        } catch (const DbError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("nothing.zendb")), qPrintable(e.message()));
        }
        QVERIFY(!QFile::exists(missing));
        const QString text = m_dir.filePath(QStringLiteral("text.zendb"));
        THi::WriteFileText(text, QByteArray(4096, 'x'));
        try {
            TDbMan(text).GetUserNames();
            QFAIL("no error");
        } catch (const DbError& e) {
            QVERIFY2(e.message().contains(QStringLiteral("text.zendb")), qPrintable(e.message()));
        }
    }
};

QTEST_GUILESS_MAIN(TestDbClass)
#include "tst_dbclass.moc"
