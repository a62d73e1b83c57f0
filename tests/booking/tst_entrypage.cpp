#include "app/HiClass.h"
#include "app/MainForm.h"
#include "app/ReportView.h"
#include "booking/CategoryList.h"
#include "booking/EntryPage.h"
#include "store/DbClass.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kUser = QStringLiteral("anna");

// What the ledger file really holds: user, date, type, category, amount ("%0.2f"), note, oldest first.
QVector<QStringList> storedRecords(const QString& ledger)
{
    SqlDb db(ledger, SqlDb::Mode::ReadOnly);
    SqlStmt q = db.prepare("SELECT user, date, type, cate, amount, notes FROM data ORDER BY id");
    QVector<QStringList> rows;
    while (q.step())
        rows << QStringList{THi::DecodeField(q.bytes(0)), q.text(1),
                            q.text(2),                    THi::DecodeField(q.bytes(3)),
                            THi::FormatAmount(q.real(4)), THi::DecodeField(q.bytes(5))};
    return rows;
}

TEntryPage* pageOf(TfrmMain& w, bool income)
{
    if (income) {
        w.rdoIncome->setChecked(true);
        w.rdoExpenseClick();
    }
    return income ? w.pnlIncome : w.pnlExpense;
}

void typeRecord(TEntryPage* p, const QString& category, const QString& amount,
                const QString& note = QString()) {
    p->cboCate->setEditText(category);
    p->edtAmount->setText(amount);
    p->edtNotes->setText(note);
}

void addRecord(TEntryPage* p, const QString& category, const QString& amount, const QString& note = QString())
{
    typeRecord(p, category, amount, note);
    QVERIFY(p->btnAdd->isEnabled());
    QTest::mouseClick(p->btnAdd, Qt::LeftButton);
}

const QVector<QStringList>& pending(TEntryPage* p)
{
    return p->lvwRecs->reportModel()->rows();
}

bool focusIn(QWidget* w)
{
    QWidget* f = QApplication::focusWidget();
    return f && (f == w || w->isAncestorOf(f));
}

void pressEnter()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

void activate(TfrmMain& w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

} // namespace

class TestEntryPage : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_ledger;
    QString m_today;

private Q_SLOTS:
    void initTestCase()
    {
        testenv::init();
        m_today = THi::DateYmd(QDate::currentDate());
    }
    void init() { m_ledger = fixtures::freshLedger(m_dir.path()); }

    void addRule_data()
    {
        QTest::addColumn<bool>("income");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("amount");
        QTest::addColumn<QString>("note");
        QTest::addColumn<QStringList>("listed"); // category, amount, note; empty: Add stays disabled

        const QStringList refused;
        QTest::newRow("empty amount") << false << "Food" << "" << "" << refused;
        QTest::newRow("letters") << false << "Food" << "abc" << "" << refused;
        QTest::newRow("thousands separator") << false << "Food" << "1,000" << "" << refused;
        QTest::newRow("decimal comma") << false << "Food" << "12,5" << "" << refused;
        QTest::newRow("zero") << false << "Food" << "0" << "" << refused;
        QTest::newRow("below a cent") << false << "Food" << "0.009" << "" << refused;
        QTest::newRow("negative") << false << "Food" << "-5" << "" << refused;
        QTest::newRow("beyond a double") << false << "Food" << "1e999" << "" << refused;
        QTest::newRow("two numbers") << false << "Food" << "1 2" << "" << refused;
        QTest::newRow("empty category") << false << "" << "5" << "" << refused;
        QTest::newRow("blank category") << false << "  \t " << "5" << "" << refused;
        QTest::newRow("income page refuses too") << true << "工资" << "0" << "" << refused;

        QTest::newRow("one cent") << false << "Food" << "0.01" << "" << QStringList{"Food", "0.01", ""};
        QTest::newRow("blanks trimmed") << false << " Food " << " 12.5 " << "  lunch "
                                        << QStringList{"Food", "12.50", "lunch"};
        QTest::newRow("whole number") << false << "Rent" << "3" << "" << QStringList{"Rent", "3.00", ""};
        QTest::newRow("exponent") << false << "Rent" << "1e3" << "" << QStringList{"Rent", "1000.00", ""};
        QTest::newRow("plus sign") << false << "饭" << "+0.5" << "午饭" << QStringList{"饭", "0.50", "午饭"};
        QTest::newRow("income page") << true << "工资" << "8000008.88" << "x"
                                     << QStringList{"工资", "8000008.88", "x"};
    }

    void addRule()
    {
        QFETCH(bool, income);
        QFETCH(QString, category);
        QFETCH(QString, amount);
        QFETCH(QString, note);
        QFETCH(QStringList, listed);
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = pageOf(*m->window, income);

        typeRecord(p, category, amount, note);
        QCOMPARE(p->btnAdd->isEnabled(), !listed.isEmpty());
        // Enter in the note runs Add, which adds nothing while the rule does not hold.
        p->edtNotes->setFocus();
        QTest::keyClick(p->edtNotes, Qt::Key_Return);

        if (listed.isEmpty()) {
            QVERIFY(pending(p).isEmpty());
            QCOMPARE(p->cboCate->currentText(), category);
            QCOMPARE(p->edtAmount->text(), amount);
        } else {
            const QString type = income ? kTypeIncome : kTypeExpense;
            QCOMPARE(pending(p), (QVector<QStringList>{QStringList{m_today, type} + listed}));
            QCOMPARE(p->lblTotal->text(), QStringLiteral("合计：") + listed[1]);
            QVERIFY(!p->btnAdd->isEnabled());
        }
        QVERIFY(m->prompts.calls.isEmpty());
    }

    void addRule_followsEveryTextChange()
    {
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = m->window->pnlExpense;
        QVERIFY(!p->btnAdd->isEnabled());
        p->edtAmount->setText(QStringLiteral("5"));
        QVERIFY(!p->btnAdd->isEnabled());
        // Choosing a drop-down entry is a change of the category text as well.
        p->cboCate->addItems({QStringLiteral("Food"), QStringLiteral("Rent")});
        p->cboCate->setEditText(QString());
        QVERIFY(!p->btnAdd->isEnabled());
        p->cboCate->setCurrentIndex(1);
        QVERIFY(p->btnAdd->isEnabled());
        p->edtAmount->setText(QStringLiteral("5x"));
        QVERIFY(!p->btnAdd->isEnabled());
        QTest::keyClick(p->edtAmount, Qt::Key_Backspace);
        QVERIFY(p->btnAdd->isEnabled());
    }

    void enterChain_recordByKeyboardAlone_data()
    {
        QTest::addColumn<bool>("income");
        QTest::newRow("expense") << false;
        QTest::newRow("income") << true;
    }

    void enterChain_recordByKeyboardAlone()
    {
        QFETCH(bool, income);
        auto m = fixtures::openMain(m_ledger, kUser);
        TfrmMain& w = *m->window;
        TEntryPage* p = pageOf(w, income);
        activate(w);
        const QDate day(2024, 2, 29);
        p->dtpDate->setDate(day);

        p->dtpDate->setFocus();
        pressEnter();
        QVERIFY(focusIn(p->cboCate));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Food"));
        pressEnter();
        QVERIFY(focusIn(p->edtAmount));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12.5"));
        pressEnter();
        QVERIFY(focusIn(p->edtNotes));
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("lunch"));
        pressEnter();

        const QString type = income ? kTypeIncome : kTypeExpense;
        QCOMPARE(pending(p), (QVector<QStringList>{{"2024-02-29", type, "Food", "12.50", "lunch"}}));
        // Ready for the next record of the same day.
        QVERIFY(focusIn(p->cboCate));
        QVERIFY(p->cboCate->currentText().isEmpty());
        QVERIFY(p->edtAmount->text().isEmpty());
        QVERIFY(p->edtNotes->text().isEmpty());
        QVERIFY(!p->btnAdd->isEnabled());
        QCOMPARE(p->dtpDate->date(), day);
        QVERIFY(p->btnSave->isEnabled());

        // Enter in the note with Add disabled only goes back to the category box.
        p->edtNotes->setFocus();
        QTest::keyClicks(p->edtNotes, QStringLiteral("more"));
        pressEnter();
        QVERIFY(focusIn(p->cboCate));
        QCOMPARE(pending(p).size(), 1);
        QCOMPARE(p->edtNotes->text(), QStringLiteral("more"));

        // Tab from the note reaches Add, and Enter there adds as well.
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Rent"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("3"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(focusIn(p->btnAdd));
        pressEnter();
        QCOMPARE(pending(p).size(), 2);
        QCOMPARE(pending(p)[1], (QStringList{"2024-02-29", type, "Rent", "3.00", "more"}));
        QVERIFY(focusIn(p->cboCate));
        QVERIFY(m->prompts.calls.isEmpty());
    }

    void editTakesRowBack_totalFollows_addAppendsAtEnd()
    {
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = m->window->pnlExpense;
        p->dtpDate->setDate(QDate(2023, 5, 1));
        addRecord(p, QStringLiteral("a"), QStringLiteral("0.10"), QStringLiteral("first"));
        p->dtpDate->setDate(QDate(2023, 5, 2));
        addRecord(p, QStringLiteral("b"), QStringLiteral("0.20"));
        QCOMPARE(p->lblTotal->text(), QStringLiteral("合计：0.30"));
        addRecord(p, QStringLiteral("c"), QStringLiteral("5"));
        QCOMPARE(p->lblTotal->text(), QStringLiteral("合计：5.30"));
        const QStringList first = pending(p)[0];

        p->lvwRecs->selectRow(0);
        QVERIFY(p->btnEdit->isEnabled());
        QVERIFY(p->btnDelete->isEnabled());
        m->prompts.questionAnswers << true;
        QTest::mouseClick(p->btnEdit, Qt::LeftButton);

        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Question)[0].text, QStringLiteral("您真的想要编辑它吗？"));
        QCOMPARE(p->dtpDate->date(), QDate(2023, 5, 1));
        QCOMPARE(p->cboCate->currentText(), QStringLiteral("a"));
        QCOMPARE(p->edtAmount->text(), QStringLiteral("0.10"));
        QCOMPARE(p->edtNotes->text(), QStringLiteral("first"));
        QVERIFY(p->btnAdd->isEnabled());
        QCOMPARE(pending(p).size(), 2);
        QCOMPARE(pending(p)[0][2], QStringLiteral("b"));
        QCOMPARE(p->lblTotal->text(), QStringLiteral("合计：5.20"));
        QVERIFY(!p->btnEdit->isEnabled());
        QVERIFY(!p->btnDelete->isEnabled());

        QTest::mouseClick(p->btnAdd, Qt::LeftButton);
        QCOMPARE(pending(p).size(), 3);
        QCOMPARE(pending(p)[2], first);
        QCOMPARE(p->lblTotal->text(), QStringLiteral("合计：5.30"));
    }

    void deleteKey_asksOnlyWithSelection_data()
    {
        QTest::addColumn<bool>("selected");
        QTest::addColumn<bool>("useKey");
        QTest::newRow("key without selection") << false << true;
        QTest::newRow("key with selection") << true << true;
        QTest::newRow("button") << true << false;
    }

    void deleteKey_asksOnlyWithSelection()
    {
        QFETCH(bool, selected);
        QFETCH(bool, useKey);
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = m->window->pnlExpense;
        addRecord(p, QStringLiteral("a"), QStringLiteral("1"));
        addRecord(p, QStringLiteral("b"), QStringLiteral("2"));
        if (selected)
            p->lvwRecs->selectRow(0);
        m->prompts.questionAnswers << true;
        if (useKey)
            QTest::keyClick(p->lvwRecs, Qt::Key_Delete);
        else
            QTest::mouseClick(p->btnDelete, Qt::LeftButton);

        const auto questions = m->prompts.callsOf(ScriptedPrompts::Kind::Question);
        if (!selected) {
            QVERIFY(questions.isEmpty());
            QCOMPARE(pending(p).size(), 2);
            return;
        }
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions[0].caption, QStringLiteral("确认"));
        QCOMPARE(questions[0].text, QStringLiteral("您真的想要删除它吗？"));
        QCOMPARE(pending(p).size(), 1);
        QCOMPARE(pending(p)[0][2], QStringLiteral("b"));
        QCOMPARE(p->lblTotal->text(), QStringLiteral("合计：2.00"));
        QVERIFY(!p->btnDelete->isEnabled());
        QVERIFY(p->btnSave->isEnabled());
    }

    void answeringNo_changesNothing_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("question");
        QTest::newRow("delete") << "Delete" << "您真的想要删除它吗？";
        QTest::newRow("edit") << "Edit" << "您真的想要编辑它吗？";
        QTest::newRow("save") << "Save" << "您真的想要保存吗？";
    }

    void answeringNo_changesNothing()
    {
        QFETCH(QString, button);
        QFETCH(QString, question);
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = m->window->pnlExpense;
        addRecord(p, QStringLiteral("a"), QStringLiteral("1"), QStringLiteral("n"));
        addRecord(p, QStringLiteral("b"), QStringLiteral("2"));
        typeRecord(p, QStringLiteral("half"), QString(), QStringLiteral("typed"));
        p->lvwRecs->selectRow(1);
        const QVector<QStringList> before = pending(p);

        m->prompts.questionAnswers << false;
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("btnOut") + button), Qt::LeftButton);

        const auto questions = m->prompts.callsOf(ScriptedPrompts::Kind::Question);
        QCOMPARE(questions.size(), 1);
        QCOMPARE(questions[0].text, question);
        QCOMPARE(pending(p), before);
        QCOMPARE(p->lvwRecs->selectedRow(), 1);
        QCOMPARE(p->lblTotal->text(), QStringLiteral("合计：3.00"));
        QCOMPARE(p->cboCate->currentText(), QStringLiteral("half"));
        QVERIFY(p->edtAmount->text().isEmpty());
        QCOMPARE(p->edtNotes->text(), QStringLiteral("typed"));
        QVERIFY(storedRecords(m_ledger).isEmpty());
        QVERIFY(m->prompts.messages().isEmpty());
    }

    void save_writesRowsInListOrder_data()
    {
        QTest::addColumn<bool>("income");
        QTest::newRow("expense") << false;
        QTest::newRow("income") << true;
    }

    void save_writesRowsInListOrder()
    {
        QFETCH(bool, income);
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = pageOf(*m->window, income);
        // A later day first: the list order is kept, not the date order.
        p->dtpDate->setDate(QDate(2024, 3, 2));
        addRecord(p, QStringLiteral("饭"), QStringLiteral("12.5"), QStringLiteral("午饭 \"x\"'"));
        p->dtpDate->setDate(QDate(2024, 3, 1));
        addRecord(p, QStringLiteral("Rent"), QStringLiteral("1e3"));
        addRecord(p, QStringLiteral("饭"), QStringLiteral("0.01"), QStringLiteral("😀"));

        m->prompts.questionAnswers << true;
        QTest::mouseClick(p->btnSave, Qt::LeftButton);

        const QString type = income ? kTypeIncome : kTypeExpense;
        QCOMPARE(storedRecords(m_ledger), (QVector<QStringList>{
                                              {kUser, "2024-03-02", type, "饭", "12.50", "午饭 \"x\"'"},
                                              {kUser, "2024-03-01", type, "Rent", "1000.00", ""},
                                              {kUser, "2024-03-01", type, "饭", "0.01", "😀"},
                                          }));
        QVERIFY(pending(p).isEmpty());
        QCOMPARE(p->lblTotal->text(), QStringLiteral("合计：0.00"));
        QVERIFY(!p->btnSave->isEnabled());
        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Question)[0].caption, QStringLiteral("确认"));
        const auto messages = m->prompts.callsOf(ScriptedPrompts::Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("Zendrel"));
        QCOMPARE(messages[0].icon, Prompts::Icon::Information);
        QCOMPARE(messages[0].text, QStringLiteral("成功！\r\n\r\n想查看收支记录明细，请点击“收支目录”。"));
        QVERIFY(m->prompts.unexpected.isEmpty());
    }

    void saveFails_storesNothing_keepsList_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::newRow("ledger removed") << "removed";
        QTest::newRow("third insert refused") << "trigger";
    }

    void saveFails_storesNothing_keepsList()
    {
        QFETCH(QString, fault);
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = m->window->pnlExpense;
        addRecord(p, QStringLiteral("a"), QStringLiteral("1"));
        addRecord(p, QStringLiteral("b"), QStringLiteral("2"));
        addRecord(p, QStringLiteral("c"), QStringLiteral("3"));
        const QVector<QStringList> before = pending(p);

        const QString away = m_ledger + QStringLiteral(".away");
        if (fault == QLatin1String("removed")) {
            QVERIFY(QFile::rename(m_ledger, away));
        } else {
            SqlDb db(m_ledger);
            db.exec("CREATE TRIGGER full BEFORE INSERT ON data WHEN (SELECT count(*) FROM data) >= 2 "
                    "BEGIN SELECT RAISE(ABORT, 'disk full'); END");
        }
        m->prompts.questionAnswers << true;
        QTest::mouseClick(p->btnSave, Qt::LeftButton);

        const auto messages = m->prompts.callsOf(ScriptedPrompts::Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].icon, Prompts::Icon::Error);
        QVERIFY(!messages[0].text.isEmpty());
        QCOMPARE(pending(p), before);
        QCOMPARE(p->lblTotal->text(), QStringLiteral("合计：6.00"));
        QVERIFY(p->btnSave->isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        // Put right, the second Save stores every record exactly once.
        if (fault == QLatin1String("removed"))
            QVERIFY(QFile::rename(away, m_ledger));
        else
            SqlDb(m_ledger).exec("DROP TRIGGER full");
        QVERIFY(storedRecords(m_ledger).isEmpty());
        m->prompts.questionAnswers << true;
        QTest::mouseClick(p->btnSave, Qt::LeftButton);
        const QVector<QStringList> stored = storedRecords(m_ledger);
        QCOMPARE(stored.size(), 3);
        for (int i = 0; i < 3; ++i)
            QCOMPARE(stored[i].mid(1), before[i]);
        QVERIFY(pending(p).isEmpty());
    }

    void addFails_keepsInputsAndRetriesOnce()
    {
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = m->window->pnlExpense;
        const QString away = m_ledger + QStringLiteral(".away");
        QVERIFY(QFile::rename(m_ledger, away));
        typeRecord(p, QStringLiteral("Food"), QStringLiteral("4"), QStringLiteral("n"));
        QTest::mouseClick(p->btnAdd, Qt::LeftButton);

        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Message).size(), 1);
        QVERIFY(pending(p).isEmpty());
        QCOMPARE(p->cboCate->count(), 0);
        QCOMPARE(p->cboCate->currentText(), QStringLiteral("Food"));
        QCOMPARE(p->edtAmount->text(), QStringLiteral("4"));
        QVERIFY(p->btnAdd->isEnabled());
        QVERIFY(!QApplication::overrideCursor());

        QVERIFY(QFile::rename(away, m_ledger));
        QTest::mouseClick(p->btnAdd, Qt::LeftButton);
        QCOMPARE(pending(p).size(), 1);
        QCOMPARE(TDbMan(m_ledger).GetCategories(kUser, QStringLiteral("out")), QStringLiteral("Food"));
    }

    void categoryLists_data()
    {
        QTest::addColumn<bool>("income");
        QTest::addColumn<QString>("outBefore");
        QTest::addColumn<QString>("inBefore");
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("outAfter");
        QTest::addColumn<QString>("inAfter");

        QTest::newRow("listed in another case") << false << "food\r\nrent"
                                                << ""
                                                << "Food"
                                                << "food\r\nrent"
                                                << "";
        QTest::newRow("listed with blanks") << false << "rent\r\n food "
                                            << ""
                                            << "Food"
                                            << "rent\r\n food "
                                            << "";
        QTest::newRow("new one goes first") << false << "饭\r\n车"
                                            << ""
                                            << "菜"
                                            << "菜\r\n饭\r\n车"
                                            << "";
        QTest::newRow("typed with blanks") << false << "饭"
                                           << ""
                                           << "  菜 "
                                           << "菜\r\n饭"
                                           << "";
        QTest::newRow("first of an empty list") << false << ""
                                                << ""
                                                << "Food"
                                                << "Food"
                                                << "";
        QTest::newRow("only A-Z folded") << false << "Äpfel"
                                         << ""
                                         << "äpfel"
                                         << "äpfel\r\nÄpfel"
                                         << "";
        QTest::newRow("inner empty entry kept") << false << "a\r\n\r\nb"
                                                << ""
                                                << "c"
                                                << "c\r\na\r\n\r\nb"
                                                << "";
        QTest::newRow("expense leaves income list") << false << "x" << "y" << "z" << "z\r\nx" << "y";
        QTest::newRow("income leaves expense list") << true << "x" << "y" << "z" << "x" << "z\r\ny";
        QTest::newRow("income listed already") << true << "z" << "Z" << "z" << "z" << "Z";
    }

    void categoryLists()
    {
        QFETCH(bool, income);
        QFETCH(QString, outBefore);
        QFETCH(QString, inBefore);
        QFETCH(QString, category);
        QFETCH(QString, outAfter);
        QFETCH(QString, inAfter);
        {
            TDbMan db(m_ledger);
            db.AddUser(kUser, QStringLiteral("pw"));
            db.SaveCategories(kUser, QStringLiteral("out"), outBefore);
            db.SaveCategories(kUser, QStringLiteral("in"), inBefore);
        }
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = pageOf(*m->window, income);
        addRecord(p, category, QStringLiteral("1"));

        TDbMan db(m_ledger);
        QCOMPARE(db.GetCategories(kUser, QStringLiteral("out")), outAfter);
        QCOMPARE(db.GetCategories(kUser, QStringLiteral("in")), inAfter);
        QCOMPARE(pending(p)[0][2], THi::Trim(category));
        // The drop-downs, now and after a restart.
        auto again = fixtures::openMain(m_ledger, kUser);
        for (TfrmMain* w : {m->window.get(), again->window.get()}) {
            for (TEntryPage* page : {w->pnlExpense, w->pnlIncome}) {
                QStringList entries;
                for (int i = 0; i < page->cboCate->count(); ++i)
                    entries << page->cboCate->itemText(i);
                QCOMPARE(entries, SplitCategoryText(page == w->pnlExpense ? outAfter : inAfter));
            }
        }
        QVERIFY(m->prompts.calls.isEmpty());
    }

    void addCategoryIfNew_keepsTypedText()
    {
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = m->window->pnlIncome;
        p->cboCate->setEditText(QStringLiteral("half"));
        p->AddCategoryIfNew(QStringLiteral("工资"));
        p->AddCategoryIfNew(QStringLiteral("奖金"));
        QCOMPARE(p->cboCate->currentText(), QStringLiteral("half"));
        QCOMPARE(p->cboCate->itemText(0), QStringLiteral("奖金"));
        QCOMPARE(TDbMan(m_ledger).GetCategories(kUser, QStringLiteral("in")), QStringLiteral("奖金\r\n工资"));
    }

    void help_showsThePageSteps_data()
    {
        QTest::addColumn<bool>("income");
        QTest::newRow("expense") << false;
        QTest::newRow("income") << true;
    }

    void help_showsThePageSteps()
    {
        QFETCH(bool, income);
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = pageOf(*m->window, income);
        QTest::mouseClick(p->btnHelp, Qt::LeftButton);

        QString expected = QStringLiteral("- 例子：\r\n");
        for (QLabel* step : p->lblStep)
            expected += QStringLiteral("  ") + step->text() + QStringLiteral("\r\n");
        expected += QStringLiteral("\r\n- 想查看收支记录明细，请点击“收支目录”。");
        const auto messages = m->prompts.callsOf(ScriptedPrompts::Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("帮助"));
        QCOMPARE(messages[0].icon, Prompts::Icon::Information);
        QCOMPARE(messages[0].text, expected);
        QStringEncoder gb18030("GB18030");
        const QByteArray bytes = gb18030.encode(expected);
        QCOMPARE(bytes.size(), 288);
    }

    void calculator_startsFirstFoundSilently()
    {
        QTemporaryDir bin;
        const QByteArray oldPath = qgetenv("PATH");
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = m->window->pnlExpense;

        // None on the path: nothing happens and nothing is said.
        qputenv("PATH", bin.path().toLocal8Bit());
        QTest::mouseClick(p->btnCalc, Qt::LeftButton);

        const QString marker = bin.filePath(QStringLiteral("started"));
        for (const char* name : {"galculator", "xcalc"}) {
            QFile script(bin.filePath(QString::fromLatin1(name)));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(QByteArray("#!/bin/sh\necho ") + name + " > '" + marker.toLocal8Bit() + "'\n");
            script.close();
            script.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
        }
        QTest::mouseClick(p->btnCalc, Qt::LeftButton);
        qputenv("PATH", oldPath);

        auto started = [&marker] {
            QFile file(marker);
            return file.open(QIODevice::ReadOnly) ? file.readAll().trimmed() : QByteArray();
        };
        QTRY_COMPARE(started(), QByteArray("galculator"));
        QVERIFY(m->prompts.calls.isEmpty());
    }
};

QTEST_MAIN(TestEntryPage)
#include "tst_entrypage.moc"
