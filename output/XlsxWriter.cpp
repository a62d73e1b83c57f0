#include "output/XlsxWriter.h"

#include "app/Errors.h"
#include "app/HiClass.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSaveFile>
#include <QVector>
#include <QXmlStreamReader>
#include <algorithm>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {

constexpr qsizetype kMaxSheetRows = 1048576;
constexpr qsizetype kFlushSize = 256 * 1024;

bool isHex(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

// "_xHHHH_" at position i.
bool isEscapeAt(const QString& text, qsizetype i) {
    if (i + 7 > text.size() || text.at(i) != QLatin1Char('_') || text.at(i + 1) != QLatin1Char('x') ||
        text.at(i + 6) != QLatin1Char('_'))
        return false;
    for (qsizetype k = i + 2; k < i + 6; ++k)
        if (!isHex(text.at(k)))
            return false;
    return true;
}

QString hex4(uint code) {
    return QLatin1String("_x") + QString::number(code, 16).toUpper().rightJustified(4, QLatin1Char('0')) +
           QLatin1Char('_');
}

// Column number of a cell reference such as "AB12"; 0 when it has none.
int columnOfRef(QStringView ref) {
    int column = 0;
    for (const QChar c : ref) {
        const char16_t u = c.unicode();
        if (u >= 'A' && u <= 'Z')
            column = column * 26 + (u - 'A' + 1);
        else if (u >= 'a' && u <= 'z')
            column = column * 26 + (u - 'a' + 1);
        else
            break;
    }
    return column;
}

// A relationship target relative to the part that names it, as a path inside the package.
QString resolveTarget(const QString& base, const QString& target) {
    if (target.startsWith(QLatin1Char('/')))
        return target.mid(1);
    return QDir::cleanPath(base + target);
}

} // namespace

QString xlsx::ColumnLetters(int column) {
    QString letters;
    while (column > 0) {
        const int r = (column - 1) % 26;
        letters.prepend(QChar(char16_t('A' + r)));
        column = (column - 1) / 26;
    }
    return letters;
}

QString xlsx::EscapeText(const QString& text, bool* preserveSpace) {
    QString out;
    out.reserve(text.size() + 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == '&')
            out += QLatin1String("&amp;");
        else if (u == '<')
            out += QLatin1String("&lt;");
        else if (u == '>')
            out += QLatin1String("&gt;");
        else if (u == '_' && isEscapeAt(text, i))
            out += QLatin1String("_x005F_"); // a literal "_xHHHH_" must not be read as an escape
        else if ((u < 0x20 && u != '\t' && u != '\n') || u == 0xFFFE || u == 0xFFFF)
            out += hex4(u); // CR too: XML readers would turn it into a line feed
        else if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            out += c;
            out += text.at(++i);
        } else if (c.isSurrogate())
            out += QChar(QChar::ReplacementCharacter); // half a character cannot be stored
        else
            out += c;
    }
    if (preserveSpace) {
        auto blank = [](QChar c) {
            return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n') ||
                   c == QLatin1Char('\r');
        };
        *preserveSpace = !text.isEmpty() && (blank(text.front()) || blank(text.back()));
    }
    return out;
}

QString xlsx::DecodeText(const QString& text) {
    if (!text.contains(QLatin1String("_x")))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isEscapeAt(text, i)) {
            out += QChar(char16_t(text.mid(i + 2, 4).toUInt(nullptr, 16)));
            i += 6;
        } else {
            out += text.at(i);
        }
    }
    return out;
}

struct TXlsxWriter::Impl {
    QString templateFile;
    QString targetFile;
    // The first sheet's XML split where rows are appended.
    QString sheetPath;
    QString sheetHead;
    QString sheetTail;
    QString prefix;             // namespace prefix of the sheet's elements, with its colon
    QVector<int> columnNumbers; // per named column
    QVector<int> order;         // named columns by their place in the sheet
    qsizetype nextRow = 0;
    qsizetype plannedRows = 0;
    qsizetype appended = 0;
    QString buffer;

    QSaveFile saveFile;
    QuaZip zip;
    QuaZipFile sheetFile;
    bool committed = false;

    Impl(const QString& tpl, const QString& target)
        : templateFile(tpl), targetFile(target), saveFile(target), zip(&saveFile), sheetFile(&zip) {}

    [[noreturn]] void templateError(const QString& why) const {
        throw FileError(
            QStringLiteral("模板文件 %1 无法使用：%2").arg(QDir::toNativeSeparators(templateFile), why));
    }
    [[noreturn]] void writeError(const QString& why) const {
        throw FileError(QStringLiteral("无法写入文件 %1：%2").arg(QDir::toNativeSeparators(targetFile), why));
    }

    static QByteArray readEntry(QuaZip& source, const QString& name) {
        if (!source.setCurrentFile(name))
            return {};
        QuaZipFile file(&source);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        const QByteArray bytes = file.readAll();
        file.close();
        return file.getZipError() == UNZ_OK ? bytes : QByteArray();
    }

    // Path of the workbook's first sheet and of its shared strings (empty when it has none).
    void findParts(QuaZip& source, QString* sheet, QString* sharedStrings) const {
        const QByteArray workbook = readEntry(source, QStringLiteral("xl/workbook.xml"));
        if (workbook.isEmpty())
            templateError(QStringLiteral("缺少 xl/workbook.xml。"));
        QString firstId;
        QXmlStreamReader wb(workbook);
        while (!wb.atEnd() && firstId.isEmpty()) {
            if (wb.readNext() == QXmlStreamReader::StartElement && wb.name() == QLatin1String("sheet")) {
                for (const QXmlStreamAttribute& a : wb.attributes())
                    if (a.name() == QLatin1String("id"))
                        firstId = a.value().toString();
            }
        }
        if (firstId.isEmpty())
            templateError(QStringLiteral("工作簿中没有工作表。"));
        const QByteArray rels = readEntry(source, QStringLiteral("xl/_rels/workbook.xml.rels"));
        QXmlStreamReader rr(rels);
        while (!rr.atEnd()) {
            if (rr.readNext() != QXmlStreamReader::StartElement || rr.name() != QLatin1String("Relationship"))
                continue;
            const QXmlStreamAttributes a = rr.attributes();
            const QString target =
                resolveTarget(QStringLiteral("xl/"), a.value(QLatin1String("Target")).toString());
            if (a.value(QLatin1String("Id")) == firstId)
                *sheet = target;
            else if (a.value(QLatin1String("Type")).endsWith(QLatin1String("/sharedStrings")))
                *sharedStrings = target;
        }
        if (sheet->isEmpty())
            templateError(QStringLiteral("找不到第一个工作表。"));
    }

    static QStringList readSharedStrings(const QByteArray& xml) {
        QStringList strings;
        QXmlStreamReader r(xml);
        QString current;
        bool inItem = false;
        while (!r.atEnd()) {
            const auto token = r.readNext();
            if (token == QXmlStreamReader::StartElement) {
                if (r.name() == QLatin1String("si")) {
                    inItem = true;
                    current.clear();
                } else if (r.name() == QLatin1String("rPh")) {
                    r.skipCurrentElement(); // reading aids, not part of the text
                } else if (inItem && r.name() == QLatin1String("t")) {
                    current += r.readElementText();
                }
            } else if (token == QXmlStreamReader::EndElement && r.name() == QLatin1String("si")) {
                strings << xlsx::DecodeText(current);
                inItem = false;
            }
        }
        return strings;
    }

    // Finds the header cells, the last used row and the places to change in the sheet's text.
    void readSheet(const QString& text, const QStringList& shared, const QStringList& columns) {
        QXmlStreamReader r(text);
        QHash<QString, int> header; // trimmed text -> column number
        bool inSheetData = false, inHeader = false, headerDone = false;
        qsizetype lastRow = 0;
        int cellColumn = 0, maxColumn = 0;
        QString cellType, cellText;
        qsizetype dimensionStart = -1, dimensionEnd = -1, insertAt = -1;
        QString dimensionName;
        while (!r.atEnd() && insertAt < 0) {
            const qsizetype before = r.characterOffset();
            const auto token = r.readNext();
            if (token == QXmlStreamReader::StartElement) {
                const QStringView name = r.name();
                if (!inSheetData && name == QLatin1String("dimension")) {
                    dimensionStart = before;
                    dimensionName = r.qualifiedName().toString();
                } else if (name == QLatin1String("sheetData")) {
                    inSheetData = true;
                    if (!r.prefix().isEmpty())
                        prefix = r.prefix().toString() + QLatin1Char(':');
                } else if (inSheetData && name == QLatin1String("row")) {
                    const QStringView ref = r.attributes().value(QLatin1String("r"));
                    lastRow = ref.isEmpty() ? lastRow + 1 : qMax(lastRow, qsizetype(ref.toLongLong()));
                    inHeader = !headerDone;
                    cellColumn = 0;
                } else if (inSheetData && name == QLatin1String("c")) {
                    const QXmlStreamAttributes a = r.attributes();
                    const int fromRef = columnOfRef(a.value(QLatin1String("r")));
                    cellColumn = fromRef > 0 ? fromRef : cellColumn + 1;
                    maxColumn = qMax(maxColumn, cellColumn);
                    cellType = a.value(QLatin1String("t")).toString();
                    cellText.clear();
                } else if (inHeader && (name == QLatin1String("v") || name == QLatin1String("t"))) {
                    cellText += r.readElementText();
                } else if (inHeader && name == QLatin1String("rPh")) {
                    r.skipCurrentElement();
                }
            } else if (token == QXmlStreamReader::EndElement) {
                const QStringView name = r.name();
                if (name == QLatin1String("dimension") && dimensionStart >= 0 && dimensionEnd < 0) {
                    dimensionEnd = r.characterOffset();
                } else if (inHeader && name == QLatin1String("c")) {
                    QString value = cellText;
                    if (cellType == QLatin1String("s")) {
                        const int index = cellText.trimmed().toInt();
                        value = index >= 0 && index < shared.size() ? shared.at(index) : QString();
                    } else {
                        value = xlsx::DecodeText(value);
                    }
                    value = THi::Trim(value);
                    if (!value.isEmpty() && !header.contains(value))
                        header.insert(value, cellColumn);
                } else if (inHeader && name == QLatin1String("row")) {
                    inHeader = false;
                    headerDone = true;
                } else if (name == QLatin1String("sheetData")) {
                    insertAt = before;
                }
            }
        }
        if (r.hasError())
            templateError(QStringLiteral("工作表 %1 不是有效的 XML：%2").arg(sheetPath, r.errorString()));
        if (insertAt < 0 || !QStringView(text).mid(insertAt).startsWith(QLatin1String("</")))
            templateError(QStringLiteral("工作表 %1 中没有数据区。").arg(sheetPath));
        if (!headerDone)
            templateError(QStringLiteral("第一个工作表没有标题行。"));
        for (const QString& column : columns) {
            const auto it = header.constFind(column);
            if (it == header.constEnd())
                templateError(QStringLiteral("第一个工作表的标题行中没有列“%1”。").arg(column));
            columnNumbers << it.value();
            maxColumn = qMax(maxColumn, it.value());
        }
        order.resize(columns.size());
        for (int i = 0; i < columns.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(),
                  [this](int a, int b) { return columnNumbers[a] < columnNumbers[b]; });
        nextRow = lastRow + 1;
        if (lastRow + plannedRows > kMaxSheetRows)
            throw FileError(
                QStringLiteral("要导出的行太多：一个工作表最多只能有 %1 行。").arg(kMaxSheetRows));

        sheetHead = text.left(insertAt);
        sheetTail = text.mid(insertAt);
        if (dimensionStart >= 0 && dimensionEnd > dimensionStart &&
            text.at(dimensionStart) == QLatin1Char('<')) {
            const qsizetype last = qMax<qsizetype>(lastRow + plannedRows, 1);
            const QString used = QStringLiteral("<%1 ref=\"A1:%2%3\"/>")
                                     .arg(dimensionName, xlsx::ColumnLetters(qMax(maxColumn, 1)))
                                     .arg(last);
            sheetHead.replace(dimensionStart, dimensionEnd - dimensionStart, used);
        }
    }

    void open(const QStringList& columns) {
        if (!QFileInfo(templateFile).isFile())
            throw FileError(
                QStringLiteral("找不到模板文件 %1。").arg(QDir::toNativeSeparators(templateFile)));
        QuaZip source(templateFile);
        if (!source.open(QuaZip::mdUnzip))
            templateError(QStringLiteral("不是有效的 Excel 工作簿（.xlsx）。"));
        QString sharedPath;
        findParts(source, &sheetPath, &sharedPath);
        QStringList shared;
        if (!sharedPath.isEmpty())
            shared = readSharedStrings(readEntry(source, sharedPath));
        const QByteArray sheetBytes = readEntry(source, sheetPath);
        if (sheetBytes.isEmpty())
            templateError(QStringLiteral("缺少工作表 %1。").arg(sheetPath));
        QString sheetText = QString::fromUtf8(sheetBytes);
        if (sheetText.startsWith(QChar(0xFEFF)))
            sheetText.remove(0, 1);
        readSheet(sheetText, shared, columns);

        // Everything but the sheet is copied as it is; the sheet is written last, row by row.
        if (!saveFile.open(QIODevice::WriteOnly))
            writeError(saveFile.errorString());
        zip.setAutoClose(false);
        if (!zip.open(QuaZip::mdCreate))
            writeError(QStringLiteral("无法创建压缩文件。"));
        for (const QString& name : source.getFileNameList()) {
            if (name == sheetPath)
                continue;
            if (!source.setCurrentFile(name))
                templateError(QStringLiteral("无法读取 %1。").arg(name));
            QuaZipFile in(&source);
            if (!in.open(QIODevice::ReadOnly))
                templateError(QStringLiteral("无法读取 %1。").arg(name));
            const QByteArray bytes = in.readAll();
            in.close();
            if (in.getZipError() != UNZ_OK)
                templateError(QStringLiteral("无法读取 %1。").arg(name));
            QuaZipFile out(&zip);
            if (!out.open(QIODevice::WriteOnly, QuaZipNewInfo(name)) || out.write(bytes) != bytes.size())
                writeError(saveFile.errorString());
            out.close();
            if (out.getZipError() != ZIP_OK)
                writeError(saveFile.errorString());
        }
        source.close();
        if (!sheetFile.open(QIODevice::WriteOnly, QuaZipNewInfo(sheetPath)))
            writeError(saveFile.errorString());
        buffer = std::move(sheetHead);
        flush(false);
    }

    void flush(bool force) {
        if (!force && buffer.size() < kFlushSize)
            return;
        const QByteArray bytes = buffer.toUtf8();
        if (sheetFile.write(bytes) != bytes.size())
            writeError(saveFile.errorString());
        buffer.clear();
    }

    void startRow() {
        if (appended >= plannedRows)
            throw ZError(QStringLiteral("导出的行数超出了预计。"));
        ++appended;
        buffer += QLatin1Char('<') + prefix + QLatin1String("row r=\"") + QString::number(nextRow) +
                  QLatin1String("\">");
    }

    void cell(int columnNumber, const QString& value) {
        bool preserve = false;
        const QString escaped = xlsx::EscapeText(value, &preserve);
        buffer += QLatin1Char('<') + prefix + QLatin1String("c r=\"") + xlsx::ColumnLetters(columnNumber) +
                  QString::number(nextRow) + QLatin1String("\" t=\"inlineStr\"><") + prefix +
                  QLatin1String("is><") + prefix + QLatin1Char('t');
        if (preserve)
            buffer += QLatin1String(" xml:space=\"preserve\"");
        buffer += QLatin1Char('>') + escaped + QLatin1String("</") + prefix + QLatin1String("t></") + prefix +
                  QLatin1String("is></") + prefix + QLatin1String("c>");
    }

    void endRow() {
        buffer += QLatin1String("</") + prefix + QLatin1String("row>");
        ++nextRow;
        flush(false);
    }
};

TXlsxWriter::TXlsxWriter(const QString& templateFile, const QString& targetFile, const QStringList& columns,
                         qsizetype rowsToAppend)
    : d(std::make_unique<Impl>(templateFile, targetFile)) {
    d->plannedRows = rowsToAppend;
    d->open(columns);
}

TXlsxWriter::~TXlsxWriter() {
    // Without commit() the temporary file is dropped and the target stays as it was.
    if (d && !d->committed)
        d->saveFile.cancelWriting();
}

void TXlsxWriter::appendRow(const QStringList& values) {
    d->startRow();
    for (int i : std::as_const(d->order)) {
        if (i < values.size())
            d->cell(d->columnNumbers[i], values.at(i));
    }
    d->endRow();
}

void TXlsxWriter::appendCell(int column, const QString& value) {
    d->startRow();
    d->cell(d->columnNumbers.at(column), value);
    d->endRow();
}

void TXlsxWriter::commit() {
    if (d->appended != d->plannedRows)
        throw ZError(QStringLiteral("导出的行数与预计不符。"));
    d->buffer += d->sheetTail;
    d->flush(true);
    d->sheetFile.close();
    if (d->sheetFile.getZipError() != ZIP_OK)
        d->writeError(d->saveFile.errorString());
    d->zip.close();
    if (d->zip.getZipError() != ZIP_OK)
        d->writeError(d->saveFile.errorString());
    if (!d->saveFile.commit())
        d->writeError(d->saveFile.errorString());
    d->committed = true;
}
