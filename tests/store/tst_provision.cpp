#include "app/HiClass.h"
#include "store/DbClass.h"
#include "store/Provision.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestProvision : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    static void addUser(const QString& file, const QString& name)
    {
        TDbMan(file).AddUser(name, QStringLiteral("pw"));
    }

private Q_SLOTS:
    void initTestCase() { testenv::init(); }
    void init() { QFile::remove(LedgerPath()); }

    void ledgerLivesInZendrelFolder()
    {
        QCOMPARE(LedgerPath(), QDir::toNativeSeparators(testenv::dataHome() + QStringLiteral("/Zendrel/db.zendb")));
    }

    void fresh_copiesTemplateOwnerOnly()
    {
        const QString path = ProvisionLedger({});
        QVERIFY(QFileInfo(path).isFile());
        QCOMPARE(TDbMan(path).GetUserNames(), QString());
        QCOMPARE(QFileInfo(path).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
        QCOMPARE(QFileInfo(QFileInfo(path).path()).permissions() & (QFileDevice::ReadGroup | QFileDevice::ReadOther),
                 QFileDevice::Permissions());
    }

    void existing_isKept_andReadOnlyCleared()
    {
        const QString path = ProvisionLedger({});
        addUser(path, QStringLiteral("kept"));
        QFile::setPermissions(path, QFileDevice::ReadOwner);
        QCOMPARE(ProvisionLedger({}), path);
        QVERIFY(QFileInfo(path).isWritable());
        QCOMPARE(TDbMan(path).GetUserNames(), QStringLiteral("kept"));
    }

    void argument_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<bool>("replaces");
        QTest::newRow("lower") << QStringLiteral("backup.zendb") << true;
        QTest::newRow("capitals") << QStringLiteral("BACKUP.ZENDB") << true;
        QTest::newRow("other extension") << QStringLiteral("backup.zendb.bak") << false;
        QTest::newRow("no extension") << QStringLiteral("zendb") << false;
    }
    void argument()
    {
        QFETCH(QString, fileName);
        QFETCH(bool, replaces);
        const QString path = ProvisionLedger({});
        addUser(path, QStringLiteral("old"));
        const QString other = fixtures::freshLedger(m_dir.path(), fileName);
        addUser(other, QStringLiteral("restored"));
        ProvisionLedger({other, QStringLiteral("ignored")});
        QCOMPARE(TDbMan(path).GetUserNames(), replaces ? QStringLiteral("restored") : QStringLiteral("old"));
    }

    void argumentNamingNoFile_changesNothing()
    {
        const QString path = ProvisionLedger({});
        addUser(path, QStringLiteral("old"));
        ProvisionLedger({m_dir.filePath(QStringLiteral("missing.zendb"))});
        QCOMPARE(TDbMan(path).GetUserNames(), QStringLiteral("old"));
    }
};

QTEST_GUILESS_MAIN(TestProvision)
#include "tst_provision.moc"
