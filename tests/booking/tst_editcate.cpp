#include "app/MainForm.h"
#include "booking/EditCateForm.h"
#include "booking/EntryPage.h"
#include "store/DbClass.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kUser = QStringLiteral("anna");

QStringList entriesOf(const QComboBox* box)
{
    QStringList entries;
    for (int i = 0; i < box->count(); ++i)
        entries << box->itemText(i);
    return entries;
}

TfrmEditCate* editorOf(QDialog* dialog)
{
    auto* d = qobject_cast<TfrmEditCate*>(dialog);
    if (!d)
        qFatal("not the category editor");
    return d;
}

} // namespace

class TestEditCate : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_ledger;

    void prepare(const QString& out, const QString& in)
    {
        TDbMan db(m_ledger);
        db.AddUser(kUser, QStringLiteral("pw"));
        db.SaveCategories(kUser, QStringLiteral("out"), out);
        db.SaveCategories(kUser, QStringLiteral("in"), in);
    }

private Q_SLOTS:
    void initTestCase() { testenv::init(); }
    void init() { m_ledger = fixtures::freshLedger(m_dir.path()); }

    void editor_data()
    {
        QTest::addColumn<bool>("income");
        QTest::addColumn<QString>("action"); // "save", "cancel" or "close"
        QTest::addColumn<QString>("memo");
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QStringList>("entries");

        QTest::newRow("outer empty lines dropped, inner kept")
            << false << "save" << "\n\n  x\n\ny  \n\n" << "x\r\n\r\ny" << QStringList{"x", "", "y"};
        QTest::newRow("repeated lines kept") << false << "save" << "a\na\n b" << "a\r\na\r\n b"
                                             << QStringList{"a", "a", " b"};
        QTest::newRow("empty memo stores the empty list") << false << "save" << "" << "" << QStringList{};
        QTest::newRow("income list") << true << "save" << "工资\n奖金" << "工资\r\n奖金"
                                     << QStringList{"工资", "奖金"};
        QTest::newRow("cancel after a change") << false << "cancel"
                                               << "zzz"
                                               << "饭\r\n车" << QStringList{"饭", "车"};
        QTest::newRow("closed from the title bar") << true << "close" << "zzz" << "薪水" << QStringList{"薪水"};
    }

    void editor()
    {
        QFETCH(bool, income);
        QFETCH(QString, action);
        QFETCH(QString, memo);
        QFETCH(QString, stored);
        QFETCH(QStringList, entries);
        const QString out = QStringLiteral("饭\r\n车"), in = QStringLiteral("薪水");
        prepare(out, in);
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = income ? m->window->pnlIncome : m->window->pnlExpense;
        p->cboCate->setEditText(QStringLiteral("半"));

        m->prompts.dialogHandlers << [&](QDialog* dialog) {
            TfrmEditCate* d = editorOf(dialog);
            [&] {
                QCOMPARE(d->windowTitle(), QStringLiteral("编辑"));
                QCOMPARE(d->btnSave->text(), QStringLiteral("保存(&S)"));
                QCOMPARE(d->btnCancel->text(), QStringLiteral("取消(&C)"));
                QCOMPARE(d->memText->toPlainText(),
                         QString(income ? in : out).replace(QStringLiteral("\r\n"), "\n"));
                QVERIFY(!d->btnSave->isEnabled());
                d->memText->setPlainText(memo);
                QVERIFY(d->btnSave->isEnabled());
            }();
            if (action == QLatin1String("save"))
                QTest::mouseClick(d->btnSave, Qt::LeftButton);
            else if (action == QLatin1String("cancel"))
                QTest::mouseClick(d->btnCancel, Qt::LeftButton);
            else
                d->close();
            return d->result();
        };
        QTest::mouseClick(p->btnEditCates, Qt::LeftButton);

        QVERIFY(m->prompts.dialogHandlers.isEmpty());
        QVERIFY(m->prompts.unexpected.isEmpty());
        const QString list = income ? QStringLiteral("in") : QStringLiteral("out");
        const QString other = income ? QStringLiteral("out") : QStringLiteral("in");
        TDbMan db(m_ledger);
        QCOMPARE(db.GetCategories(kUser, list), stored);
        QCOMPARE(db.GetCategories(kUser, other), income ? out : in);
        QCOMPARE(entriesOf(p->cboCate), entries);
        QCOMPARE(p->cboCate->currentText(), QStringLiteral("半"));
        const auto messages = m->prompts.callsOf(ScriptedPrompts::Kind::Message);
        if (action == QLatin1String("save")) {
            QCOMPARE(messages.size(), 1);
            QCOMPARE(messages[0].text, QStringLiteral("成功！"));
            QCOMPARE(messages[0].caption, QStringLiteral("Zendrel"));
            QCOMPARE(messages[0].icon, Prompts::Icon::Information);
        } else {
            QVERIFY(messages.isEmpty());
        }
        QVERIFY(p->btnEditCates->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
    }

    void editor_startsFromStoredList_anyChangeEnablesSave()
    {
        prepare(QStringLiteral("old"), QString());
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = m->window->pnlExpense;
        // Stored meanwhile, e.g. by another instance: the editor shows what is stored.
        TDbMan(m_ledger).SaveCategories(kUser, QStringLiteral("out"), QStringLiteral("new1\r\nnew2"));

        bool enabledAfterUndo = false;
        QString shown;
        m->prompts.dialogHandlers << [&](QDialog* dialog) {
            TfrmEditCate* d = editorOf(dialog);
            shown = d->memText->toPlainText();
            QTest::keyClick(d->memText, Qt::Key_X);
            QTest::keyClick(d->memText, Qt::Key_Backspace);
            enabledAfterUndo = d->btnSave->isEnabled() && d->memText->toPlainText() == shown;
            QTest::mouseClick(d->btnSave, Qt::LeftButton);
            return d->result();
        };
        QTest::mouseClick(p->btnEditCates, Qt::LeftButton);

        QCOMPARE(shown, QStringLiteral("new1\nnew2"));
        QVERIFY(enabledAfterUndo);
        QCOMPARE(entriesOf(p->cboCate), (QStringList{"new1", "new2"}));
        QCOMPARE(m->prompts.messages(), QStringList{QStringLiteral("成功！")});
    }

    void editor_saveFails_restoresButtonAndKeepsList()
    {
        prepare(QStringLiteral("饭"), QString());
        auto m = fixtures::openMain(m_ledger, kUser);
        TEntryPage* p = m->window->pnlExpense;
        const QString away = m_ledger + QStringLiteral(".away");
        m->prompts.dialogHandlers << [&](QDialog* dialog) {
            TfrmEditCate* d = editorOf(dialog);
            d->memText->setPlainText(QStringLiteral("菜"));
            QFile::rename(m_ledger, away);
            QTest::mouseClick(d->btnSave, Qt::LeftButton);
            return d->result();
        };
        QTest::mouseClick(p->btnEditCates, Qt::LeftButton);

        const auto messages = m->prompts.callsOf(ScriptedPrompts::Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].icon, Prompts::Icon::Error);
        QCOMPARE(entriesOf(p->cboCate), QStringList{QStringLiteral("饭")});
        QVERIFY(p->btnEditCates->isEnabled());
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(QFile::rename(away, m_ledger));
        QCOMPARE(TDbMan(m_ledger).GetCategories(kUser, QStringLiteral("out")), QStringLiteral("饭"));
    }
};

QTEST_MAIN(TestEditCate)
#include "tst_editcate.moc"
