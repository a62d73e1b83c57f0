#include "app/HiClass.h"
#include "app/MainForm.h"
#include "app/ReportView.h"
#include "booking/EditRecForm.h"
#include "browse/MoreInfoForm.h"
#include "browse/TransPage.h"
#include "store/DbClass.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString E = QStringLiteral("支出");
const QString I = QStringLiteral("收入");
const QString anna = QStringLiteral("anna");
const QColor kTint(224, 255, 224);
const QColor kNavy(0, 0, 128);

QStringList row(std::initializer_list<QString> cells)
{
    return QStringList(cells);
}

// anna's ledger, ids in this order:
//   1-40   2010-01-01 .. 2010-01-20, per day 饭 d.00 ("第d天") and 菜 0.50
//   41     2010-01-05 收入 工资 1000.00
//   42     2010-01-15 收入 奖金 300.00
//   43-57  2010-02-01 .. 2010-02-15, 菜 1.00
//   58     2010-03-07 车 5.00, the only record of its day and month
// The record list (2010-01-01 .. 2010-03-31) then has 58 rows: January 0-41 (2010-01-05 at 8-10,
// 2010-01-15 at 29-31), February 42-56, March 57. bob books on the same days.
void fillLedger(const QString& file)
{
    TStringsArray a, b;
    for (int d = 1; d <= 20; ++d) {
        const QString date = QStringLiteral("2010-01-%1").arg(d, 2, 10, QLatin1Char('0'));
        a << QStringList{date, E, QStringLiteral("饭"), QStringLiteral("%1.00").arg(d),
                         QStringLiteral("第%1天").arg(d)};
        a << QStringList{date, E, QStringLiteral("菜"), QStringLiteral("0.50"), QString()};
        b << QStringList{date, E, QStringLiteral("饭"), QStringLiteral("99.00"), QStringLiteral("bob")};
    }
    a << QStringList{QStringLiteral("2010-01-05"), I, QStringLiteral("工资"), QStringLiteral("1000.00"),
                     QString()};
    a << QStringList{QStringLiteral("2010-01-15"), I, QStringLiteral("奖金"), QStringLiteral("300.00"),
                     QString()};
    for (int d = 1; d <= 15; ++d)
        a << QStringList{QStringLiteral("2010-02-%1").arg(d, 2, 10, QLatin1Char('0')), E, QStringLiteral("菜"),
                         QStringLiteral("1.00"), QString()};
    a << QStringList{QStringLiteral("2010-03-07"), E, QStringLiteral("车"), QStringLiteral("5.00"), QString()};
    b << QStringList{QStringLiteral("2010-03-07"), I, QStringLiteral("车"), QStringLiteral("8.00"), QString()};
    TDbMan db(file);
    db.InsertRecords(anna, a);
    db.InsertRecords(QStringLiteral("bob"), b);
}

int rowCount(ReportView* v)
{
    return v->reportModel()->rowCount();
}

QColor background(ReportView* v, int r)
{
    return v->reportModel()->data(v->reportModel()->index(r, 2), Qt::BackgroundRole).value<QColor>();
}

// The rows of the record list painted with the tint.
QList<int> tintedRows(ReportView* v)
{
    QList<int> rows;
    for (int r = 0; r < rowCount(v); ++r)
        if (background(v, r) == kTint)
            rows << r;
    return rows;
}

// Fusion paints a selection a shade off the palette colour.
bool near(const QColor& a, const QColor& b)
{
    return qAbs(a.red() - b.red()) <= 3 && qAbs(a.green() - b.green()) <= 3 && qAbs(a.blue() - b.blue()) <= 3;
}

int topRow(ReportView* v)
{
    return v->indexAt(QPoint(4, 4)).row();
}

QPoint cellPoint(ReportView* v, int r)
{
    v->scrollTo(v->reportModel()->index(r, 2));
    const QRect rect = v->visualRect(v->reportModel()->index(r, 2));
    return QPoint(rect.right() - 3, rect.center().y());
}

// The colour a row is painted with, away from its text.
QColor paintedAt(ReportView* v, int r)
{
    return v->viewport()->grab().toImage().pixelColor(cellPoint(v, r));
}

void click(ReportView* v, int r)
{
    QTest::mouseClick(v->viewport(), Qt::LeftButton, {}, cellPoint(v, r));
}

QString amountColumnCaption(TfrmMoreInfo* f)
{
    return f->lvwRecs->reportModel()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString();
}

// The records of anna as the ledger has them, for "nothing changed" checks.
TStringsArray stored(const QString& file)
{
    return TDbMan(file).QueryPeriod(anna, QStringLiteral("2000-01-01"), QStringLiteral("2099-12-31")).records;
}
} // namespace

class TestTransPage : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_ledger;
    std::unique_ptr<fixtures::MainWindow> m;
    TTransPage* p = nullptr;

    // The main window on the transactions page, searched over January to March 2010.
    void openAndSearch()
    {
        m = fixtures::openMain(m_ledger, anna);
        TfrmMain& w = *m->window;
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        w.rdoTransactions->click();
        p = w.pnlTransactions;
        p->dtpTransDate1->setDate(QDate(2010, 1, 1));
        p->dtpTransDate2->setDate(QDate(2010, 3, 31));
        QTest::mouseClick(p->btnTransSearch, Qt::LeftButton);
        QCOMPARE(rowCount(p->lvwTrans), 58);
    }

    void showCategories()
    {
        p->rdoTransCategories->click();
        QVERIFY(p->lvwInCates->isVisible());
    }

private Q_SLOTS:
    void initTestCase() { testenv::init(); }
    void init()
    {
        m_ledger = fixtures::freshLedger(m_dir.path());
        fillLedger(m_ledger);
    }
    void cleanup()
    {
        if (!m)
            return;
        QVERIFY2(m->prompts.unexpected.isEmpty(), qPrintable(m->prompts.unexpected.join(QLatin1Char('\n'))));
        QVERIFY(!QApplication::overrideCursor());
        m.reset();
        p = nullptr;
    }

    void search_fillsEveryListAndTheTotals()
    {
        openAndSearch();
        TfrmMain& w = *m->window;
        QCOMPARE(w.FPeriodFrom, QDate(2010, 1, 1));
        QCOMPARE(w.FPeriodTo, QDate(2010, 3, 31));
        QCOMPARE(w.FIncomeTotal, 1300.0);
        QCOMPARE(w.FExpenseTotal, 240.0);
        const QString summary = QStringLiteral("收入合计：1300.00    支出合计：240.00    结余合计：1060.00");
        QCOMPARE(p->lblTransTotal->text(), summary);
        QCOMPARE(p->lblCatesTotal->text(), summary);
        QCOMPARE(rowCount(p->lvwDayTotal), 36);
        QCOMPARE(p->lvwDayTotal->reportModel()->row(4), row({"2010-01-05", "1000.00", "5.50"}));
        QCOMPARE(p->lvwMonthTotal->reportModel()->rows(),
                 (TStringsArray{row({"2010-01", "1300.00", "220.00"}), row({"2010-02", "0.00", "15.00"}),
                                row({"2010-03", "0.00", "5.00"})}));
        QCOMPARE(p->lvwTrans->reportModel()->row(8), row({"41", "2010-01-05", "工资", "1000.00", "", ""}));
        QCOMPARE(p->lvwTrans->reportModel()->row(9), row({"9", "2010-01-05", "饭", "", "5.00", "第5天"}));
        QCOMPARE(p->lvwOutCates->reportModel()->rows(),
                 (TStringsArray{row({"支出", "饭", "20", "210.00", "87.50%"}),
                                row({"支出", "菜", "35", "25.00", "10.42%"}),
                                row({"支出", "车", "1", "5.00", "2.08%"})}));
        QCOMPARE(p->lvwInCates->reportModel()->rows(),
                 (TStringsArray{row({"收入", "工资", "1", "1000.00", "76.92%"}),
                                row({"收入", "奖金", "1", "300.00", "23.08%"})}));
        // The id column is there but not shown.
        QVERIFY(p->lvwTrans->isColumnHidden(1));
        QVERIFY(p->btnTransSearch->isEnabled());
        QCOMPARE(QApplication::focusWidget(), p->btnTransSearch);
        QVERIFY(p->btnTransMore->isEnabled());
        QVERIFY(!p->btnTransEdit->isEnabled());
        QVERIFY(p->btnCatesExport->isEnabled());
        QVERIFY(!p->btnMoreInfo->isEnabled());

        // Dates in the wrong order: no search, from the button or from a refresh.
        p->dtpTransDate1->setDate(QDate(2010, 4, 1));
        QVERIFY(!p->btnTransSearch->isEnabled());
        p->btnTransSearchClick(p->btnTransSearch);
        QCOMPARE(rowCount(p->lvwTrans), 58);
        QCOMPARE(w.FPeriodFrom, QDate(2010, 1, 1));

        // Expenses only: the balance is negative.
        p->dtpTransDate1->setDate(QDate(2010, 2, 1));
        p->dtpTransDate2->setDate(QDate(2010, 2, 28));
        QTest::mouseClick(p->btnTransSearch, Qt::LeftButton);
        QCOMPARE(p->lblTransTotal->text(), QStringLiteral("收入合计：0.00    支出合计：15.00    结余合计：-15.00"));
        QCOMPARE(rowCount(p->lvwInCates), 0);
        QCOMPARE(w.FPeriodFrom, QDate(2010, 2, 1));
    }

    void search_failure_leavesNothingStaleAndRestoresTheButton()
    {
        openAndSearch();
        click(p->lvwDayTotal, 3);
        QFile::remove(m_ledger);
        QTest::mouseClick(p->btnTransSearch, Qt::LeftButton);
        const QStringList msgs = m->prompts.messages();
        QCOMPARE(msgs.size(), 1);
        QVERIFY2(msgs[0].contains(QStringLiteral("db.zendb")), qPrintable(msgs[0]));
        QVERIFY(p->btnTransSearch->isEnabled());
        for (ReportView* v : {p->lvwDayTotal, p->lvwMonthTotal, p->lvwTrans, p->lvwInCates, p->lvwOutCates})
            QCOMPARE(rowCount(v), 0);
        QCOMPARE(m->window->FIncomeTotal, 0.0);
        QCOMPARE(p->lblTransTotal->text(), QStringLiteral("收入合计：0.00    支出合计：0.00    结余合计：0.00"));
        QVERIFY(!p->btnTransMore->isEnabled());
    }

    void totalsRow_tintsAndScrollsToItsFirstRecord_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<int>("totalsRow");
        QTest::addColumn<QList<int>>("tinted");
        QTest::newRow("day") << 0 << 14 << QList<int>{29, 30, 31};
        QList<int> february;
        for (int r = 42; r <= 56; ++r)
            february << r;
        QTest::newRow("month") << 1 << 1 << february;
    }

    void totalsRow_tintsAndScrollsToItsFirstRecord()
    {
        QFETCH(int, tab);
        QFETCH(int, totalsRow);
        QFETCH(QList<int>, tinted);
        openAndSearch();
        ReportView* totals = tab == 0 ? p->lvwDayTotal : p->lvwMonthTotal;
        p->TabSet1->setCurrentIndex(tab);
        p->TabSet1Click();
        QVERIFY(totals->isVisible());
        // A record chosen first loses its selection; the buttons are not recomputed by that.
        click(p->lvwTrans, 2);
        QVERIFY(p->btnTransEdit->isEnabled());
        QVERIFY(tintedRows(p->lvwTrans).isEmpty());

        click(totals, totalsRow);
        QCOMPARE(m->window->FSelectedKey, totals->reportModel()->row(totalsRow).value(0));
        QCOMPARE(tintedRows(p->lvwTrans), tinted);
        QCOMPARE(topRow(p->lvwTrans), tinted.first());
        QVERIFY(!p->lvwTrans->hasSelection());
        QVERIFY(p->btnTransEdit->isEnabled());
        QCOMPARE(paintedAt(p->lvwTrans, tinted.first()), kTint);
        // With no record selected the commands do nothing, and ask nothing.
        QTest::mouseClick(p->btnTransDelete, Qt::LeftButton);
        QVERIFY(m->prompts.calls.isEmpty());

        // The other tab changes nothing of it.
        p->TabSet1->setCurrentIndex(1 - tab);
        p->TabSet1Click();
        QCOMPARE(tintedRows(p->lvwTrans), tinted);

        // Unselected again: no tint.
        totals->clearSelectedRow();
        QVERIFY(m->window->FSelectedKey.isEmpty());
        QVERIFY(tintedRows(p->lvwTrans).isEmpty());
    }

    void newSearch_clearsTintAndEverySelection()
    {
        openAndSearch();
        click(p->lvwDayTotal, 14);
        p->TabSet1->setCurrentIndex(1);
        p->TabSet1Click();
        click(p->lvwMonthTotal, 0);
        showCategories();
        click(p->lvwInCates, 0);
        QVERIFY(p->btnMoreInfo->isEnabled());
        p->rdoTransTransactions->click();
        click(p->lvwTrans, 5);
        QVERIFY(!tintedRows(p->lvwTrans).isEmpty());

        QTest::mouseClick(p->btnTransSearch, Qt::LeftButton);
        QVERIFY(m->window->FSelectedKey.isEmpty());
        QVERIFY(tintedRows(p->lvwTrans).isEmpty());
        for (ReportView* v : {p->lvwDayTotal, p->lvwMonthTotal, p->lvwTrans, p->lvwInCates, p->lvwOutCates})
            QVERIFY2(!v->hasSelection(), qPrintable(v->objectName()));
        QVERIFY(!p->btnTransEdit->isEnabled());
        QVERIFY(!p->btnTransDelete->isEnabled());
        // No ranking row is chosen any more, so there are no details to show.
        QVERIFY(!m->window->FActiveCateList);
        QVERIFY(!p->btnMoreInfo->isEnabled());
    }

    void edit_keepsTypeAndRefreshes_data()
    {
        QTest::addColumn<int>("selectRow");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("note");
        QTest::addColumn<int>("newRow"); // where the edited record is listed afterwards, -1: not at all
        QTest::addColumn<QStringList>("cells");
        QTest::addColumn<QString>("summary");

        // A new id: the record moves behind the other expense of its day.
        QTest::newRow("expense, new amount") << 9 << QDate(2010, 1, 5) << "7" << "第5天" << 10
                                             << row({"2010-01-05", "饭", "", "7.00", "第5天"})
                                             << "收入合计：1300.00    支出合计：242.00    结余合计：1058.00";
        QTest::newRow("income, new note") << 8 << QDate(2010, 1, 5) << "1000.00" << "  一月  " << 8
                                          << row({"2010-01-05", "工资", "1000.00", "", "一月"})
                                          << "收入合计：1300.00    支出合计：240.00    结余合计：1060.00";
        QTest::newRow("moved to another day in the period")
            << 9 << QDate(2010, 3, 7) << "5.00" << "" << 57 << row({"2010-03-07", "饭", "", "5.00", ""})
            << "收入合计：1300.00    支出合计：240.00    结余合计：1060.00";
        QTest::newRow("moved out of the period") << 8 << QDate(2011, 1, 5) << "1000.00" << "年初" << -1
                                                 << QStringList()
                                                 << "收入合计：300.00    支出合计：240.00    结余合计：60.00";
    }

    void edit_keepsTypeAndRefreshes()
    {
        QFETCH(int, selectRow);
        QFETCH(QDate, date);
        QFETCH(QString, amount);
        QFETCH(QString, note);
        QFETCH(int, newRow);
        QFETCH(QStringList, cells);
        QFETCH(QString, summary);
        openAndSearch();
        const QStringList before = p->lvwTrans->reportModel()->row(selectRow);
        const QString type = before.value(3).isEmpty() ? E : I;
        p->lvwTrans->selectRow(selectRow);
        m->prompts.questionAnswers << true;
        m->prompts.dialogHandlers << [&](QDialog* d) {
            auto* f = qobject_cast<TfrmEditRec*>(d);
            Q_ASSERT(f);
            // Filled from the row.
            if (f->dtpDate->date() != THi::StrToDateYmd(before.value(1)) ||
                f->edtCate->text() != before.value(2) || f->edtNotes->text() != before.value(5))
                return int(QDialog::Rejected);
            f->dtpDate->setDate(date);
            f->edtAmount->setText(amount);
            f->edtNotes->setText(note);
            QTest::mouseClick(f->btnSave, Qt::LeftButton);
            return f->result();
        };
        QTest::mouseClick(p->btnTransEdit, Qt::LeftButton);
        const auto questions = m->prompts.callsOf(ScriptedPrompts::Kind::Question);
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions[0].caption, QStringLiteral("确认"));
        QCOMPARE(questions[0].text, QStringLiteral("您真的想要编辑它吗？"));
        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Dialog).value(0).caption, QStringLiteral("编辑"));

        QCOMPARE(rowCount(p->lvwTrans), newRow < 0 ? 57 : 58);
        if (newRow >= 0)
            QCOMPARE(p->lvwTrans->reportModel()->row(newRow).mid(1), cells);
        for (const QStringList& r : p->lvwTrans->reportModel()->rows())
            QVERIFY(r.value(0) != before.value(0));
        QCOMPARE(p->lblTransTotal->text(), summary);
        QVERIFY(!p->lvwTrans->hasSelection());
        QVERIFY(!p->btnTransEdit->isEnabled());
        QCOMPARE(QApplication::focusWidget(), p->btnTransSearch);
        // Exactly one row of the record, with its old type.
        const TStringsArray all = stored(m_ledger);
        QCOMPARE(all.size(), 58);
        int found = 0;
        for (const QStringList& r : all)
            if (r.value(1) == THi::DateYmd(date) && r.value(2) == before.value(2) &&
                r.value(type == I ? 3 : 4) == THi::FormatAmount(amount.toDouble()) &&
                r.value(5) == note.trimmed())
                ++found;
        QCOMPARE(found, 1);
    }

    void noAndCancel_changeNothing_data()
    {
        QTest::addColumn<bool>("edit");
        QTest::addColumn<bool>("yes");
        QTest::newRow("edit: No") << true << false;
        QTest::newRow("edit: Yes, then Cancel") << true << true;
        QTest::newRow("delete: No") << false << false;
    }

    void noAndCancel_changeNothing()
    {
        QFETCH(bool, edit);
        QFETCH(bool, yes);
        openAndSearch();
        const TStringsArray before = stored(m_ledger);
        const TStringsArray listed = p->lvwTrans->reportModel()->rows();
        click(p->lvwTrans, 9);
        m->prompts.questionAnswers << yes;
        if (yes) {
            m->prompts.dialogHandlers << [](QDialog* d) {
                auto* f = static_cast<TfrmEditRec*>(d);
                f->edtAmount->setText(QStringLiteral("99"));
                QTest::mouseClick(f->btnCancel, Qt::LeftButton);
                return f->result();
            };
        }
        QTest::mouseClick(edit ? p->btnTransEdit : p->btnTransDelete, Qt::LeftButton);
        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Question).size(), 1);
        QCOMPARE(stored(m_ledger), before);
        QCOMPARE(p->lvwTrans->reportModel()->rows(), listed);
        QCOMPARE(p->lvwTrans->selectedRow(), 9);
        QVERIFY(p->btnTransEdit->isEnabled());
    }

    void delete_onlyRecordOfDayAndMonth()
    {
        openAndSearch();
        click(p->lvwTrans, 57);
        m->prompts.questionAnswers << true;
        QTest::mouseClick(p->btnTransDelete, Qt::LeftButton);
        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Question).value(0).text,
                 QStringLiteral("您真的想要删除它吗？"));
        QCOMPARE(rowCount(p->lvwTrans), 57);
        QCOMPARE(rowCount(p->lvwDayTotal), 35);
        QCOMPARE(p->lvwDayTotal->reportModel()->rows().last().value(0), QStringLiteral("2010-02-15"));
        QCOMPARE(rowCount(p->lvwMonthTotal), 2);
        QCOMPARE(rowCount(p->lvwOutCates), 2);
        QCOMPARE(p->lblCatesTotal->text(), QStringLiteral("收入合计：1300.00    支出合计：235.00    结余合计：1065.00"));
        QCOMPARE(stored(m_ledger).size(), 57);
        // bob's record of that day stays.
        QCOMPARE(TDbMan(m_ledger).QueryCategoryRecords(QStringLiteral("bob"), QStringLiteral("2010-03-07"),
                                                       QStringLiteral("2010-03-07"), I, QStringLiteral("车"))
                     .size(),
                 1);
    }

    void deleteKey_asksLikeTheButton_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("questions");
        QTest::addColumn<int>("rowsAfter");
        QTest::newRow("nothing selected") << false << false << 0 << 58;
        QTest::newRow("No") << true << false << 1 << 58;
        QTest::newRow("Yes") << true << true << 1 << 57;
    }

    void deleteKey_asksLikeTheButton()
    {
        QFETCH(bool, selected);
        QFETCH(bool, yes);
        QFETCH(int, questions);
        QFETCH(int, rowsAfter);
        openAndSearch();
        if (selected)
            click(p->lvwTrans, 3);
        else
            p->lvwTrans->setFocus();
        if (questions)
            m->prompts.questionAnswers << yes;
        QTest::keyClick(p->lvwTrans, Qt::Key_Delete);
        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Question).size(), questions);
        QCOMPARE(rowCount(p->lvwTrans), rowsAfter);
        QCOMPARE(stored(m_ledger).size(), rowsAfter);
        if (yes)
            QCOMPARE(QApplication::focusWidget(), p->btnTransSearch);
    }

    // Another window deleted the record meanwhile: the edit says so and does not bring it back.
    void edit_ofVanishedRecord_failsClearly()
    {
        openAndSearch();
        click(p->lvwTrans, 9);
        TDbMan(m_ledger).DeleteRecord(anna, QStringLiteral("9"));
        m->prompts.questionAnswers << true;
        m->prompts.dialogHandlers << [](QDialog* d) {
            auto* f = static_cast<TfrmEditRec*>(d);
            f->edtAmount->setText(QStringLiteral("7"));
            QTest::mouseClick(f->btnSave, Qt::LeftButton);
            return f->result();
        };
        QTest::mouseClick(p->btnTransEdit, Qt::LeftButton);
        const auto msgs = m->prompts.callsOf(ScriptedPrompts::Kind::Message);
        QCOMPARE(msgs.size(), 1);
        QCOMPARE(msgs[0].icon, Prompts::Icon::Error);
        QVERIFY2(msgs[0].text.contains(QStringLiteral("记录未能修改")) &&
                     msgs[0].text.contains(QStringLiteral("已不存在")),
                 qPrintable(msgs[0].text));
        QCOMPARE(stored(m_ledger).size(), 57);
        QVERIFY(p->btnTransEdit->isEnabled());
    }

    void delete_failure_restoresButtonAndSaysWhatFailed()
    {
        openAndSearch();
        click(p->lvwTrans, 9);
        QFile::remove(m_ledger);
        m->prompts.questionAnswers << true;
        QTest::mouseClick(p->btnTransDelete, Qt::LeftButton);
        const QStringList msgs = m->prompts.messages();
        QCOMPARE(msgs.size(), 1);
        QVERIFY2(msgs[0].contains(QStringLiteral("记录未能删除")) && msgs[0].contains(QStringLiteral("db.zendb")),
                 qPrintable(msgs[0]));
        QVERIFY(p->btnTransDelete->isEnabled());
        QCOMPARE(rowCount(p->lvwTrans), 58);
    }

    void rankings_activeListMarkedAndDetailButton()
    {
        openAndSearch();
        showCategories();
        const QColor base = paintedAt(p->lvwInCates, 1);
        click(p->lvwInCates, 0);
        QCOMPARE(m->window->FActiveCateList, p->lvwInCates);
        QVERIFY(p->btnMoreInfo->isEnabled());
        // Marked navy, also once the focus is elsewhere.
        QVERIFY(near(paintedAt(p->lvwInCates, 0), kNavy));
        p->btnMoreInfo->setFocus();
        QVERIFY(near(paintedAt(p->lvwInCates, 0), kNavy));
        QCOMPARE(paintedAt(p->lvwInCates, 1), base);

        // Into the other list where nothing is selected: no active list, no details, and the income
        // row is no longer shown as selected.
        QTest::mouseClick(p->lvwOutCates->viewport(), Qt::LeftButton, {},
                          QPoint(20, p->lvwOutCates->viewport()->height() - 4));
        QVERIFY(!m->window->FActiveCateList);
        QVERIFY(!p->btnMoreInfo->isEnabled());
        QVERIFY(p->lvwInCates->hasSelection());
        QCOMPARE(paintedAt(p->lvwInCates, 0), base);
        p->btnMoreInfoClick(p->btnMoreInfo);
        QVERIFY(m->prompts.calls.isEmpty());

        // A row of the other list takes over.
        click(p->lvwOutCates, 1);
        QCOMPARE(m->window->FActiveCateList, p->lvwOutCates);
        QVERIFY(p->btnMoreInfo->isEnabled());
        QVERIFY(near(paintedAt(p->lvwOutCates, 1), kNavy));
        QCOMPARE(paintedAt(p->lvwInCates, 0), base);
    }

    void details_listTheCategoryInThePickersRange_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("detail button") << false;
        QTest::newRow("double click") << true;
    }

    void details_listTheCategoryInThePickersRange()
    {
        QFETCH(bool, doubleClick);
        openAndSearch();
        showCategories();
        // The pickers changed after the search: the details follow them, the ranking does not.
        p->dtpTransDate1->setDate(QDate(2010, 1, 18));
        click(p->lvwOutCates, 0);
        QString caption, amountCaption;
        TStringsArray rows;
        QSize size;
        m->prompts.dialogHandlers << [&](QDialog* d) {
            auto* f = qobject_cast<TfrmMoreInfo*>(d);
            Q_ASSERT(f);
            caption = f->windowTitle();
            amountCaption = amountColumnCaption(f);
            rows = f->lvwRecs->reportModel()->rows();
            size = f->size();
            return int(QDialog::Rejected);
        };
        if (doubleClick)
            QTest::mouseDClick(p->lvwOutCates->viewport(), Qt::LeftButton, {}, cellPoint(p->lvwOutCates, 0));
        else
            QTest::mouseClick(p->btnMoreInfo, Qt::LeftButton);
        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Dialog).size(), 1);
        QCOMPARE(caption, QStringLiteral("数量：20  合计：210.00"));
        QCOMPARE(amountCaption, E);
        QCOMPARE(size, QSize(631, 453));
        QCOMPARE(rows, (TStringsArray{row({"2010-01-18", "饭", "18.00", "第18天"}),
                                      row({"2010-01-19", "饭", "19.00", "第19天"}),
                                      row({"2010-01-20", "饭", "20.00", "第20天"})}));
        QVERIFY(p->btnMoreInfo->isEnabled());
        QCOMPARE(QApplication::focusWidget(), p->btnMoreInfo);
        QCOMPARE(rowCount(p->lvwOutCates), 3);

        // An income row: the amount column says so.
        click(p->lvwInCates, 1);
        m->prompts.dialogHandlers << [&](QDialog* d) {
            auto* f = static_cast<TfrmMoreInfo*>(d);
            caption = f->windowTitle();
            amountCaption = amountColumnCaption(f);
            rows = f->lvwRecs->reportModel()->rows();
            return int(QDialog::Rejected);
        };
        p->dtpTransDate1->setDate(QDate(2010, 1, 1));
        QTest::mouseClick(p->btnMoreInfo, Qt::LeftButton);
        QCOMPARE(caption, QStringLiteral("数量：1  合计：300.00"));
        QCOMPARE(amountCaption, I);
        QCOMPARE(rows, (TStringsArray{row({"2010-01-15", "奖金", "300.00", ""})}));
    }

    void moreButton_opensTheMenuAtThePointer()
    {
        openAndSearch();
        QCursor::setPos(m->window->mapToGlobal(QPoint(300, 300)));
        QTest::mouseClick(p->btnTransMore, Qt::LeftButton);
        QVERIFY(p->mnuTransMenu->isVisible());
        QCOMPARE(p->mnuTransMenu->pos(), QCursor::pos());
        p->mnuTransMenu->close();
    }
};

QTEST_MAIN(TestTransPage)
#include "tst_transpage.moc"
