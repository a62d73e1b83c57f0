#include "app/ErrorReport.h"
#include "app/MainForm.h"
#include "app/ReportView.h"
#include "booking/EntryPage.h"
#include "browse/TransPage.h"
#include "store/DbClass.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

class TestMainForm : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_ledger;

private Q_SLOTS:
    void initTestCase() { testenv::init(); }
    void init() { m_ledger = fixtures::freshLedger(m_dir.path()); }

    void stateAfterCreation()
    {
        TDbMan(m_ledger).SaveCategories(QStringLiteral("anna"), QStringLiteral("out"), QStringLiteral("饭\r\n车"));
        auto m = fixtures::openMain(m_ledger, QStringLiteral("anna"));
        TfrmMain& w = *m->window;
        QVERIFY(w.loggedIn());
        QCOMPARE(w.windowTitle(), QStringLiteral("Zendrel - 用户名称：anna"));
        QCOMPARE(w.size(), QSize(700, 525));
        QVERIFY(w.windowFlags() & Qt::FramelessWindowHint);
        QCOMPARE(w.mnuMenu_DeleteUser->text(), QStringLiteral("删除 anna"));
        QVERIFY(w.rdoExpense->isChecked());
        QVERIFY(!w.pnlExpense->isHidden());
        QVERIFY(w.pnlIncome->isHidden());
        QVERIFY(w.pnlTransactions->isHidden());
        for (QPushButton* b : {w.pnlExpense->btnSave, w.pnlExpense->btnEdit, w.pnlExpense->btnDelete,
                               w.pnlIncome->btnSave, w.pnlIncome->btnEdit, w.pnlIncome->btnDelete,
                               w.pnlTransactions->btnTransMore, w.pnlTransactions->btnTransEdit,
                               w.pnlTransactions->btnTransDelete, w.pnlTransactions->btnMoreInfo,
                               w.pnlTransactions->btnCatesExport, w.pnlTransactions->btnCatesPrint})
            QVERIFY2(!b->isEnabled(), qPrintable(b->objectName()));
        QVERIFY(w.pnlTransactions->btnTransSearch->isEnabled());
        const QDate today = QDate::currentDate();
        QCOMPARE(w.pnlExpense->dtpDate->date(), today);
        QCOMPARE(w.pnlIncome->dtpDate->date(), today);
        QCOMPARE(w.pnlTransactions->dtpTransDate1->date(), QDate(today.year(), today.month(), 1));
        QCOMPARE(w.pnlTransactions->dtpTransDate2->date(), today);
        QCOMPARE(w.pnlExpense->lblTotal->text(), QStringLiteral("合计：0.00"));
        QCOMPARE(w.pnlIncome->lblTotal->text(), QStringLiteral("合计：0.00"));
        QCOMPARE(w.pnlTransactions->lblTransTotal->text(),
                 QStringLiteral("收入合计：0.00    支出合计：0.00    结余合计：0.00"));
        QCOMPARE(w.pnlTransactions->lblCatesTotal->text(), w.pnlTransactions->lblTransTotal->text());
        QCOMPARE(w.pnlExpense->cboCate->count(), 2);
        QCOMPARE(w.pnlExpense->cboCate->itemText(0), QStringLiteral("饭"));
        QCOMPARE(w.pnlIncome->cboCate->count(), 0);
        QVERIFY(w.pnlTransactions->rdoTransTransactions->isChecked());
        QVERIFY(!w.pnlTransactions->pnlTransTransactions->isHidden());
        QVERIFY(w.pnlTransactions->pnlTransCategories->isHidden());
        QVERIFY(!w.imgMenu->pixmap().isNull());
    }

    void pageButtonsSwitchPages()
    {
        auto m = fixtures::openMain(m_ledger, QStringLiteral("anna"));
        TfrmMain& w = *m->window;
        w.show();
        QTest::mouseClick(w.rdoTransactions, Qt::LeftButton);
        QVERIFY(w.pnlTransactions->isVisible());
        QVERIFY(!w.pnlExpense->isVisible());
        QTest::mouseClick(w.rdoIncome, Qt::LeftButton);
        QVERIFY(w.pnlIncome->isVisible());
        QVERIFY(!w.pnlTransactions->isVisible());
    }

    void menu_itemsInOrder()
    {
        auto m = fixtures::openMain(m_ledger, QStringLiteral("anna"));
        QStringList texts;
        for (QAction* a : m->window->mnuMenu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        QCOMPARE(texts, (QStringList{QStringLiteral("切换用户"), QStringLiteral("-"), QStringLiteral("修改密码"),
                                     QStringLiteral("删除 anna"), QStringLiteral("-"), QStringLiteral("备份数据"),
                                     QStringLiteral("从备份中恢复数据"), QStringLiteral("-"), QStringLiteral("退出")}));
        QCOMPARE(m->window->mnuMenu->defaultAction(), m->window->mnuMenu_SwitchUser);
    }

    void menuButton_rightButtonDoesNothing()
    {
        auto m = fixtures::openMain(m_ledger, QStringLiteral("anna"));
        TfrmMain& w = *m->window;
        w.show();
        const QImage up = w.imgMenu->pixmap().toImage();
        QTest::mousePress(w.imgMenu, Qt::RightButton);
        QCOMPARE(w.imgMenu->pixmap().toImage(), up);
        QTest::mouseRelease(w.imgMenu, Qt::RightButton);
        QVERIFY(!w.mnuMenu->isVisible());
        QTest::mousePress(w.imgMenu, Qt::LeftButton);
        QVERIFY(w.imgMenu->pixmap().toImage() != up);
    }

    void switchUser_yesRestartsNoStays()
    {
        auto m = fixtures::openMain(m_ledger, QStringLiteral("anna"));
        m->window->show();
        m->prompts.questionAnswers << false << true;
        m->window->mnuMenu_SwitchUser->trigger();
        QVERIFY(m->restarts.isEmpty());
        QVERIFY(m->window->isVisible());
        m->window->mnuMenu_SwitchUser->trigger();
        QCOMPARE(m->restarts, QStringList{QString()});
        QVERIFY(!m->window->isVisible());
        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Question)[0].text, QStringLiteral("您真的想要切换用户吗？"));
    }

    void setPassword_asksAgainWhileBlank()
    {
        auto m = fixtures::openMain(m_ledger, QStringLiteral("anna"));
        m->prompts.inputAnswers << QStringLiteral("  ") << QStringLiteral(" new ");
        m->window->mnuMenu_SetPwd->trigger();
        const auto inputs = m->prompts.callsOf(ScriptedPrompts::Kind::Input);
        QCOMPARE(inputs.size(), 2);
        QCOMPARE(inputs[0].caption, QStringLiteral("修改密码"));
        QCOMPARE(inputs[0].text, QStringLiteral("请输入一个新的密码：          "));
        QVERIFY(TDbMan(m_ledger).CheckLogin(QStringLiteral("anna"), QStringLiteral("new")));
        QCOMPARE(m->prompts.messages(), QStringList{QStringLiteral("成功！")});
        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Message)[0].caption, QStringLiteral("修改密码"));
    }

    void setPassword_cancelChangesNothing()
    {
        auto m = fixtures::openMain(m_ledger, QStringLiteral("anna"));
        m->prompts.inputAnswers << std::nullopt;
        m->window->mnuMenu_SetPwd->trigger();
        QVERIFY(TDbMan(m_ledger).CheckLogin(QStringLiteral("anna"), QStringLiteral("pw")));
        QVERIFY(m->prompts.messages().isEmpty());
    }

    void deleteUser_keepsRecordsAndRestarts()
    {
        TDbMan db(m_ledger);
        db.InsertRecord(QStringLiteral("anna"), QStringLiteral("2020-01-02"), QStringLiteral("支出"),
                        QStringLiteral("x"), QStringLiteral("1.00"), QString());
        auto m = fixtures::openMain(m_ledger, QStringLiteral("anna"));
        m->prompts.questionAnswers << false;
        m->window->mnuMenu_DeleteUser->trigger();
        QVERIFY(db.UserExists(QStringLiteral("anna")));
        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Question)[0].text, QStringLiteral("您真的想要删除 anna 吗？"));
        m->prompts.questionAnswers << true;
        m->window->mnuMenu_DeleteUser->trigger();
        QVERIFY(!db.UserExists(QStringLiteral("anna")));
        QCOMPARE(m->restarts.size(), 1);
        // The records stay; an account of the same name made again owns them.
        db.AddUser(QStringLiteral("anna"), QStringLiteral("again"));
        const TStringsArray kept = db.QueryCategoryRecords(QStringLiteral("anna"), QStringLiteral("2020-01-01"),
                                                           QStringLiteral("2020-12-31"), QStringLiteral("支出"),
                                                           QStringLiteral("x"));
        QCOMPARE(kept, (TStringsArray{{QStringLiteral("2020-01-02"), QStringLiteral("x"), QStringLiteral("1.00"),
                                       QString()}}));
        QVERIFY_THROWS_EXCEPTION(DbError, db.InsertRecords(QStringLiteral("anna"), {{QStringLiteral("bad")}}));
        db.DeleteRecord(QStringLiteral("anna"), QStringLiteral("1"));
        QVERIFY(!db.UserExists(QStringLiteral("nobody")));
    }

    void errorInHandler_isShownAndProgramGoesOn()
    {
        auto m = fixtures::openMain(m_ledger, QStringLiteral("anna"));
        // The ledger disappears behind the program's back.
        QFile::remove(m_ledger);
        m->prompts.inputAnswers << QStringLiteral("new");
        m->window->mnuMenu_SetPwd->trigger();
        const auto msgs = m->prompts.callsOf(ScriptedPrompts::Kind::Message);
        QCOMPARE(msgs.size(), 1);
        QCOMPARE(msgs[0].icon, Prompts::Icon::Error);
        QVERIFY2(msgs[0].text.contains(QStringLiteral("db.zendb")), qPrintable(msgs[0].text));
        QVERIFY(!QApplication::overrideCursor());
        // The window still answers.
        m->prompts.questionAnswers << false;
        m->window->mnuMenu_SwitchUser->trigger();
        QCOMPARE(m->prompts.callsOf(ScriptedPrompts::Kind::Question).size(), 1);
    }

    void missingLedger_windowNotShown()
    {
        ScriptedPrompts prompts;
        MainSeams seams;
        seams.prompts = &prompts;
        seams.login = [this] { return LoginResult{m_dir.filePath(QStringLiteral("gone.zendb")), QStringLiteral("a")}; };
        TfrmMain w(seams);
        QVERIFY(!w.loggedIn());
        seams.login = [this] { return LoginResult{m_ledger, QString()}; };
        TfrmMain cancelled(seams);
        QVERIFY(!cancelled.loggedIn());
    }
};

QTEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
