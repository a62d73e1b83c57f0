#include "store/Backup.h"
#include "store/DbClass.h"
#include "store/Provision.h"
#include "store/Sqlite.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

using fixtures::bytesOf;
using fixtures::listing;
using fixtures::writeBytes;

// Every row of the three tables in storage order, opened the way the program opens a ledger.
QStringList dump(const QString& path)
{
    SqlDb db(path);
    QStringList rows;
    const struct {
        const char* sql;
        int columns;
    } tables[] = {{"SELECT name, pwd FROM users ORDER BY rowid", 2},
                  {"SELECT user, [out], [in] FROM cates ORDER BY rowid", 3},
                  {"SELECT id, user, date, type, cate, amount, notes FROM data ORDER BY id", 7}};
    for (const auto& t : tables) {
        SqlStmt stmt = db.prepare(t.sql);
        while (stmt.step()) {
            QStringList fields;
            for (int i = 0; i < t.columns; ++i)
                fields << stmt.text(i);
            rows << fields.join(QLatin1Char('|'));
        }
        rows << QStringLiteral("--");
    }
    return rows;
}

} // namespace

// A ledger with the books of `users`: a few records and category lists each.
static QString makeLedger(const QString& dir, const QString& name, const QStringList& users, int records = 3)
{
    const QString path = fixtures::freshLedger(dir, name);
    TDbMan db(path);
    for (const QString& user : users) {
        db.AddUser(user, QStringLiteral("pw"));
        db.SaveCategories(user, QStringLiteral("out"), user + QStringLiteral("饭\r\n车"));
        TStringsArray rows;
        for (int i = 0; i < records; ++i)
            rows << QStringList{QStringLiteral("2021-03-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0')),
                                kTypeExpense, user + QStringLiteral("饭"), QStringLiteral("%1.25").arg(i + 1),
                                QStringLiteral("备注 %1 ").arg(i).repeated(20)};
        db.InsertRecords(user, rows);
    }
    return path;
}

// Leaves `crashed` as a crash in the middle of a write to `ledger` would: pages of an unfinished
// transaction already in the file and its journal beside it. `ledger` itself keeps its committed state.
static void crashMidWrite(const QString& ledger, const QString& crashed)
{
    SqlDb writer(ledger);
    writer.exec("PRAGMA cache_size=1");
    writer.exec("BEGIN IMMEDIATE");
    writer.exec("INSERT INTO users (name, pwd) VALUES ('dW5maW5pc2hlZA==', 'x')");
    for (int i = 0; i < 300; ++i)
        writer.exec("INSERT INTO data (user, date, type, cate, amount, notes) "
                    "VALUES ('dW5maW5pc2hlZA==', '2022-01-01', 'x', 'x', 1, hex(randomblob(400)))");
    QFile::remove(crashed);
    QFile::remove(crashed + QStringLiteral("-journal"));
    QVERIFY(QFile::copy(ledger, crashed));
    QVERIFY(QFile::copy(ledger + QStringLiteral("-journal"), crashed + QStringLiteral("-journal")));
    writer.exec("ROLLBACK");
    // The unfinished pages really are in the crashed file.
    QVERIFY(bytesOf(crashed) != bytesOf(ledger));
}

// Leaves `crashed` as a ledger in WAL mode whose last commits are only in its -wal file.
static void walWithCommittedFrames(const QString& ledger, const QString& crashed)
{
    SqlDb writer(ledger);
    writer.exec("PRAGMA journal_mode=WAL");
    writer.exec("PRAGMA wal_autocheckpoint=0");
    // Reading keeps the WAL open, so the next writer's close does not fold it back.
    writer.exec("SELECT count(*) FROM users");
    TDbMan(ledger).AddUser(QStringLiteral("in the wal"), QStringLiteral("pw"));
    QFile::remove(crashed);
    QVERIFY(QFile::copy(ledger, crashed));
    QVERIFY(QFile::copy(ledger + QStringLiteral("-wal"), crashed + QStringLiteral("-wal")));
}

// A file named `name` in `dir` of the given kind, for the ledger check.
static QString makeCandidate(const QString& kind, const QString& dir, const QString& name)
{
    const QString path = QDir(dir).filePath(name);
    if (kind == QLatin1String("ledger"))
        return makeLedger(dir, name, {QStringLiteral("anna")});
    if (kind == QLatin1String("missing"))
        return path;
    if (kind == QLatin1String("empty")) {
        writeBytes(path, {});
    } else if (kind == QLatin1String("text")) {
        writeBytes(path, QStringLiteral("这不是账本。\n").repeated(50).toUtf8());
    } else if (kind == QLatin1String("truncated")) {
        makeLedger(dir, name, {QStringLiteral("anna")}, 200);
        const QByteArray whole = bytesOf(path);
        writeBytes(path, whole.left(whole.size() / 2));
    } else if (kind == QLatin1String("other application")) {
        SqlDb db(path, SqlDb::Mode::Create);
        db.exec("PRAGMA application_id=1179603778; CREATE TABLE notes (id INTEGER PRIMARY KEY, body TEXT)");
    } else if (kind == QLatin1String("our tables, no id")) {
        fixtures::freshLedger(dir, name);
        SqlDb(path).exec("PRAGMA application_id=0");
    } else if (kind == QLatin1String("missing table")) {
        fixtures::freshLedger(dir, name);
        SqlDb(path).exec("DROP TABLE data");
    } else if (kind == QLatin1String("missing column")) {
        fixtures::freshLedger(dir, name);
        SqlDb(path).exec("ALTER TABLE data DROP COLUMN notes");
    } else if (kind == QLatin1String("newer format")) {
        fixtures::freshLedger(dir, name);
        SqlDb(path).exec("PRAGMA user_version=2");
    } else if (kind == QLatin1String("damaged page")) {
        makeLedger(dir, name, {QStringLiteral("anna")}, 200);
        qint64 root = 0;
        qint64 pageSize = 0;
        {
            SqlDb db(path);
            SqlStmt r = db.prepare("SELECT rootpage FROM sqlite_schema WHERE name = 'data'");
            r.step();
            root = r.integer(0);
            SqlStmt p = db.prepare("PRAGMA page_size");
            p.step();
            pageSize = p.integer(0);
        }
        QByteArray whole = bytesOf(path);
        whole.replace((root - 1) * pageSize, pageSize, QByteArray(pageSize, '\x5a'));
        writeBytes(path, whole);
    } else {
        qFatal("unknown kind");
    }
    return path;
}

class TestBackup : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testenv::init(); }
    void init()
    {
        const QString folder = QFileInfo(LedgerPath()).path();
        for (const QString& name : listing(folder))
            QFile::remove(QDir(folder).filePath(name));
    }

    void extension_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("used");
        QTest::newRow("no extension") << QStringLiteral("/b/name") << QStringLiteral("/b/name.zendb");
        QTest::newRow("capitals as typed")
            << QStringLiteral("/b/NAME.ZENDB") << QStringLiteral("/b/NAME.ZENDB");
        QTest::newRow("mixed case as typed")
            << QStringLiteral("/b/name.Zendb") << QStringLiteral("/b/name.Zendb");
        QTest::newRow("other extension kept")
            << QStringLiteral("/b/name.bak") << QStringLiteral("/b/name.bak.zendb");
        QTest::newRow("only the last point counts")
            << QStringLiteral("/b/name.zendb.bak") << QStringLiteral("/b/name.zendb.bak.zendb");
        QTest::newRow("folder's point does not count")
            << QStringLiteral("/b/c.zendb/name") << QStringLiteral("/b/c.zendb/name.zendb");
        QTest::newRow("chinese name") << QStringLiteral("/b/账本") << QStringLiteral("/b/账本.zendb");
    }
    void extension()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, used);
        QCOMPARE(WithLedgerExtension(chosen), used);
    }

    void backup_isCompleteLedgerReplacingTarget()
    {
        QTemporaryDir source, target;
        const QString ledger = makeLedger(source.path(), QStringLiteral("db.zendb"),
                                          {QStringLiteral("anna"), QStringLiteral("bob")});
        const QByteArray ledgerBytes = bytesOf(ledger);
        const QString file = target.filePath(QStringLiteral("copy.zendb"));
        writeBytes(file, "an older file under the same name");
        BackupLedger(ledger, file);
        QCOMPARE(dump(file), dump(ledger));
        QCOMPARE(LedgerProblem(file), QString());
        QCOMPARE(TDbMan(file).GetUserNames(), QStringLiteral("bob\r\nanna"));
        // Nothing left beside either file; the ledger untouched.
        QCOMPARE(listing(target.path()), QStringList{QStringLiteral("copy.zendb")});
        QCOMPARE(listing(source.path()), QStringList{QStringLiteral("db.zendb")});
        QCOMPARE(bytesOf(ledger), ledgerBytes);
        QCOMPARE(QFileInfo(file).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
    }

    void backup_failureLeavesNoFileAndSaysWhy_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("reason");
        QTest::newRow("folder missing") << QStringLiteral("folder missing") << QStringLiteral("No such file");
        QTest::newRow("folder is a file")
            << QStringLiteral("folder is a file") << QStringLiteral("Not a directory");
        QTest::newRow("read-only folder")
            << QStringLiteral("read-only folder") << QStringLiteral("Permission denied");
        QTest::newRow("ledger not a database, older file kept")
            << QStringLiteral("ledger not a database") << QStringLiteral("not a database");
    }
    void backup_failureLeavesNoFileAndSaysWhy()
    {
        QFETCH(QString, kind);
        QFETCH(QString, reason);
        QTemporaryDir dir;
        QString ledger = makeLedger(dir.path(), QStringLiteral("db.zendb"), {QStringLiteral("anna")});
        const QString targets = dir.filePath(QStringLiteral("targets"));
        QVERIFY(QDir().mkpath(targets));
        QString target = QDir(targets).filePath(QStringLiteral("b.zendb"));
        if (kind == QLatin1String("folder missing")) {
            target = dir.filePath(QStringLiteral("missing/b.zendb"));
        } else if (kind == QLatin1String("folder is a file")) {
            writeBytes(QDir(targets).filePath(QStringLiteral("file")), "x");
            target = QDir(targets).filePath(QStringLiteral("file/b.zendb"));
        } else if (kind == QLatin1String("read-only folder")) {
            if (::geteuid() == 0)
                QSKIP("the superuser writes into read-only folders");
            QFile::setPermissions(targets, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        } else {
            writeBytes(target, "an older file under the same name");
            ledger = makeCandidate(QStringLiteral("text"), dir.path(), QStringLiteral("text.zendb"));
        }
        const QStringList before = listing(targets);
        const QByteArray targetBefore = bytesOf(target);
        QString message;
        try {
            BackupLedger(ledger, target);
        } catch (const ZError& e) {
            message = e.message();
        }
        QFile::setPermissions(targets,
                              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        QVERIFY2(message.contains(QDir::toNativeSeparators(target)), qPrintable(message));
        QVERIFY2(message.contains(reason), qPrintable(message));
        QCOMPARE(listing(targets), before);
        QCOMPARE(bytesOf(target), targetBefore);
    }

    void ledgerCheck_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("problem"); // a part of the text the user reads; empty: accepted
        QTest::newRow("ledger") << QStringLiteral("ledger") << QString();
        QTest::newRow("missing") << QStringLiteral("missing") << QStringLiteral("不存在");
        QTest::newRow("empty file") << QStringLiteral("empty") << QStringLiteral("根本不是数据库文件");
        QTest::newRow("text file") << QStringLiteral("text") << QStringLiteral("根本不是数据库文件");
        QTest::newRow("truncated ledger") << QStringLiteral("truncated") << QStringLiteral("被截断");
        QTest::newRow("other application")
            << QStringLiteral("other application") << QStringLiteral("另一个程序");
        QTest::newRow("our tables without our id")
            << QStringLiteral("our tables, no id") << QStringLiteral("另一个程序");
        QTest::newRow("missing table")
            << QStringLiteral("missing table") << QStringLiteral("缺少数据表 data");
        QTest::newRow("missing column") << QStringLiteral("missing column") << QStringLiteral("缺少列 notes");
        QTest::newRow("newer format") << QStringLiteral("newer format") << QStringLiteral("更新版本");
        QTest::newRow("damaged page") << QStringLiteral("damaged page") << QStringLiteral("已损坏");
    }
    void ledgerCheck()
    {
        QFETCH(QString, kind);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString path = makeCandidate(kind, dir.path(), QStringLiteral("candidate.zendb"));
        const QByteArray before = bytesOf(path);
        const QStringList files = listing(dir.path());
        const QString found = LedgerProblem(path);
        if (problem.isEmpty()) {
            QCOMPARE(found, QString());
        } else {
            QVERIFY2(found.contains(problem), qPrintable(found));
            QVERIFY2(found.contains(QDir::toNativeSeparators(path)), qPrintable(found));
        }
        // Only read: same bytes, nothing created beside it.
        QCOMPARE(bytesOf(path), before);
        QCOMPARE(listing(dir.path()), files);
    }

    void candidateWithHotJournal_isRecoveredPrivately()
    {
        QTemporaryDir dir, chosen;
        const QString original = makeLedger(dir.path(), QStringLiteral("o.zendb"), {QStringLiteral("anna")});
        const QString candidate = chosen.filePath(QStringLiteral("crashed.zendb"));
        crashMidWrite(original, candidate);
        if (QTest::currentTestFailed())
            return;
        const QString journal = candidate + QStringLiteral("-journal");
        const QByteArray fileBefore = bytesOf(candidate);
        const QByteArray journalBefore = bytesOf(journal);

        QCOMPARE(LedgerProblem(candidate), QString());
        const QString ledger = ProvisionLedger({});
        RestoreLedger(candidate, ledger);

        // The restored ledger holds the last committed state, not the unfinished write.
        QCOMPARE(dump(ledger), dump(original));
        QCOMPARE(bytesOf(candidate), fileBefore);
        QCOMPARE(bytesOf(journal), journalBefore);
        QCOMPARE(listing(chosen.path()),
                 (QStringList{QStringLiteral("crashed.zendb"), QStringLiteral("crashed.zendb-journal")}));
    }

    void keptName()
    {
        QCOMPARE(KeptLedgerName(QStringLiteral("/d/Zendrel/db.zendb"), QStringLiteral("2026-12-11-153012")),
                 QStringLiteral("db-before-restore-2026-12-11-153012.zendb"));
    }

    void restoreOverCrashedLedger_data()
    {
        QTest::addColumn<QString>("side");
        QTest::newRow("hot journal") << QStringLiteral("-journal");
        QTest::newRow("WAL with committed frames") << QStringLiteral("-wal");
    }
    void restoreOverCrashedLedger()
    {
        QFETCH(QString, side);
        QTemporaryDir dir;
        const QString original =
            makeLedger(dir.path(), QStringLiteral("o.zendb"), {QStringLiteral("old")}, 50);
        const QString ledger = LedgerPath();
        if (side == QLatin1String("-journal"))
            crashMidWrite(original, ledger);
        else
            walWithCommittedFrames(original, ledger);
        if (QTest::currentTestFailed())
            return;
        QVERIFY(QFileInfo::exists(ledger + side));
        const QStringList committed = dump(original);
        const QString backup = makeLedger(dir.path(), QStringLiteral("b.zendb"),
                                          {QStringLiteral("anna"), QStringLiteral("bob")});

        const QString kept = RestoreLedger(backup, ledger);

        QCOMPARE(dump(ledger), dump(backup));
        QCOMPARE(LedgerProblem(ledger), QString());
        QCOMPARE(dump(kept), committed);
        QCOMPARE(listing(QFileInfo(ledger).path()),
                 (QStringList{QFileInfo(kept).fileName(), QStringLiteral("db.zendb")}));
    }

    void restoreOverUnreadableLedger_keepsItAsItLies()
    {
        QTemporaryDir dir;
        const QString ledger = LedgerPath();
        const QByteArray garbage =
            QByteArray("SQLite format 3").append('\0').append(QByteArray(8192, '\x7f'));
        writeBytes(ledger, garbage);
        writeBytes(ledger + QStringLiteral("-journal"), QByteArray(1024, '\x01'));
        const QString backup = makeLedger(dir.path(), QStringLiteral("b.zendb"), {QStringLiteral("anna")});

        const QString kept = RestoreLedger(backup, ledger);

        QCOMPARE(dump(ledger), dump(backup));
        QCOMPARE(bytesOf(kept), garbage);
        QVERIFY(!QFileInfo::exists(ledger + QStringLiteral("-journal")));
    }

    void provision_restoresArgument_data()
    {
        QTest::addColumn<bool>("existing");
        QTest::newRow("over a ledger in use") << true;
        QTest::newRow("first start") << false;
    }
    void provision_restoresArgument()
    {
        QFETCH(bool, existing);
        QTemporaryDir dir;
        const QString source = makeLedger(dir.path(), QStringLiteral("s.zendb"),
                                          {QStringLiteral("anna"), QStringLiteral("bob")});
        const QString backup = dir.filePath(QStringLiteral("Backup.ZENDB"));
        BackupLedger(source, backup);
        TDbMan(source).AddUser(QStringLiteral("after the backup"), QStringLiteral("pw"));
        QStringList replaced;
        if (existing) {
            const QString ledger = ProvisionLedger({});
            TDbMan(ledger).AddUser(QStringLiteral("old"), QStringLiteral("pw"));
            replaced = dump(ledger);
        }

        RestoreOutcome outcome;
        const QString ledger = ProvisionLedger({backup, QStringLiteral("ignored")}, &outcome);

        QCOMPARE(ledger, LedgerPath());
        QCOMPARE(outcome.state, RestoreOutcome::State::Restored);
        QCOMPARE(dump(ledger), dump(backup));
        QCOMPARE(TDbMan(ledger).GetUserNames(), QStringLiteral("bob\r\nanna"));
        QCOMPARE(QFileInfo(ledger).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
        QStringList files = listing(QFileInfo(ledger).path());
        QVERIFY(files.removeOne(QStringLiteral("db.zendb")));
        if (!existing) {
            QCOMPARE(files, QStringList());
            return;
        }
        QCOMPARE(files.size(), 1);
        QVERIFY2(QRegularExpression(QStringLiteral("^db-before-restore-\\d{4}-\\d\\d-\\d\\d-\\d{6}\\.zendb$"))
                     .match(files[0])
                     .hasMatch(),
                 qPrintable(files[0]));
        const QString kept = QDir(QFileInfo(ledger).path()).filePath(files[0]);
        QCOMPARE(dump(kept), replaced);
        QVERIFY2(outcome.text.contains(QDir::toNativeSeparators(kept)), qPrintable(outcome.text));
    }

    void provision_refusesNonLedger_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("problem");
        QTest::newRow("not a ledger") << QStringLiteral("text") << QStringLiteral("根本不是数据库文件");
        QTest::newRow("truncated ledger") << QStringLiteral("truncated") << QStringLiteral("被截断");
        QTest::newRow("other application")
            << QStringLiteral("other application") << QStringLiteral("另一个程序");
    }
    void provision_refusesNonLedger()
    {
        QFETCH(QString, kind);
        QFETCH(QString, problem);
        QTemporaryDir dir;
        const QString ledger = ProvisionLedger({});
        TDbMan(ledger).AddUser(QStringLiteral("old"), QStringLiteral("pw"));
        const QByteArray before = bytesOf(ledger);
        const QStringList files = listing(QFileInfo(ledger).path());
        const QString candidate = makeCandidate(kind, dir.path(), QStringLiteral("x.zendb"));

        RestoreOutcome outcome;
        QCOMPARE(ProvisionLedger({candidate}, &outcome), ledger);

        QCOMPARE(outcome.state, RestoreOutcome::State::Refused);
        QVERIFY2(outcome.text.contains(problem), qPrintable(outcome.text));
        QVERIFY2(outcome.text.contains(QStringLiteral("原来的账本保持不变")), qPrintable(outcome.text));
        QCOMPARE(bytesOf(ledger), before);
        QCOMPARE(listing(QFileInfo(ledger).path()), files);
    }
};

QTEST_GUILESS_MAIN(TestBackup)
#include "tst_backup.moc"
