#include "booking/Calculator.h"
#include "booking/CategoryList.h"
#include "tests/support/TestEnv.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestBookingLogic : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testenv::init(); }

    void splitCategoryText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("empty text") << "" << QStringList{};
        QTest::newRow("one") << "饭" << QStringList{"饭"};
        QTest::newRow("CR LF") << "a\r\nb" << QStringList{"a", "b"};
        QTest::newRow("lone CR and LF") << "a\rb\nc" << QStringList{"a", "b", "c"};
        QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
        QTest::newRow("inner empty line") << "a\r\n\r\nb" << QStringList{"a", "", "b"};
        QTest::newRow("blank line") << "a\r\n  \r\nb" << QStringList{"a", "  ", "b"};
        QTest::newRow("break at the end") << "a\r\n" << QStringList{"a"};
        QTest::newRow("empty line at the end") << "a\r\n\r\n" << QStringList{"a", ""};
        QTest::newRow("only a break") << "\r\n" << QStringList{""};
        QTest::newRow("repeated") << "a\r\na" << QStringList{"a", "a"};
    }

    void splitCategoryText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, entries);
        QCOMPARE(SplitCategoryText(text), entries);
    }

    void joinCategoryText_data()
    {
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QString>("text");
        QTest::newRow("none") << QStringList{} << "";
        QTest::newRow("two") << QStringList{"菜", "饭"} << "菜\r\n饭";
        QTest::newRow("inner empty kept") << QStringList{"a", "", "b"} << "a\r\n\r\nb";
        QTest::newRow("outer empties dropped") << QStringList{"", "a", "", ""} << "a";
        QTest::newRow("inner blanks kept") << QStringList{"a ", " b"} << "a \r\n b";
    }

    void joinCategoryText()
    {
        QFETCH(QStringList, entries);
        QFETCH(QString, text);
        QCOMPARE(JoinCategoryText(entries), text);
    }

    void sameCategory_data()
    {
        QTest::addColumn<QString>("a");
        QTest::addColumn<QString>("b");
        QTest::addColumn<bool>("same");
        QTest::newRow("letter case") << "Food" << "fOOD" << true;
        QTest::newRow("blanks and tabs around") << " food\t" << "food" << true;
        QTest::newRow("chinese") << "饭 " << "饭" << true;
        QTest::newRow("inner blank counts") << "fo od" << "food" << false;
        QTest::newRow("only A-Z folded") << "Äpfel" << "äpfel" << false;
        QTest::newRow("full-width letters not folded") << "ＡＢ" << "ａｂ" << false;
        QTest::newRow("different") << "饭" << "菜" << false;
        QTest::newRow("both empty") << "" << "  " << true;
    }

    void sameCategory()
    {
        QFETCH(QString, a);
        QFETCH(QString, b);
        QFETCH(bool, same);
        QCOMPARE(SameCategory(a, b), same);
        QCOMPARE(FindCategory({QStringLiteral("x"), a}, b), same ? 1 : -1);
    }

    void editorCategoryText_data()
    {
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << "" << "";
        QTest::newRow("only blank lines") << "\n  \n\n" << "";
        QTest::newRow("outer empty lines dropped") << "\n\na\nb\n\n" << "a\r\nb";
        QTest::newRow("trimmed as a whole only") << "  a \n\n b \n b " << "a \r\n\r\n b \r\n b";
        QTest::newRow("repeated lines kept") << "a\na\na" << "a\r\na\r\na";
        QTest::newRow("CR LF kept as one break") << "a\r\nb" << "a\r\nb";
    }

    void editorCategoryText()
    {
        QFETCH(QString, memo);
        QFETCH(QString, text);
        QCOMPARE(EditorCategoryText(memo), text);
    }

    void findCalculator_data()
    {
        QTest::addColumn<QStringList>("installed");
        QTest::addColumn<QString>("found");
        QTest::newRow("none") << QStringList{} << "";
        QTest::newRow("the only one") << QStringList{"xcalc"} << "xcalc";
        QTest::newRow("preferred first") << QStringList{"xcalc", "kcalc", "qalculate-gtk"} << "kcalc";
        QTest::newRow("gnome first of all")
            << QStringList{"galculator", "gnome-calculator"} << "gnome-calculator";
        QTest::newRow("not executable") << QStringList{"-kcalc", "xcalc"} << "xcalc";
    }

    void findCalculator()
    {
        QFETCH(QStringList, installed);
        QFETCH(QString, found);
        QTemporaryDir bin;
        for (QString name : installed) {
            const bool executable = !name.startsWith(QLatin1Char('-'));
            name.remove(0, executable ? 0 : 1);
            QFile file(bin.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write("#!/bin/sh\n");
            file.close();
            file.setPermissions(executable ? QFileDevice::ReadOwner | QFileDevice::ExeOwner
                                           : QFileDevice::ReadOwner);
        }
        const QByteArray oldPath = qgetenv("PATH");
        qputenv("PATH", bin.path().toLocal8Bit());
        const QString path = FindCalculator();
        qputenv("PATH", oldPath);
        QCOMPARE(path, found.isEmpty() ? QString() : bin.filePath(found));
    }
};

QTEST_GUILESS_MAIN(TestBookingLogic)
#include "tst_bookinglogic.moc"
