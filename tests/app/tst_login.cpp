#include "app/ErrorReport.h"
#include "app/LoginForm.h"
#include "store/DbClass.h"
#include "store/Provision.h"
#include "tests/support/ScriptedPrompts.h"
#include "tests/support/TestEnv.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

class TestLogin : public QObject {
    Q_OBJECT
    ScriptedPrompts* m_prompts = nullptr;

    std::unique_ptr<TfrmLogin> openDialog()
    {
        auto dialog = std::make_unique<TfrmLogin>(*m_prompts, QStringList{});
        dialog->show();
        return dialog;
    }
    static void type(TfrmLogin& d, const QString& name, const QString& password)
    {
        d.cboUsername->setEditText(name);
        d.edtPassword->setText(password);
    }

private Q_SLOTS:
    void initTestCase() { testenv::init(); }
    void init()
    {
        QFile::remove(LedgerPath());
        delete m_prompts;
        m_prompts = new ScriptedPrompts;
        SetErrorPrompts(m_prompts);
    }

    void findUserName_data()
    {
        QTest::addColumn<QString>("names");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("found");
        const QString names = QStringLiteral("anna\r\nBob\r\n云舟");
        QTest::newRow("same") << names << QStringLiteral("anna") << QStringLiteral("anna");
        QTest::newRow("capitals") << names << QStringLiteral("ANNA") << QStringLiteral("anna");
        QTest::newRow("stored capitals") << names << QStringLiteral("bob") << QStringLiteral("Bob");
        QTest::newRow("chinese exact") << names << QStringLiteral("云舟") << QStringLiteral("云舟");
        QTest::newRow("non-ascii not folded") << QStringLiteral("ÄNNA") << QStringLiteral("änna") << QString();
        QTest::newRow("none") << names << QStringLiteral("carl") << QString();
        QTest::newRow("empty list") << QString() << QStringLiteral("anna") << QString();
    }
    void findUserName()
    {
        QFETCH(QString, names);
        QFETCH(QString, typed);
        QFETCH(QString, found);
        QCOMPARE(FindUserNameIn(names, typed), found);
    }

    void submitButton_needsNameAndPasswordNotBlank()
    {
        auto d = openDialog();
        QVERIFY(!d->btnSubmit->isEnabled());
        type(*d, QStringLiteral("  "), QStringLiteral("pw"));
        QVERIFY(!d->btnSubmit->isEnabled());
        type(*d, QStringLiteral("a"), QStringLiteral(" \t"));
        QVERIFY(!d->btnSubmit->isEnabled());
        QTest::keyClick(d->edtPassword, Qt::Key_Return);
        QVERIFY(m_prompts->calls.isEmpty());
        type(*d, QStringLiteral("a"), QStringLiteral("p"));
        QVERIFY(d->btnSubmit->isEnabled());
    }

    void newUser_yesCreatesTrimmedAccount()
    {
        auto d = openDialog();
        QCOMPARE(d->windowTitle(), QStringLiteral("Zendrel - 登陆"));
        QCOMPARE(d->cboUsername->count(), 0);
        type(*d, QStringLiteral("  云舟 "), QStringLiteral(" 1234 "));
        m_prompts->questionAnswers << true;
        QTest::keyClick(d->edtPassword, Qt::Key_Return);
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(d->FUserName, QStringLiteral("云舟"));
        const auto q = m_prompts->callsOf(ScriptedPrompts::Kind::Question);
        QCOMPARE(q.size(), 1);
        QCOMPARE(q[0].caption, QStringLiteral("确认"));
        QCOMPARE(q[0].text, QStringLiteral("您想要创建一个新的用户名称和一个新的用户密码吗？\r\n\r\n- 用户名称：云舟\r\n- 用户密码：1234"));
        QVERIFY(TDbMan(LedgerPath()).CheckLogin(QStringLiteral("云舟"), QStringLiteral("1234")));
    }

    void newUser_noStoresNothing()
    {
        auto d = openDialog();
        type(*d, QStringLiteral("anna"), QStringLiteral("pw"));
        m_prompts->questionAnswers << false;
        d->btnSubmit->click();
        QVERIFY(d->isVisible());
        QVERIFY(d->btnSubmit->isEnabled());
        QCOMPARE(TDbMan(LedgerPath()).GetUserNames(), QString());
    }

    void existingUser_capitalsGiveStoredSpellingAndMoveFirst()
    {
        const QString ledger = ProvisionLedger({});
        TDbMan(ledger).AddUser(QStringLiteral("anna"), QStringLiteral("Pw"));
        TDbMan(ledger).AddUser(QStringLiteral("bob"), QStringLiteral("x"));
        auto d = openDialog();
        QCOMPARE(d->cboUsername->currentText(), QStringLiteral("bob"));
        type(*d, QStringLiteral(" ANNA "), QStringLiteral("Pw"));
        d->btnSubmit->click();
        QCOMPARE(d->result(), int(QDialog::Accepted));
        QCOMPARE(d->FUserName, QStringLiteral("anna"));
        QCOMPARE(TDbMan(ledger).GetUserNames(), QStringLiteral("anna\r\nbob"));
        QVERIFY(TDbMan(ledger).CheckLogin(QStringLiteral("anna"), QStringLiteral("Pw")));
    }

    void wrongPassword_errorAndOrderUnchanged()
    {
        const QString ledger = ProvisionLedger({});
        TDbMan(ledger).AddUser(QStringLiteral("anna"), QStringLiteral("Pw"));
        TDbMan(ledger).AddUser(QStringLiteral("bob"), QStringLiteral("x"));
        auto d = openDialog();
        type(*d, QStringLiteral("anna"), QStringLiteral("pw"));
        d->btnSubmit->click();
        QVERIFY(d->isVisible());
        const auto msgs = m_prompts->callsOf(ScriptedPrompts::Kind::Message);
        QCOMPARE(msgs.size(), 1);
        QCOMPARE(msgs[0].caption, QStringLiteral("错误"));
        QCOMPARE(msgs[0].text, QStringLiteral("错误：无效的密码。"));
        QCOMPARE(msgs[0].icon, Prompts::Icon::Error);
        QCOMPARE(d->edtPassword->text(), QStringLiteral("pw"));
        QCOMPARE(TDbMan(ledger).GetUserNames(), QStringLiteral("bob\r\nanna"));
    }

    void enterInNameMovesToPassword_escapeCancels()
    {
        auto d = openDialog();
        QApplication::setActiveWindow(d.get());
        QVERIFY(QTest::qWaitForWindowActive(d.get()));
        d->cboUsername->setFocus();
        type(*d, QStringLiteral("anna"), QString());
        QTest::keyClick(d->cboUsername->lineEdit(), Qt::Key_Return);
        QTRY_COMPARE(QApplication::focusWidget(), d->edtPassword);
        QTest::keyClick(d->edtPassword, Qt::Key_Escape);
        QCOMPARE(d->result(), int(QDialog::Rejected));
        QCOMPARE(d->FUserName, QString());
    }

    void loginUser_throughPrompts()
    {
        m_prompts->dialogHandlers << [](QDialog* dialog) {
            auto* d = static_cast<TfrmLogin*>(dialog);
            d->btnCancel->click();
            return d->result();
        };
        const LoginResult cancelled = LoginUser(*m_prompts);
        QCOMPARE(cancelled.userName, QString());
        QCOMPARE(cancelled.dbFile, QString());
    }
};

QTEST_MAIN(TestLogin)
#include "tst_login.moc"
