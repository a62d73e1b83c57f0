#include "app/ErrorReport.h"
#include "app/HiClass.h"
#include "app/LoginForm.h"
#include "app/MainForm.h"
#include "store/Backup.h"
#include "store/DbClass.h"
#include "store/Provision.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

using fixtures::bytesOf;
using fixtures::listing;
using fixtures::writeBytes;

using Kind = ScriptedPrompts::Kind;
const QString kFilter = QStringLiteral("*.zendb (*.zendb)");

// Records of `user` over all dates.
int recordCount(const QString& ledger, const QString& user)
{
    SqlDb db(ledger);
    SqlStmt count = db.prepare("SELECT count(*) FROM data WHERE user = ?");
    count.bind(1, THi::EncodeField(user));
    return count.step() ? int(count.integer(0)) : -1;
}

void addBooks(const QString& ledger, const QString& user, int records)
{
    TDbMan db(ledger);
    if (!db.UserExists(user))
        db.AddUser(user, QStringLiteral("pw"));
    TStringsArray rows;
    for (int i = 0; i < records; ++i)
        rows << QStringList{QStringLiteral("2021-05-0%1").arg(i % 9 + 1), kTypeIncome, QStringLiteral("工资"),
                            QStringLiteral("100.00"), QString()};
    db.InsertRecords(user, rows);
}

} // namespace

class TestBackupMenu : public QObject {
    Q_OBJECT
    std::unique_ptr<QTemporaryDir> m_dir;

    // The ledger in the data location with bob's and anna's books; the window is anna's.
    std::unique_ptr<fixtures::MainWindow> openAnna()
    {
        const QString ledger = ProvisionLedger({});
        addBooks(ledger, QStringLiteral("bob"), 2);
        addBooks(ledger, QStringLiteral("anna"), 3);
        auto m = fixtures::openMain(ledger, QStringLiteral("anna"));
        m->window->show();
        return m;
    }
    QString path(const QString& name) const { return m_dir->filePath(name); }

private Q_SLOTS:
    void initTestCase() { testenv::init(); }
    void init()
    {
        const QString folder = QFileInfo(LedgerPath()).path();
        for (const QString& name : listing(folder))
            QFile::remove(QDir(folder).filePath(name));
        m_dir = std::make_unique<QTemporaryDir>();
    }
    void cleanup() { SetErrorPrompts(nullptr); }

    void cancel_doesNothing_data()
    {
        QTest::addColumn<bool>("backup");
        QTest::newRow("backup") << true;
        QTest::newRow("restore") << false;
    }
    void cancel_doesNothing()
    {
        QFETCH(bool, backup);
        auto m = openAnna();
        m->prompts.fileAnswers << QString();
        (backup ? m->window->mnuMenu_Backup : m->window->mnuMenu_Restore)->trigger();
        QCOMPARE(m->prompts.calls.size(), 1);
        QCOMPARE(m->prompts.calls[0].kind, backup ? Kind::SaveFile : Kind::OpenFile);
        QCOMPARE(m->prompts.calls[0].value, kFilter);
        QVERIFY(m->restarts.isEmpty());
        QVERIFY(m->window->isVisible());
        QCOMPARE(listing(m_dir->path()), QStringList());
    }

    void backup_holdsEveryUsersBooks_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("no extension") << QStringLiteral("家庭账本") << QStringLiteral("家庭账本.zendb");
        QTest::newRow("capitals") << QStringLiteral("B.ZENDB") << QStringLiteral("B.ZENDB");
        QTest::newRow("other extension") << QStringLiteral("b.bak") << QStringLiteral("b.bak.zendb");
    }
    void backup_holdsEveryUsersBooks()
    {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        auto m = openAnna();
        m->prompts.fileAnswers << path(typed);
        m->window->mnuMenu_Backup->trigger();

        QCOMPARE(listing(m_dir->path()), QStringList{stored});
        const QString file = path(stored);
        QCOMPARE(LedgerProblem(file), QString());
        QCOMPARE(TDbMan(file).GetUserNames(), QStringLiteral("anna\r\nbob"));
        QCOMPARE(recordCount(file, QStringLiteral("anna")), 3);
        QCOMPARE(recordCount(file, QStringLiteral("bob")), 2);
        const auto messages = m->prompts.callsOf(Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].text, QStringLiteral("成功！"));
        QCOMPARE(messages[0].caption, QStringLiteral("备份"));
        QCOMPARE(messages[0].icon, Prompts::Icon::Information);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(m->prompts.unexpected.isEmpty());
    }

    void backup_extendedNameTaken_asksFirst_data()
    {
        QTest::addColumn<bool>("replace");
        QTest::newRow("yes replaces") << true;
        QTest::newRow("no keeps") << false;
    }
    void backup_extendedNameTaken_asksFirst()
    {
        QFETCH(bool, replace);
        auto m = openAnna();
        writeBytes(path(QStringLiteral("b.zendb")), "an older backup");
        m->prompts.fileAnswers << path(QStringLiteral("b"));
        m->prompts.questionAnswers << replace;
        m->window->mnuMenu_Backup->trigger();

        const auto questions = m->prompts.callsOf(Kind::Question);
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions[0].caption, QStringLiteral("确认"));
        QVERIFY(questions[0].text.contains(QDir::toNativeSeparators(path(QStringLiteral("b.zendb")))));
        QCOMPARE(LedgerProblem(path(QStringLiteral("b.zendb"))).isEmpty(), replace);
        QCOMPARE(m->prompts.messages(), replace ? QStringList{QStringLiteral("成功！")} : QStringList());
        QCOMPARE(listing(m_dir->path()), QStringList{QStringLiteral("b.zendb")});
    }

    void backup_failure_saysWhy()
    {
        auto m = openAnna();
        writeBytes(path(QStringLiteral("folder")), "a file, not a folder");
        const QString target = path(QStringLiteral("folder/b.zendb"));
        m->prompts.fileAnswers << target;
        m->window->mnuMenu_Backup->trigger();

        const auto messages = m->prompts.callsOf(Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].icon, Prompts::Icon::Error);
        QVERIFY2(
            messages[0].text.contains(QStringLiteral("备份到 %1 失败").arg(QDir::toNativeSeparators(target))),
            qPrintable(messages[0].text));
        QVERIFY2(messages[0].text.contains(QStringLiteral("Not a directory")), qPrintable(messages[0].text));
        QVERIFY(!QApplication::overrideCursor());
        QCOMPARE(listing(m_dir->path()), QStringList{QStringLiteral("folder")});
        QVERIFY(m->window->isVisible());
    }

    void restore_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("refusal"); // part of the message; empty: none
        QTest::addColumn<bool>("restarts");
        QTest::newRow("missing file")
            << QStringLiteral("missing") << QStringLiteral("b.zendb") << QString() << false;
        QTest::newRow("other extension")
            << QStringLiteral("ledger") << QStringLiteral("b.db") << QString() << false;
        QTest::newRow("not a ledger") << QStringLiteral("text") << QStringLiteral("b.zendb")
                                      << QStringLiteral("根本不是数据库文件") << false;
        QTest::newRow("another application's database")
            << QStringLiteral("other") << QStringLiteral("b.zendb") << QStringLiteral("另一个程序") << false;
        QTest::newRow("backup") << QStringLiteral("ledger") << QStringLiteral("B.ZENDB") << QString() << true;
        QTest::newRow("blank and quote in the name")
            << QStringLiteral("ledger") << QStringLiteral("家 \"旧\" 账.zendb") << QString() << true;
    }
    void restore()
    {
        QFETCH(QString, kind);
        QFETCH(QString, name);
        QFETCH(QString, refusal);
        QFETCH(bool, restarts);
        auto m = openAnna();
        const QByteArray ledgerBefore = bytesOf(LedgerPath());
        const QString file = path(name);
        if (kind == QLatin1String("ledger")) {
            addBooks(fixtures::freshLedger(m_dir->path(), name), QStringLiteral("carl"), 1);
        } else if (kind == QLatin1String("text")) {
            writeBytes(file, QByteArray("not a ledger\n").repeated(20));
        } else if (kind == QLatin1String("other")) {
            SqlDb(file, SqlDb::Mode::Create).exec("CREATE TABLE users (name, pwd)");
        }
        m->prompts.fileAnswers << file;
        m->window->mnuMenu_Restore->trigger();

        QCOMPARE(m->prompts.callsOf(Kind::OpenFile).size(), 1);
        if (restarts) {
            QCOMPARE(m->restarts.size(), 1);
            const QString parameters = m->restarts[0];
            QVERIFY(parameters.startsWith(QLatin1Char('"')) && parameters.endsWith(QLatin1Char('"')));
            QCOMPARE(QProcess::splitCommand(parameters), QStringList{file});
            QVERIFY(!m->window->isVisible());
        } else {
            QCOMPARE(m->restarts, QStringList());
            QVERIFY(m->window->isVisible());
        }
        const auto messages = m->prompts.callsOf(Kind::Message);
        if (refusal.isEmpty()) {
            QCOMPARE(messages.size(), 0);
        } else {
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages[0].caption, QStringLiteral("恢复"));
            QCOMPARE(messages[0].icon, Prompts::Icon::Warning);
            QVERIFY2(messages[0].text.contains(refusal), qPrintable(messages[0].text));
        }
        // This instance never touches the ledger; the next one puts the file in place.
        QCOMPARE(bytesOf(LedgerPath()), ledgerBefore);
        QVERIFY(!QApplication::overrideCursor());
    }

    void restore_newInstanceListsRestoredUsers()
    {
        const QString source = fixtures::freshLedger(m_dir->path(), QStringLiteral("source.zendb"));
        addBooks(source, QStringLiteral("carl"), 1);
        addBooks(source, QStringLiteral("dora"), 4);
        auto m = openAnna();
        m->prompts.fileAnswers << path(QStringLiteral("taken.zendb"));
        m->window->mnuMenu_Backup->trigger(); // anna's and bob's books
        const QString backup = path(QStringLiteral("restore me.zendb"));
        BackupLedger(source, backup);
        m->prompts.fileAnswers << backup;
        m->window->mnuMenu_Restore->trigger();
        QCOMPARE(m->restarts.size(), 1);
        const QStringList arguments = QProcess::splitCommand(m->restarts[0]);
        m.reset();

        // The new instance, started with the arguments of that command line.
        ScriptedPrompts prompts;
        SetErrorPrompts(&prompts);
        TfrmLogin login(prompts, arguments);
        QStringList names;
        for (int i = 0; i < login.cboUsername->count(); ++i)
            names << login.cboUsername->itemText(i);
        QCOMPARE(names, (QStringList{QStringLiteral("dora"), QStringLiteral("carl")}));
        QCOMPARE(recordCount(LedgerPath(), QStringLiteral("dora")), 4);
        const auto messages = prompts.callsOf(Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("恢复"));
        QCOMPARE(messages[0].icon, Prompts::Icon::Information);

        // The replaced ledger is kept beside it, named in the message.
        QStringList files = listing(QFileInfo(LedgerPath()).path());
        QVERIFY(files.removeOne(QStringLiteral("db.zendb")));
        QCOMPARE(files.size(), 1);
        const QString kept = QDir(QFileInfo(LedgerPath()).path()).filePath(files[0]);
        QVERIFY2(messages[0].text.contains(QDir::toNativeSeparators(kept)), qPrintable(messages[0].text));
        QCOMPARE(TDbMan(kept).GetUserNames(), QStringLiteral("anna\r\nbob"));
        QCOMPARE(recordCount(kept, QStringLiteral("bob")), 2);
    }

    void login_refusesNonLedgerArgument()
    {
        const QString ledger = ProvisionLedger({});
        addBooks(ledger, QStringLiteral("anna"), 1);
        const QByteArray before = bytesOf(ledger);
        const QString file = path(QStringLiteral("fake.zendb"));
        writeBytes(file, QByteArray("SQLite format 3").append('\0').append(QByteArray(500, 'x')));

        ScriptedPrompts prompts;
        SetErrorPrompts(&prompts);
        TfrmLogin login(prompts, {file});

        QCOMPARE(login.cboUsername->currentText(), QStringLiteral("anna"));
        const auto messages = prompts.callsOf(Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("恢复"));
        QCOMPARE(messages[0].icon, Prompts::Icon::Warning);
        QVERIFY2(messages[0].text.contains(QDir::toNativeSeparators(file)), qPrintable(messages[0].text));
        QCOMPARE(bytesOf(ledger), before);
        QCOMPARE(listing(QFileInfo(ledger).path()), QStringList{QStringLiteral("db.zendb")});
    }
};

QTEST_MAIN(TestBackupMenu)
#include "tst_backupmenu.moc"
