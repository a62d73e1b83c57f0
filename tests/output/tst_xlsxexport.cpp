// Excel export: the workbook read back from the file, texts that must stay as typed, templates
// the writer has to cope with, and failures that must leave the target as it was.
#include "app/Errors.h"
#include "app/HiClass.h"
#include "output/Exports.h"
#include "tests/output/SheetReader.h"
#include "tests/support/TestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <quazip/quazipnewinfo.h>

namespace {

const QString kIncome = QStringLiteral("收入");
const QString kExpense = QStringLiteral("支出");
const QStringList kCatesColumns = {"A", "B", "C", "D", "E", "F"};
const QStringList kTransColumns = {"A", "B", "C", "D", "E"};

TReportFrame frame() {
    return {QStringLiteral("张三"), QDate(2024, 1, 1), QDate(2024, 1, 31), 10, 45};
}

QString installed(const QString& name) {
    return THi::AppPath() + name;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

// A workbook from parts, for templates the program does not ship.
void makeZip(const QString& path, const QList<QPair<QString, QByteArray>>& parts) {
    QuaZip zip(path);
    QVERIFY(zip.open(QuaZip::mdCreate));
    for (const auto& part : parts) {
        QuaZipFile f(&zip);
        QVERIFY(f.open(QIODevice::WriteOnly, QuaZipNewInfo(part.first)));
        f.write(part.second);
        f.close();
    }
    zip.close();
}

// The shipped workbook with its sheet replaced.
void makeTemplateWithSheet(const QString& path, const QByteArray& sheetXml) {
    QuaZip source(installed(QStringLiteral("trans.xlsx")));
    QVERIFY(source.open(QuaZip::mdUnzip));
    QList<QPair<QString, QByteArray>> parts;
    for (const QString& name : source.getFileNameList())
        parts << qMakePair(
            name, name == QLatin1String("xl/worksheets/sheet1.xml") ? sheetXml : sheet::entry(source, name));
    source.close();
    makeZip(path, parts);
}

} // namespace

class TestXlsxExport : public QObject {
    Q_OBJECT
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() { testenv::init(); }

    void rankings_rowsInOrderThenTitleAndTotals() {
        const QString target = m_dir.filePath(QStringLiteral("cates.xlsx"));
        TStringsArray rows;
        for (int i = 0; i < 3; ++i)
            rows << QStringList{kIncome, QStringLiteral("in%1").arg(i), QString::number(i + 1),
                                QStringLiteral("%1.00").arg(10 * (i + 1)), QStringLiteral("%1.00%").arg(i)};
        for (int i = 0; i < 2; ++i)
            rows << QStringList{kExpense, QStringLiteral("out%1").arg(i), QStringLiteral("2"),
                                QStringLiteral("%1.50").arg(i), QStringLiteral("50.00%")};
        ExportCatesXlsx(installed(QStringLiteral("cates.xlsx")), target, rows, frame());

        const sheet::Sheet s = sheet::read(target);
        QVERIFY2(s.ok, qPrintable(s.error));
        QCOMPARE(s.rows.keys(), (QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10}));
        QCOMPARE(s.texts(1, kCatesColumns), (QStringList{"类别", "项目", "数量", "收入", "支出", "比例"}));
        QCOMPARE(s.texts(2, kCatesColumns), (QStringList{kIncome, "in0", "1", "10.00", " ", "0.00%"}));
        QCOMPARE(s.texts(4, kCatesColumns), (QStringList{kIncome, "in2", "3", "30.00", " ", "2.00%"}));
        QCOMPARE(s.texts(5, kCatesColumns), (QStringList{kExpense, "out0", "2", " ", "0.50", "50.00%"}));
        QCOMPARE(s.texts(6, kCatesColumns), (QStringList{kExpense, "out1", "2", " ", "1.50", "50.00%"}));
        const QStringList summary = {QStringLiteral("张三 (2024-01-01 至 2024-01-31)"),
                                     QStringLiteral("收入合计：10.00"), QStringLiteral("支出合计：45.00"),
                                     QStringLiteral("结余合计：-35.00")};
        for (int i = 0; i < 4; ++i) {
            QCOMPARE(s.rows[7 + i].keys(), QStringList{"B"});
            QCOMPARE(s.rows[7 + i]["B"].text, summary[i]);
        }
        for (int r = 2; r <= 10; ++r)
            for (const sheet::Cell& c : s.rows[r]) {
                QCOMPARE(c.type, QStringLiteral("inlineStr"));
                QVERIFY(!c.formula);
            }
        QCOMPARE(s.dimension, QStringLiteral("A1:F10"));
        QCOMPARE(s.entries.size(), 7); // every part of the template is kept
    }

    void records_textsStayAsTyped_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("readBack");
        QTest::newRow("quotes") << QStringLiteral("O'Brien's \"饭\"") << QStringLiteral("O'Brien's \"饭\"");
        QTest::newRow("formula-like") << QStringLiteral("=1+1") << QStringLiteral("=1+1");
        QTest::newRow("markup") << QStringLiteral("<b>&amp;</b> & <script>")
                                << QStringLiteral("<b>&amp;</b> & <script>");
        QTest::newRow("line breaks") << QStringLiteral("a\r\nb\nc\rd") << QStringLiteral("a\r\nb\nc\rd");
        QTest::newRow("control characters")
            << QStringLiteral("x\x01y\x1Fz\tw") << QStringLiteral("x\x01y\x1Fz\tw");
        QTest::newRow("escape look-alike")
            << QStringLiteral("_x0041_ and _x005F_") << QStringLiteral("_x0041_ and _x005F_");
        QTest::newRow("blanks around") << QStringLiteral("  x  ") << QStringLiteral("  x  ");
        QTest::newRow("emoji") << QStringLiteral("饭😀") << QStringLiteral("饭😀");
        QTest::newRow("half a surrogate pair")
            << QString(QChar(0xD83D)) + QStringLiteral("x")
            << QString(QChar(QChar::ReplacementCharacter)) + QStringLiteral("x");
        QTest::newRow("very long") << QString(5000, QChar(0x996D)) << QString(5000, QChar(0x996D));
    }
    void records_textsStayAsTyped() {
        QFETCH(QString, text);
        QFETCH(QString, readBack);
        const QString target = m_dir.filePath(QStringLiteral("trans.xlsx"));
        const TStringsArray rows = {
            {"17", "2024-01-02", text, "", "12.00", text},
            {"18", "2024-01-03", "工资", "100.00", "", ""},
        };
        ExportTransXlsx(installed(QStringLiteral("trans.xlsx")), target, rows, frame());

        const sheet::Sheet s = sheet::read(target);
        QVERIFY2(s.ok, qPrintable(s.error));
        QCOMPARE(s.texts(1, kTransColumns), (QStringList{"日期", "项目", "收入", "支出", "备注"}));
        QCOMPARE(s.texts(2, kTransColumns), (QStringList{"2024-01-02", readBack, " ", "12.00", readBack}));
        QCOMPARE(s.texts(3, kTransColumns), (QStringList{"2024-01-03", "工资", "100.00", " ", ""}));
        QVERIFY(s.rows[3].contains("E")); // an empty note is still written, as an empty text
        QCOMPARE(s.rows[7]["B"].text, QStringLiteral("结余合计：-35.00"));
        QCOMPARE(s.rows.lastKey(), 7);
        for (const sheet::Cell& c : s.rows[2])
            QVERIFY(c.type == QLatin1String("inlineStr") && !c.formula);
    }

    // A template saved by another program: prefixed elements, inline header texts in another
    // order, more columns and a used row below the header.
    void otherTemplate_rowsGoBelowLastUsedRowUnderNamedColumns() {
        const QString tpl = m_dir.filePath(QStringLiteral("other.xlsx"));
        makeTemplateWithSheet(
            tpl,
            R"(<?xml version="1.0" encoding="UTF-8"?>)"
            "\r\n"
            R"(<x:worksheet xmlns:x="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)"
            R"(<x:dimension ref="A1:G3"/><x:sheetData>)"
            R"(<x:row r="1"><x:c r="A1" t="inlineStr"><x:is><x:t>备注</x:t></x:is></x:c>)"
            R"(<x:c r="B1" t="inlineStr"><x:is><x:r><x:t>日</x:t></x:r><x:r><x:t>期</x:t></x:r></x:is></x:c>)"
            R"(<x:c r="C1" t="inlineStr"><x:is><x:t>其他</x:t></x:is></x:c>)"
            R"(<x:c r="E1" t="inlineStr"><x:is><x:t> 项目 </x:t></x:is></x:c>)"
            R"(<x:c r="F1" t="str"><x:f>"支出"</x:f><x:v>支出</x:v></x:c>)"
            R"(<x:c r="G1" t="inlineStr"><x:is><x:t>收入</x:t></x:is></x:c></x:row>)"
            R"(<x:row r="3"><x:c r="A3" t="inlineStr"><x:is><x:t>kept</x:t></x:is></x:c></x:row>)"
            R"(</x:sheetData></x:worksheet>)");
        const QString target = m_dir.filePath(QStringLiteral("other-out.xlsx"));
        ExportTransXlsx(tpl, target, {{"1", "2024-02-03", "饭", "", "8.00", "午饭"}}, frame());

        const sheet::Sheet s = sheet::read(target);
        QVERIFY2(s.ok, qPrintable(s.error));
        QCOMPARE(s.rows[3]["A"].text, QStringLiteral("kept"));
        QCOMPARE(s.rows.keys(), (QList<int>{1, 3, 4, 5, 6, 7, 8}));
        QCOMPARE(s.texts(4, {"A", "B", "C", "E", "F", "G"}),
                 (QStringList{"午饭", "2024-02-03", "", "饭", "8.00", " "}));
        QCOMPARE(s.rows[5].keys(), QStringList{"E"});
        QCOMPARE(s.dimension, QStringLiteral("A1:G8"));
    }

    void badTemplateOrTarget_leavesTargetAsItWas_data() {
        QTest::addColumn<QString>("templateKind");
        QTest::addColumn<bool>("targetFolderExists");
        QTest::addColumn<QString>("messagePart");
        QTest::newRow("missing template") << "missing" << true << "找不到模板文件";
        QTest::newRow("not a workbook") << "text" << true << "不是有效的 Excel 工作簿";
        QTest::newRow("column missing") << "nocolumn" << true << "没有列“备注”";
        QTest::newRow("no header row") << "noheader" << true << "没有标题行";
        QTest::newRow("broken sheet") << "broken" << true << "不是有效的 XML";
        QTest::newRow("target folder missing") << "good" << false << "无法写入文件";
    }
    void badTemplateOrTarget_leavesTargetAsItWas() {
        QFETCH(QString, templateKind);
        QFETCH(bool, targetFolderExists);
        QFETCH(QString, messagePart);
        QTemporaryDir dir;
        const QString tpl = dir.filePath(QStringLiteral("t.xlsx"));
        const QByteArray head =
            R"(<worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main">)";
        if (templateKind == QLatin1String("text"))
            writeFile(tpl, "日期,项目\n");
        else if (templateKind == QLatin1String("nocolumn"))
            makeTemplateWithSheet(
                tpl,
                head +
                    R"(<sheetData><row r="1"><c r="A1" t="inlineStr"><is><t>日期</t></is></c>)"
                    R"(<c r="B1" t="inlineStr"><is><t>项目</t></is></c><c r="C1" t="inlineStr"><is><t>收入</t></is></c>)"
                    R"(<c r="D1" t="inlineStr"><is><t>支出</t></is></c></row></sheetData></worksheet>)");
        else if (templateKind == QLatin1String("noheader"))
            makeTemplateWithSheet(tpl, head + "<sheetData/></worksheet>");
        else if (templateKind == QLatin1String("broken"))
            makeTemplateWithSheet(tpl, head + "<sheetData><row r=\"1\"></sheetData>");
        else if (templateKind == QLatin1String("good"))
            QVERIFY(QFile::copy(installed(QStringLiteral("trans.xlsx")), tpl));
        const QString folder = targetFolderExists ? dir.path() : dir.filePath(QStringLiteral("gone"));
        const QString target = folder + QStringLiteral("/out.xlsx");
        if (targetFolderExists)
            writeFile(target, "an earlier export");
        const QStringList before = QDir(dir.path()).entryList(QDir::Files | QDir::Hidden);

        try {
            ExportTransXlsx(tpl, target, {{"1", "2024-01-01", "饭", "", "1.00", ""}}, frame());
            QFAIL("no error");
        } catch (const FileError& e) {
            QVERIFY2(e.message().contains(messagePart), qPrintable(e.message()));
        }
        QCOMPARE(readFile(target),
                 targetFolderExists ? QByteArray("an earlier export") : QByteArray("<missing>"));
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), before); // no temporary file left
    }

    void existingTarget_isReplacedWhole() {
        const QString target = m_dir.filePath(QStringLiteral("again.xlsx"));
        ExportTransXlsx(
            installed(QStringLiteral("trans.xlsx")), target,
            {{"1", "2024-01-01", "first", "", "1.00", ""}, {"2", "2024-01-01", "second", "", "1.00", ""}},
            frame());
        ExportTransXlsx(installed(QStringLiteral("trans.xlsx")), target,
                        {{"3", "2024-01-05", "third", "", "1.00", ""}}, frame());
        const sheet::Sheet s = sheet::read(target);
        QVERIFY2(s.ok, qPrintable(s.error));
        QCOMPARE(s.rows[2]["B"].text, QStringLiteral("third"));
        QCOMPARE(s.rows.lastKey(), 6);
    }
};

QTEST_GUILESS_MAIN(TestXlsxExport)
#include "tst_xlsxexport.moc"
