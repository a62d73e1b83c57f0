#include "booking/EditRecForm.h"
#include "tests/support/TestEnv.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
// A dialog filled as the edit command fills it, and shown.
std::unique_ptr<TfrmEditRec> shown(const QString& note = QStringLiteral("午饭"))
{
    auto f = std::make_unique<TfrmEditRec>();
    f->FDate = QStringLiteral("2010-01-05");
    f->FCate = QStringLiteral("饭");
    f->FAmount = QStringLiteral("5.00");
    f->FNotes = note;
    f->show();
    return f;
}
} // namespace

class TestEditRec : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testenv::init(); }

    void shown_saveDisabledUntilAnEditChanges()
    {
        auto f = shown();
        QCOMPARE(f->windowTitle(), QStringLiteral("编辑"));
        QCOMPARE(f->dtpDate->date(), QDate(2010, 1, 5));
        QCOMPARE(f->edtCate->text(), QStringLiteral("饭"));
        QCOMPARE(f->edtAmount->text(), QStringLiteral("5.00"));
        QCOMPARE(f->edtNotes->text(), QStringLiteral("午饭"));
        QVERIFY(!f->btnSave->isEnabled());
        f->dtpDate->setDate(QDate(2010, 2, 1));
        QVERIFY(!f->btnSave->isEnabled());
        // A character typed into the note and deleted again: the unchanged values pass the rule.
        QTest::keyClick(f->edtNotes, Qt::Key_A);
        QTest::keyClick(f->edtNotes, Qt::Key_Backspace);
        QCOMPARE(f->edtNotes->text(), QStringLiteral("午饭"));
        QVERIFY(f->btnSave->isEnabled());
    }

    void saveRule_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("5") << "饭" << "5" << true;
        QTest::newRow("0.01") << "饭" << "0.01" << true;
        QTest::newRow("0") << "饭" << "0" << false;
        QTest::newRow("-1") << "饭" << "-1" << false;
        QTest::newRow("0.001") << "饭" << "0.001" << false;
        QTest::newRow("abc") << "饭" << "abc" << false;
        QTest::newRow("empty amount") << "饭" << "" << false;
        QTest::newRow("blank category") << "   " << "5" << false;
    }

    void saveRule()
    {
        QFETCH(QString, category);
        QFETCH(QString, amount);
        auto f = shown();
        f->edtCate->setText(category);
        f->edtAmount->setText(amount);
        QTEST(f->btnSave->isEnabled(), "enabled");
    }

    void save_handsBackTrimmedAndFormatted_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QString>("cateOut");
        QTest::addColumn<QString>("amountOut");
        QTest::addColumn<QString>("noteOut");
        QTest::newRow("whole number") << "饭" << "5" << "x" << "饭" << "5.00" << "x";
        QTest::newRow("one decimal") << "饭" << "12.5" << "x" << "饭" << "12.50" << "x";
        QTest::newRow("blanks around") << "  饭 " << " 3 " << "\t 午饭  " << "饭" << "3.00" << "午饭";
        QTest::newRow("note emptied") << "饭" << "5" << "" << "饭" << "5.00" << "";
    }

    void save_handsBackTrimmedAndFormatted()
    {
        QFETCH(QString, category);
        QFETCH(QString, amount);
        QFETCH(QString, note);
        auto f = shown();
        f->dtpDate->setDate(QDate(2011, 3, 4));
        f->edtCate->setText(category);
        f->edtAmount->setText(amount);
        f->edtNotes->setText(note);
        QTest::mouseClick(f->btnSave, Qt::LeftButton);
        QCOMPARE(f->result(), int(QDialog::Accepted));
        QCOMPARE(f->FDate, QStringLiteral("2011-03-04"));
        QTEST(f->FCate, "cateOut");
        QTEST(f->FAmount, "amountOut");
        QTEST(f->FNotes, "noteOut");
    }

    void cancel_closeBoxAndKeys_leaveTheFields_data()
    {
        QTest::addColumn<int>("how"); // 0 Cancel, 1 close box, 2 Escape then Enter
        QTest::newRow("Cancel") << 0;
        QTest::newRow("close box") << 1;
        QTest::newRow("Escape and Enter close nothing") << 2;
    }

    void cancel_closeBoxAndKeys_leaveTheFields()
    {
        QFETCH(int, how);
        auto f = shown();
        f->edtAmount->setText(QStringLiteral("9"));
        f->edtNotes->setText(QStringLiteral("changed"));
        if (how == 0)
            QTest::mouseClick(f->btnCancel, Qt::LeftButton);
        else if (how == 1)
            f->close();
        else {
            QTest::keyClick(f->edtAmount, Qt::Key_Escape);
            QTest::keyClick(f->edtAmount, Qt::Key_Return);
            QVERIFY(f->isVisible());
            return;
        }
        QVERIFY(!f->isVisible());
        QCOMPARE(f->result(), int(QDialog::Rejected));
        QCOMPARE(f->FDate, QStringLiteral("2010-01-05"));
        QCOMPARE(f->FCate, QStringLiteral("饭"));
        QCOMPARE(f->FAmount, QStringLiteral("5.00"));
        QCOMPARE(f->FNotes, QStringLiteral("午饭"));
    }

    void typing_stopsAt100_butALongerStoredTextStaysWhole()
    {
        auto f = shown();
        f->edtCate->clear();
        QTest::keyClicks(f->edtCate, QString(101, QLatin1Char('c')));
        QCOMPARE(f->edtCate->text().size(), TfrmEditRec::kMaxTyped);

        const QString longNote = QString(150, QChar(0x6587));
        auto g = shown(longNote);
        QCOMPARE(g->edtNotes->text(), longNote);
        g->edtNotes->end(false);
        QTest::keyClick(g->edtNotes, Qt::Key_A);
        QCOMPARE(g->edtNotes->text(), longNote);
        g->edtAmount->setText(QStringLiteral("6"));
        QTest::mouseClick(g->btnSave, Qt::LeftButton);
        QCOMPARE(g->FNotes, longNote);
    }
};

QTEST_MAIN(TestEditRec)
#include "tst_editrec.moc"
