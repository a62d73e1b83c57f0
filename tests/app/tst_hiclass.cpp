#include "app/Errors.h"
#include "app/HiClass.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QTemporaryDir>
#include <QTest>

class TestHiClass : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { testenv::init(); }

    void encodeField_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("expected");
        QTest::newRow("empty") << QString() << QString();
        QTest::newRow("ascii") << QStringLiteral("food") << QStringLiteral("Zm9vZA==");
        // GBK bytes of 云舟: D4 C6 D6 DB
        QTest::newRow("gbk") << QStringLiteral("云舟") << QStringLiteral("1MbW2w==");
        QTest::newRow("crlf inside") << QStringLiteral("a\r\nb") << QStringLiteral("YQ0KYg==");
        // 60 bytes: more than one 76-character line of Base64, still one line.
        QTest::newRow("long") << QString(60, QLatin1Char('x')) << QString::fromLatin1(QByteArray(60, 'x').toBase64());
    }
    void encodeField()
    {
        QFETCH(QString, text);
        QFETCH(QString, expected);
        const QString encoded = THi::EncodeField(text);
        QCOMPARE(encoded, expected);
        QVERIFY(!encoded.contains(QLatin1Char('\n')) && !encoded.contains(QLatin1Char('\r')));
        QCOMPARE(THi::DecodeField(encoded), text);
    }

    void encodeField_outsideGbkRoundTrips()
    {
        // An emoji and a rare CJK extension-B character are not in GBK but are kept by GB18030.
        const QString text = QStringLiteral("备注 😀 𠀋");
        QCOMPARE(THi::DecodeField(THi::EncodeField(text)), text);
    }

    void strToDateYmd_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QDate>("expected");
        QTest::newRow("plain") << QStringLiteral("2009-08-17") << QDate(2009, 8, 17);
        QTest::newRow("leap day") << QStringLiteral("2012-02-29") << QDate(2012, 2, 29);
        QTest::newRow("no leap day") << QStringLiteral("2009-02-29") << QDate();
        QTest::newRow("30 feb") << QStringLiteral("2009-02-30") << QDate();
        QTest::newRow("dotted") << QStringLiteral("17.08.2009") << QDate();
        QTest::newRow("trailing text") << QStringLiteral("2009-08-17x") << QDate();
        QTest::newRow("empty") << QString() << QDate();
        QTest::newRow("month 13") << QStringLiteral("2009-13-01") << QDate();
    }
    void strToDateYmd()
    {
        QFETCH(QString, text);
        QFETCH(QDate, expected);
        if (expected.isValid()) {
            QCOMPARE(THi::StrToDateYmd(text), expected);
        } else {
            QVERIFY_THROWS_EXCEPTION(ConvertError, THi::StrToDateYmd(text));
        }
    }

    void strToDateEx_otherOrder()
    {
        QCOMPARE(THi::StrToDateEx(QStringLiteral("17.08.2009"), QStringLiteral("dd.mm.yyyy"), QStringLiteral(".")),
                 QDate(2009, 8, 17));
    }

    void trim_removesControlsAndBlanksOnly()
    {
        QCOMPARE(THi::Trim(QStringLiteral(" \t\r\n 饭 钱 \x01")), QStringLiteral("饭 钱"));
        QCOMPARE(THi::LowerAscii(QStringLiteral("FoodÄ云")), QStringLiteral("foodÄ云"));
    }

    void formatAmount_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("two decimals") << 12.5 << QStringLiteral("12.50");
        QTest::newRow("no grouping") << 1234567.891 << QStringLiteral("1234567.89");
        QTest::newRow("negative") << -35.0 << QStringLiteral("-35.00");
        QTest::newRow("hair below zero") << (0.1 + 0.2 - 0.3 - 0.0000000001) << QStringLiteral("0.00");
    }
    void formatAmount()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(THi::FormatAmount(value), text);
    }

    void appPathEndsWithSeparator()
    {
        QCOMPARE(THi::AppPath(), THi::AppDir() + QDir::separator());
    }

    void appDataDir_createsOnceOwnerOnly()
    {
        const QString first = THi::AppDataDir(QStringLiteral("ZendrelTest"));
        QVERIFY(QFileInfo(first).isDir());
        QVERIFY(first.startsWith(testenv::dataHome()));
        QCOMPARE(THi::AppDataDir(QStringLiteral("ZendrelTest")), first);
        QCOMPARE(QFileInfo(first).permissions() & (QFileDevice::ReadOther | QFileDevice::ReadGroup),
                 QFileDevice::Permissions());
        QCoreApplication::setApplicationName(QStringLiteral("TitleName"));
        QVERIFY(THi::AppDataDir(QString()).endsWith(QStringLiteral("TitleName")));
    }

    void writeAndReadFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.txt"));
        THi::WriteFileText(path, QByteArray("one\r\ntwo"));
        QCOMPARE(THi::ReadFileText(path), QByteArray("one\r\ntwo"));
        QVERIFY_THROWS_EXCEPTION(FileError, THi::ReadFileText(dir.filePath(QStringLiteral("missing"))));
        QVERIFY_THROWS_EXCEPTION(FileError, THi::WriteFileText(dir.filePath(QStringLiteral("no/such/dir/x")), "x"));
    }

    void runProgram_stripsQuotesAndFallsBackToCurrentDir()
    {
        QTemporaryDir dir;
        const QString marker = dir.filePath(QStringLiteral("made by child"));
        QVERIFY(THi::RunProgram(QStringLiteral("\"/usr/bin/touch\""), QStringLiteral("\"%1\"").arg(marker),
                                QStringLiteral("/no/such/dir"), 1));
        QTRY_VERIFY(QFileInfo::exists(marker));
        QVERIFY(!THi::RunProgram(QStringLiteral("/no/such/program"), QString(), QString(), 1));
    }

    void makeButtonsFlat_ignoresNonWindows()
    {
        QObject plain;
        THi::MakeButtonsFlat(&plain);
        THi::MakeButtonsFlat(nullptr);
    }
};

QTEST_GUILESS_MAIN(TestHiClass)
#include "tst_hiclass.moc"
