// The print and export commands of the transactions page, run through the main window with the
// dialogs answered by script: the preview and its paging, printing a page range, the exports'
// save dialog, messages and failures.
#include "app/MainForm.h"
#include "app/ReportView.h"
#include "browse/TransPage.h"
#include "output/OutputCommands.h"
#include "output/PrintForm.h"
#include "tests/output/SheetReader.h"
#include "tests/support/Fixtures.h"
#include "tests/support/TestEnv.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScreen>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

namespace {

const QString kIncome = QStringLiteral("收入");
const QString kExpense = QStringLiteral("支出");

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed>").arg(program);
    return QString::fromUtf8(p.readAllStandardOutput());
}

using Kind = ScriptedPrompts::Kind;

} // namespace

class TestOutputCommands : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;
    QString m_ledger;
    std::unique_ptr<fixtures::MainWindow> m_main;

    TfrmMain& w() { return *m_main->window; }
    TTransPage& page() { return *m_main->window->pnlTransactions; }
    ScriptedPrompts& prompts() { return m_main->prompts; }

    // As a search would leave it: the period, its totals and the lists.
    void fill(int records, int income, int expense) {
        w().FPeriodFrom = QDate(2024, 1, 1);
        w().FPeriodTo = QDate(2024, 1, 31);
        w().FIncomeTotal = 10;
        w().FExpenseTotal = 45;
        QVector<QStringList> rows;
        for (int i = 0; i < records; ++i)
            rows << QStringList{QString::number(i + 1),
                                QStringLiteral("2024-01-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0')),
                                QStringLiteral("rec%1").arg(i),
                                QString(),
                                QStringLiteral("1.00"),
                                QString()};
        page().lvwTrans->reportModel()->setRows(rows);
        rows.clear();
        for (int i = 0; i < income; ++i)
            rows << QStringList{kIncome, QStringLiteral("in%1").arg(i), "1", "10.00", "50.00%"};
        page().lvwInCates->reportModel()->setRows(rows);
        rows.clear();
        for (int i = 0; i < expense; ++i)
            rows << QStringList{kExpense, QStringLiteral("out%1").arg(i), "1", "22.50", "50.00%"};
        page().lvwOutCates->reportModel()->setRows(rows);
        w().UpdateButtons();
    }

    QAction* action(const QString& name) { return page().findChild<QAction*>(name); }

private Q_SLOTS:
    void initTestCase() {
        testenv::init();
        m_ledger = fixtures::freshLedger(m_dir.path());
    }
    void init() {
        m_main = fixtures::openMain(m_ledger, QStringLiteral("anna"));
        w().show();
    }
    void cleanup() {
        QVERIFY2(prompts().unexpected.isEmpty(), qPrintable(prompts().unexpected.join(QLatin1Char('\n'))));
        QVERIFY(!QApplication::overrideCursor());
        m_main.reset();
    }

    void exports_writeFileAndSaySo_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("firstCategory");
        QTest::newRow("rankings to xlsx") << "mnuCatesExport_ToXls"
                                          << "*.xlsx (*.xlsx)"
                                          << "r"
                                          << "r.xlsx"
                                          << "in0";
        QTest::newRow("records to xlsx") << "btnTransMore_ToXls"
                                         << "*.xlsx (*.xlsx)"
                                         << "t.XLSX"
                                         << "t.XLSX"
                                         << "rec0";
        QTest::newRow("rankings to html") << "mnuCatesExport_ToHtml"
                                          << "*.html (*.html)"
                                          << "r.htm"
                                          << "r.htm.html"
                                          << "in0";
        QTest::newRow("records to html") << "btnTransMore_ToHtml"
                                         << "*.html (*.html)"
                                         << "t"
                                         << "t.html"
                                         << "rec0";
    }
    void exports_writeFileAndSaySo() {
        QFETCH(QString, command);
        QFETCH(QString, filter);
        QFETCH(QString, typed);
        QFETCH(QString, written);
        QFETCH(QString, firstCategory);
        fill(3, 2, 1);
        QTemporaryDir dir;
        prompts().fileAnswers << dir.filePath(typed);
        action(command)->trigger();

        const auto saves = prompts().callsOf(Kind::SaveFile);
        QCOMPARE(saves.size(), 1);
        QCOMPARE(saves[0].value, filter);
        const QString file = dir.filePath(written);
        const auto messages = prompts().callsOf(Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].caption, QStringLiteral("Zendrel"));
        QCOMPARE(messages[0].icon, Prompts::Icon::Information);
        QCOMPARE(messages[0].text, QStringLiteral("成功！\r\n\r\n") + QDir::toNativeSeparators(file));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
        if (written.endsWith(QLatin1String(".html"))) {
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadOnly));
            const QString page = QString::fromUtf8(f.readAll());
            QVERIFY(page.contains(QStringLiteral("<td>%1</td>").arg(firstCategory)));
            QVERIFY(page.contains(QStringLiteral("anna (2024-01-01 至 2024-01-31)")));
        } else {
            const sheet::Sheet s = sheet::read(file);
            QVERIFY2(s.ok, qPrintable(s.error));
            QCOMPARE(s.rows[2]["B"].text, firstCategory);
            QCOMPARE(s.rows[s.rows.lastKey()]["B"].text, QStringLiteral("结余合计：-35.00"));
        }
    }

    void exports_cancelDoesNothing_data() {
        QTest::addColumn<QString>("command");
        for (const char* c :
             {"mnuCatesExport_ToXls", "btnTransMore_ToXls", "mnuCatesExport_ToHtml", "btnTransMore_ToHtml"})
            QTest::newRow(c) << QString::fromLatin1(c);
    }
    void exports_cancelDoesNothing() {
        QFETCH(QString, command);
        fill(3, 2, 1);
        prompts().fileAnswers << QString();
        action(command)->trigger();
        QCOMPARE(prompts().calls.size(), 1); // the save dialog, nothing after it
        QCOMPARE(prompts().calls[0].kind, Kind::SaveFile);
    }

    void exports_unwritableFolder_reportedNoFile_data() { exports_cancelDoesNothing_data(); }
    void exports_unwritableFolder_reportedNoFile() {
        QFETCH(QString, command);
        fill(3, 2, 1);
        QTemporaryDir dir;
        const QString target = dir.filePath(QStringLiteral("missing/out"));
        prompts().fileAnswers << target;
        action(command)->trigger();
        const auto messages = prompts().callsOf(Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].icon, Prompts::Icon::Error);
        QVERIFY2(messages[0].text.contains(QStringLiteral("无法写入文件")) &&
                     messages[0].text.contains(target),
                 qPrintable(messages[0].text));
        QVERIFY(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden).isEmpty());
    }

    void print_opensPreviewOfTheReport_data() {
        QTest::addColumn<bool>("rankings");
        QTest::addColumn<int>("pages");
        QTest::newRow("rankings") << true << 2; // 50 + 10 rows
        QTest::newRow("records") << false << 5; // 209 rows
    }
    void print_opensPreviewOfTheReport() {
        QFETCH(bool, rankings);
        QFETCH(int, pages);
        rankings ? fill(0, 50, 10) : fill(209, 0, 0);
        QPushButton* button = page().btnCatesPrint;
        struct Seen {
            bool preview = false;
            QString title, status;
            QRect geometry;
            bool buttonEnabled = false;
            QSize pageSize;
        } seen;
        prompts().dialogHandlers << [&](QDialog* d) {
            if (auto* p = qobject_cast<TfrmPrint*>(d))
                seen = {true,
                        p->windowTitle(),
                        p->lblStatus->text(),
                        p->frameGeometry(),
                        button->isEnabled(),
                        p->pageView->size()};
            return int(QDialog::Rejected);
        };
        if (rankings) {
            QVERIFY(button->isEnabled());
            QTest::mouseClick(button, Qt::LeftButton);
        } else {
            action(QStringLiteral("btnTransMore_Print"))->trigger();
        }
        QVERIFY(seen.preview);
        QCOMPARE(seen.title, QStringLiteral("打印"));
        QCOMPARE(seen.status, QStringLiteral("第 1 页 / 共 %1 页").arg(pages));
        QCOMPARE(seen.geometry, w().screen()->availableGeometry()); // the frame included
        QVERIFY(seen.pageSize.width() > 700 && seen.pageSize.height() > 1000);
        if (rankings) {
            QVERIFY(button->isEnabled());
            QVERIFY(!seen.buttonEnabled); // the ranking report's button waits for the preview
            QCOMPARE(w().focusWidget(), button);
        }
    }

    void preview_pageButtons_data() {
        QTest::addColumn<int>("records");
        QTest::addColumn<QStringList>("clicks");
        QTest::addColumn<QList<int>>("pages"); // after each click
        QTest::newRow("five pages: start") << 260 << QStringList{} << QList<int>{};
        QTest::newRow("next, next, previous")
            << 260 << QStringList{"next", "next", "prev"} << QList<int>{2, 3, 2};
        QTest::newRow("last, next stays") << 260 << QStringList{"last", "next"} << QList<int>{5, 5};
        QTest::newRow("previous on first stays") << 260 << QStringList{"prev"} << QList<int>{1};
        QTest::newRow("last then first") << 260 << QStringList{"last", "first"} << QList<int>{5, 1};
        QTest::newRow("keys") << 260 << QStringList{"PgDown", "PgDown", "End", "PgUp", "Home"}
                              << QList<int>{2, 3, 5, 4, 1};
        QTest::newRow("one page: every button stays")
            << 10 << QStringList{"next", "last", "prev", "first"} << QList<int>{1, 1, 1, 1};
    }
    void preview_pageButtons() {
        QFETCH(int, records);
        QFETCH(QStringList, clicks);
        QFETCH(QList<int>, pages);
        fill(records, 0, 0);
        const int count = (records + 51) / 52;
        QStringList statuses;
        QList<int> shown;
        prompts().dialogHandlers << [&](QDialog* d) {
            auto* p = qobject_cast<TfrmPrint*>(d);
            if (!p)
                return int(QDialog::Rejected);
            const QMap<QString, QToolButton*> buttons = {{"first", p->btnFirstPage},
                                                         {"prev", p->btnPrevPage},
                                                         {"next", p->btnNextPage},
                                                         {"last", p->btnLastPage}};
            const QMap<QString, Qt::Key> keys = {{"Home", Qt::Key_Home},
                                                 {"PgUp", Qt::Key_PageUp},
                                                 {"PgDown", Qt::Key_PageDown},
                                                 {"End", Qt::Key_End}};
            p->activateWindow();
            if (!QTest::qWaitForWindowActive(p))
                return int(QDialog::Rejected);
            statuses << p->lblStatus->text();
            for (const QString& c : clicks) {
                if (buttons.contains(c))
                    QTest::mouseClick(buttons[c], Qt::LeftButton);
                else
                    QTest::keyClick(p, keys[c]);
                statuses << p->lblStatus->text();
                shown << p->pageView->pageIndex() + 1;
            }
            return int(QDialog::Rejected);
        };
        action(QStringLiteral("btnTransMore_Print"))->trigger();
        QVERIFY(prompts().dialogHandlers.isEmpty());
        QStringList expected{QStringLiteral("第 1 页 / 共 %1 页").arg(count)};
        for (int p : pages)
            expected << QStringLiteral("第 %1 页 / 共 %2 页").arg(p).arg(count);
        QCOMPARE(statuses, expected);
        QCOMPARE(shown, pages);
    }

    // Landscape and Letter chosen in the print dialog still print A4 portrait; only the range.
    void preview_printsChosenRangeOnA4Portrait() {
        fill(260, 0, 0);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("printed.pdf"));
        bool fileAfterCancel = true, printEnabledAfter = false, sawPrintDialog = false;
        prompts().dialogHandlers << [&](QDialog* d) {
            auto* p = qobject_cast<TfrmPrint*>(d);
            if (!p)
                return int(QDialog::Rejected);
            QTest::mouseClick(p->btnPrint, Qt::LeftButton); // cancelled below: prints nothing
            fileAfterCancel = QFileInfo::exists(pdf);
            QTest::mouseClick(p->btnPrint, Qt::LeftButton);
            printEnabledAfter = p->btnPrint->isEnabled();
            return int(QDialog::Rejected);
        };
        prompts().dialogHandlers << [&](QDialog* d) {
            sawPrintDialog = qobject_cast<QPrintDialog*>(d) != nullptr;
            return int(QDialog::Rejected);
        };
        prompts().dialogHandlers << [&](QDialog* d) {
            auto* dialog = qobject_cast<QPrintDialog*>(d);
            if (!dialog)
                return int(QDialog::Rejected);
            QPrinter* printer = dialog->printer();
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(pdf);
            printer->setPageOrientation(QPageLayout::Landscape);
            printer->setPageSize(QPageSize(QPageSize::Letter));
            printer->setFromTo(2, 3);
            return int(QDialog::Accepted);
        };
        action(QStringLiteral("btnTransMore_Print"))->trigger();
        QVERIFY(prompts().dialogHandlers.isEmpty());
        QVERIFY(sawPrintDialog);
        QVERIFY(!fileAfterCancel);
        QVERIFY(printEnabledAfter);

        const QString text =
            run(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).remove(QLatin1Char(' '));
        QVERIFY2(text.contains(QStringLiteral("第2页")) && text.contains(QStringLiteral("第3页")),
                 qPrintable(text.left(500)));
        QVERIFY(!text.contains(QStringLiteral("第1页")) && !text.contains(QStringLiteral("第4页")));
        QVERIFY(text.contains(QStringLiteral("rec52")) && text.contains(QStringLiteral("rec155")));
        QVERIFY(!text.contains(QStringLiteral("rec51")) && !text.contains(QStringLiteral("rec156")));
        const QString info = run(QStringLiteral("pdfinfo"), {pdf});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +2\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(
                     QStringLiteral("Page size: +595[.0-9]* x 84[12][.0-9]* pts \\(A4\\)"))),
                 qPrintable(info));
    }

    void preview_printToUnwritableFile_isReported() {
        fill(10, 0, 0);
        QTemporaryDir dir;
        const QString pdf = dir.filePath(QStringLiteral("missing/printed.pdf"));
        bool stillOpen = false;
        prompts().dialogHandlers << [&](QDialog* d) {
            if (auto* p = qobject_cast<TfrmPrint*>(d)) {
                QTest::mouseClick(p->btnPrint, Qt::LeftButton);
                stillOpen = p->isVisible() && p->btnPrint->isEnabled();
            }
            return int(QDialog::Rejected);
        };
        prompts().dialogHandlers << [&](QDialog* d) {
            if (auto* dialog = qobject_cast<QPrintDialog*>(d)) {
                dialog->printer()->setOutputFormat(QPrinter::PdfFormat);
                dialog->printer()->setOutputFileName(pdf);
            }
            return int(QDialog::Accepted);
        };
        action(QStringLiteral("btnTransMore_Print"))->trigger();
        QVERIFY(stillOpen);
        const auto messages = prompts().callsOf(Kind::Message);
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages[0].icon, Prompts::Icon::Error);
        QVERIFY2(messages[0].text.contains(pdf), qPrintable(messages[0].text));
    }

    void catesExport_popsUpItsMenu() {
        fill(0, 1, 0);
        QVERIFY(page().btnCatesExport->isEnabled());
        page().rdoTransCategories->click();
        QTest::mouseClick(page().btnCatesExport, Qt::LeftButton);
        QVERIFY(page().mnuCatesExport->isVisible());
        QStringList texts;
        for (QAction* a : page().mnuCatesExport->actions())
            texts << a->text();
        QCOMPARE(texts, (QStringList{"导出为Excel文件(*.xlsx)", "导出为网页文件(*.html)"}));
        page().mnuCatesExport->hide();
    }
};

QTEST_MAIN(TestOutputCommands)
#include "tst_outputcommands.moc"
