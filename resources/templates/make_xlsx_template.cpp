// Makes the export workbooks "cates.xlsx" and "trans.xlsx": one sheet, Sheet1, with the column
// names in its first row (bold, frozen) and nothing else.
//   make_xlsx_template cates|trans <output file>
#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QVector>
#include <cstdio>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {

struct Column {
    QString name;
    int width;
};

const char* kMain = "http://schemas.openxmlformats.org/spreadsheetml/2006/main";
const char* kRel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

QByteArray escaped(const QString& text) {
    return text.toHtmlEscaped().toUtf8();
}

QByteArray contentTypes() {
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">)"
           R"(<Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/>)"
           R"(<Default Extension="xml" ContentType="application/xml"/>)"
           R"(<Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/>)"
           R"(<Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/>)"
           R"(<Override PartName="/xl/styles.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.styles+xml"/>)"
           R"(<Override PartName="/xl/sharedStrings.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sharedStrings+xml"/>)"
           R"(</Types>)";
}

QByteArray packageRels() {
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
           R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/>)"
           R"(</Relationships>)";
}

QByteArray workbook() {
    return QByteArray(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<workbook xmlns=")") +
           kMain + R"(" xmlns:r=")" + kRel + R"(">)" +
           R"(<sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)";
}

QByteArray workbookRels() {
    return R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">)"
           R"(<Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/>)"
           R"(<Relationship Id="rId2" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/styles" Target="styles.xml"/>)"
           R"(<Relationship Id="rId3" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/sharedStrings" Target="sharedStrings.xml"/>)"
           R"(</Relationships>)";
}

QByteArray styles() {
    return QByteArray(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<styleSheet xmlns=")") +
           kMain + R"(">)" +
           R"(<fonts count="2"><font><sz val="10"/><name val="Tahoma"/></font>)"
           R"(<font><b/><sz val="10"/><name val="Tahoma"/></font></fonts>)"
           R"(<fills count="2"><fill><patternFill patternType="none"/></fill><fill><patternFill patternType="gray125"/></fill></fills>)"
           R"(<borders count="1"><border><left/><right/><top/><bottom/><diagonal/></border></borders>)"
           R"(<cellStyleXfs count="1"><xf numFmtId="0" fontId="0" fillId="0" borderId="0"/></cellStyleXfs>)"
           R"(<cellXfs count="2"><xf numFmtId="0" fontId="0" fillId="0" borderId="0" xfId="0"/>)"
           R"(<xf numFmtId="0" fontId="1" fillId="0" borderId="0" xfId="0" applyFont="1"/></cellXfs>)"
           R"(<cellStyles count="1"><cellStyle name="Normal" xfId="0" builtinId="0"/></cellStyles>)"
           R"(</styleSheet>)";
}

QByteArray letter(int index) {
    return QByteArray(1, char('A' + index));
}

QByteArray sheet(const QVector<Column>& columns) {
    QByteArray xml = QByteArray(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<worksheet xmlns=")") +
                     kMain + R"(" xmlns:r=")" + kRel + R"(">)";
    xml += "<dimension ref=\"A1:" + letter(int(columns.size()) - 1) + "1\"/>";
    xml += R"(<sheetViews><sheetView workbookViewId="0">)"
           R"(<pane ySplit="1" topLeftCell="A2" activePane="bottomLeft" state="frozen"/>)"
           R"(</sheetView></sheetViews><sheetFormatPr defaultRowHeight="15"/><cols>)";
    for (int i = 0; i < columns.size(); ++i)
        xml += "<col min=\"" + QByteArray::number(i + 1) + "\" max=\"" + QByteArray::number(i + 1) +
               "\" width=\"" + QByteArray::number(columns[i].width) + "\" customWidth=\"1\"/>";
    xml += "</cols><sheetData><row r=\"1\">";
    for (int i = 0; i < columns.size(); ++i)
        xml += "<c r=\"" + letter(i) + "1\" s=\"1\" t=\"s\"><v>" + QByteArray::number(i) + "</v></c>";
    xml += "</row></sheetData></worksheet>";
    return xml;
}

QByteArray sharedStrings(const QVector<Column>& columns) {
    const QByteArray n = QByteArray::number(columns.size());
    QByteArray xml = QByteArray(R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<sst xmlns=")") + kMain +
                     "\" count=\"" + n + "\" uniqueCount=\"" + n + "\">";
    for (const Column& c : columns)
        xml += "<si><t>" + escaped(c.name) + "</t></si>";
    xml += "</sst>";
    return xml;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3 || (args[1] != QLatin1String("cates") && args[1] != QLatin1String("trans"))) {
        std::fprintf(stderr, "usage: make_xlsx_template cates|trans <output file>\n");
        return 2;
    }
    const QVector<Column> columns =
        args[1] == QLatin1String("cates")
            ? QVector<Column>{{QStringLiteral("类别"), 8},  {QStringLiteral("项目"), 30},
                              {QStringLiteral("数量"), 8},  {QStringLiteral("收入"), 12},
                              {QStringLiteral("支出"), 12}, {QStringLiteral("比例"), 10}}
            : QVector<Column>{{QStringLiteral("日期"), 12},
                              {QStringLiteral("项目"), 30},
                              {QStringLiteral("收入"), 12},
                              {QStringLiteral("支出"), 12},
                              {QStringLiteral("备注"), 40}};
    const QString output = args[2];
    QFile::remove(output);
    QuaZip zip(output);
    if (!zip.open(QuaZip::mdCreate)) {
        std::fprintf(stderr, "make_xlsx_template: cannot create %s\n", qPrintable(output));
        return 1;
    }
    const QVector<QPair<QString, QByteArray>> parts = {
        {QStringLiteral("[Content_Types].xml"), contentTypes()},
        {QStringLiteral("_rels/.rels"), packageRels()},
        {QStringLiteral("xl/workbook.xml"), workbook()},
        {QStringLiteral("xl/_rels/workbook.xml.rels"), workbookRels()},
        {QStringLiteral("xl/styles.xml"), styles()},
        {QStringLiteral("xl/sharedStrings.xml"), sharedStrings(columns)},
        {QStringLiteral("xl/worksheets/sheet1.xml"), sheet(columns)},
    };
    for (const auto& part : parts) {
        QuaZipFile file(&zip);
        if (!file.open(QIODevice::WriteOnly, QuaZipNewInfo(part.first)) ||
            file.write(part.second) != part.second.size()) {
            std::fprintf(stderr, "make_xlsx_template: cannot write %s\n", qPrintable(part.first));
            return 1;
        }
        file.close();
    }
    zip.close();
    return zip.getZipError() == 0 ? 0 : 1;
}
