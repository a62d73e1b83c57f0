// HTML export: template splitting, placeholder filling, escaping, the shipped templates and bad
// templates or targets.
#include "app/Errors.h"
#include "app/HiClass.h"
#include "output/Exports.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kIncome = QStringLiteral("收入");
const QString kExpense = QStringLiteral("支出");
const QString M = QStringLiteral("<!-- - -->");

TReportFrame frame(const QString& user = QStringLiteral("张三")) {
    return {user, QDate(2024, 1, 1), QDate(2024, 1, 31), 10, 45};
}

void writeFile(const QString& path, const QString& text) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(text.toUtf8());
}

QString readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QStringLiteral("<missing>");
}

const QString kTotals =
    QStringLiteral("收入合计：10.00&nbsp;&nbsp;支出合计：45.00&nbsp;&nbsp;结余合计：-35.00");

} // namespace

class TestHtmlExport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

    QString exportWith(bool rankings, const QString& templateText, const TStringsArray& rows,
                       const TReportFrame& f = frame()) {
        const QString tpl = m_dir.filePath(QStringLiteral("t.html"));
        const QString target = m_dir.filePath(QStringLiteral("out.html"));
        writeFile(tpl, templateText);
        QFile::remove(target);
        if (rankings)
            ExportCatesHtml(tpl, target, rows, f);
        else
            ExportTransHtml(tpl, target, rows, f);
        return readFile(target);
    }

private Q_SLOTS:
    void initTestCase() { testenv::init(); }

    void splitTemplate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("sections");
        QTest::newRow("blanks around sections") << "  A1 \r\n" + M + "\n\t B \n" + M + "  C\r\n\r\n"
                                                << QStringList{"A1", "B", "C"};
        QTest::newRow("leading marker drops its empty piece") << M + "B" + M + "C" << QStringList{"B", "C"};
        QTest::newRow("blanks before a leading marker are trimmed first")
            << " \n" + M + "B" << QStringList{"B"};
        QTest::newRow("adjacent markers") << "A" + M + M + "C" << QStringList{"A", "C"};
        QTest::newRow("blank piece between markers counts")
            << "A" + M + " \r\n " + M + "C" << QStringList{"A", "", "C"};
        QTest::newRow("trailing marker") << "A" + M + "B" + M + "  " << QStringList{"A", "B"};
        QTest::newRow("no marker") << "  whole  " << QStringList{"whole"};
        QTest::newRow("nothing but blanks") << " \r\n\t " << QStringList{};
        QTest::newRow("four sections")
            << "A" + M + "B" + M + "C" + M + "D" << QStringList{"A", "B", "C", "D"};
        QTest::newRow("marker matched exactly")
            << "A<!--  - -->B<!-- - -- >C" << QStringList{"A<!--  - -->B<!-- - -- >C"};
    }
    void splitTemplate() {
        QFETCH(QString, text);
        QFETCH(QStringList, sections);
        QStringList list{QStringLiteral("stale")};
        SplitTemplate(text, list, M);
        QCOMPARE(list, sections);
    }

    void rankings_sectionsJoined_placeholdersInAnyCase_valuesUntouched() {
        const QString page = exportWith(
            true,
            "\r\n  <h1>#TOP</h1> #Top \n" + M + "\n  [#Type|#CATEGORY|#category|#Qty|#iN|#OUT|#ratio]\r\n" +
                M + "\n <p>#Bottom</p>\n",
            {{kIncome, "工资", "3", "60.00", "100.00%"}, {kExpense, "饭 #qty #In", "2", "5.50", "40.00%"}});
        QCOMPARE(page,
                 QStringLiteral("<h1>张三 (2024-01-01 至 2024-01-31)</h1> 张三 (2024-01-01 至 2024-01-31)"
                                "[收入|工资|工资|3|60.00|&nbsp;|100.00%]"
                                "[支出|饭 #qty #In|饭 #qty #In|2|&nbsp;|5.50|40.00%]"
                                "<p>") +
                     kTotals + QStringLiteral("</p>"));
    }

    void records_valuesEscapedAndInsertedAsTheyStand_data() {
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QString>("expected");
        QTest::newRow("markup and quotes")
            << QStringList{"1", "2024-01-02", "<script>alert('x')</script> & \"q\"", "", "1.00", "a<b"}
            << "[2024-01-02|&lt;script&gt;alert(&#39;x&#39;)&lt;/script&gt; &amp; "
               "&quot;q&quot;|&nbsp;|1.00|a&lt;b]";
        QTest::newRow("placeholder text inside values")
            << QStringList{"1", "2024-01-02", "#notes #qty #IN", "", "1.00", "#category #date"}
            << "[2024-01-02|#notes #qty #IN|&nbsp;|1.00|#category #date]";
        QTest::newRow("no note") << QStringList{"1", "2024-01-02", "饭", "", "1.00", ""}
                                 << "[2024-01-02|饭|&nbsp;|1.00|&nbsp;]";
        QTest::newRow("blank note") << QStringList{"1", "2024-01-02", "饭", "", "1.00", " \t "}
                                    << "[2024-01-02|饭|&nbsp;|1.00|&nbsp;]";
        QTest::newRow("spaces around a note stay")
            << QStringList{"1", "2024-01-02", "饭", "", "1.00", " x "} << "[2024-01-02|饭|&nbsp;|1.00| x ]";
        QTest::newRow("control characters") << QStringList{"1",
                                                           "2024-01-02",
                                                           "a\x01"
                                                           "b\x7F",
                                                           "",
                                                           "1.00",
                                                           "x\ty\r\nz"}
                                            << "[2024-01-02|a b |&nbsp;|1.00|x\ty\r\nz]";
        QTest::newRow("income record")
            << QStringList{"1", "2024-01-02", "工资", "9.00", "", "x"} << "[2024-01-02|工资|9.00|&nbsp;|x]";
    }
    void records_valuesEscapedAndInsertedAsTheyStand() {
        QFETCH(QStringList, row);
        QFETCH(QString, expected);
        const QString page =
            exportWith(false, "H" + M + "[#date|#category|#in|#out|#notes]" + M + "F", {row});
        QCOMPARE(page, "H" + expected + "F");
    }

    void title_userNameEscaped() {
        const QString page =
            exportWith(false, "#top" + M + "r" + M + "#bottom", {}, frame(QStringLiteral("<b>A&B</b>")));
        QCOMPARE(page, QStringLiteral("&lt;b&gt;A&amp;B&lt;/b&gt; (2024-01-01 至 2024-01-31)") + kTotals);
    }

    void installedTemplates_placeholdersOnlyWhereMeant_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QStringList>("rowPlaceholders");
        QTest::newRow("cates.html") << "cates.html"
                                    << QStringList{"#type", "#category", "#qty", "#in", "#out", "#ratio"};
        QTest::newRow("trans.html") << "trans.html"
                                    << QStringList{"#date", "#category", "#in", "#out", "#notes"};
    }
    void installedTemplates_placeholdersOnlyWhereMeant() {
        QFETCH(QString, name);
        QFETCH(QStringList, rowPlaceholders);
        const QString text = QString::fromUtf8(THi::ReadFileText(THi::AppPath() + name));
        QVERIFY(text.contains(QStringLiteral("<meta charset=\"utf-8\">")));
        QStringList sections;
        SplitTemplate(text, sections, M);
        QCOMPARE(sections.size(), 3);
        const QStringList all = {"#top", "#type",  "#category", "#qty",   "#in",
                                 "#out", "#ratio", "#date",     "#notes", "#bottom"};
        for (const QString& p : all) {
            const int expected[3] = {p == QLatin1String("#top") ? 2 : 0, rowPlaceholders.contains(p) ? 1 : 0,
                                     p == QLatin1String("#bottom") ? 1 : 0};
            for (int s = 0; s < 3; ++s)
                QVERIFY2(sections[s].count(p, Qt::CaseInsensitive) == expected[s],
                         qPrintable(QStringLiteral("%1 in section %2").arg(p).arg(s)));
        }
    }

    void installedTemplate_page() {
        const QString target = m_dir.filePath(QStringLiteral("page.html"));
        ExportCatesHtml(
            THi::AppPath() + QStringLiteral("cates.html"), target,
            {{kIncome, "工资 & 奖金", "3", "60.00", "100.00%"}, {kExpense, "饭", "2", "5.50", "100.00%"}},
            frame());
        const QString page = readFile(target);
        QCOMPARE(page.count(QStringLiteral("<tr>")), 3); // header and two rows
        QVERIFY(page.contains(QStringLiteral("<td>工资 &amp; 奖金</td>")));
        QVERIFY(
            page.contains(QStringLiteral("<title>收支项目排行 - 张三 (2024-01-01 至 2024-01-31)</title>")));
        QVERIFY(page.contains(kTotals));
        QVERIFY(!page.contains(QLatin1Char('#')));
    }

    void badTemplateOrTarget_noFile_data() {
        QTest::addColumn<QString>("templateText"); // "<none>": no template file
        QTest::addColumn<bool>("targetFolderExists");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("missing") << "<none>" << true << "无法读取文件";
        QTest::newRow("empty") << "" << true << "只有 0 个";
        QTest::newRow("blanks only") << " \r\n " << true << "只有 0 个";
        QTest::newRow("two sections") << "A" + M + "B" << true << "只有 2 个";
        QTest::newRow("leading marker, two markers") << M + "B" + M + "C" << true << "只有 2 个";
        QTest::newRow("target folder missing") << "A" + M + "B" + M + "C" << false << "无法写入文件";
    }
    void badTemplateOrTarget_noFile() {
        QFETCH(QString, templateText);
        QFETCH(bool, targetFolderExists);
        QFETCH(QString, messagePart);
        QTemporaryDir dir;
        const QString tpl = dir.filePath(QStringLiteral("t.html"));
        if (templateText != QLatin1String("<none>"))
            writeFile(tpl, templateText);
        const QString target = (targetFolderExists ? dir.path() : dir.filePath(QStringLiteral("gone"))) +
                               QStringLiteral("/out.html");
        if (targetFolderExists)
            writeFile(target, QStringLiteral("an earlier export"));
        const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);
        try {
            ExportTransHtml(tpl, target, {{"1", "2024-01-01", "饭", "", "1.00", ""}}, frame());
            QFAIL("no error");
        } catch (const FileError& e) {
            QVERIFY2(e.message().contains(messagePart), qPrintable(e.message()));
            QVERIFY2(e.message().contains(targetFolderExists ? tpl : target), qPrintable(e.message()));
        }
        QCOMPARE(readFile(target),
                 targetFolderExists ? QStringLiteral("an earlier export") : QStringLiteral("<missing>"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before);
    }

    void extension_data() {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("extension");
        QTest::addColumn<QString>("result");
        QTest::newRow("page.HTML kept") << "/d/page.HTML"
                                        << ".html"
                                        << "/d/page.HTML";
        QTest::newRow("page.htm completed") << "/d/page.htm"
                                            << ".html"
                                            << "/d/page.htm.html";
        QTest::newRow("page completed") << "/d/page"
                                        << ".html"
                                        << "/d/page.html";
        QTest::newRow("Report.XLSX kept") << "/d/Report.XLSX"
                                          << ".xlsx"
                                          << "/d/Report.XLSX";
        QTest::newRow("report.xls completed") << "/d/report.xls"
                                              << ".xlsx"
                                              << "/d/report.xls.xlsx";
        QTest::newRow("dotted folder") << "/d.html/report"
                                       << ".html"
                                       << "/d.html/report.html";
    }
    void extension() {
        QFETCH(QString, chosen);
        QFETCH(QString, extension);
        QFETCH(QString, result);
        QCOMPARE(THi::WithExtension(chosen, extension), result);
    }
};

QTEST_GUILESS_MAIN(TestHtmlExport)
#include "tst_htmlexport.moc"
