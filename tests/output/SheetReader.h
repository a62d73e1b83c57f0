#pragma once
// Reads the first sheet of a written workbook back, independently of the writer: unzip, resolve
// the first sheet through the workbook's relationships, parse the cells.
#include "output/XlsxWriter.h"

#include <QMap>
#include <QStringList>
#include <QXmlStreamReader>
#include <quazip/quazip.h>
#include <quazip/quazipfile.h>

namespace sheet {

struct Cell {
    QString type; // the t attribute
    QString text; // the shown text (escapes decoded)
    bool formula = false;
};

struct Sheet {
    bool ok = false;
    QString error;
    QMap<int, QMap<QString, Cell>> rows; // row number -> column letters -> cell
    QString dimension;
    QStringList entries;

    // The texts of one row under the given columns ("" for a missing cell).
    QStringList texts(int row, const QStringList& columns) const {
        QStringList out;
        for (const QString& c : columns)
            out << rows.value(row).value(c).text;
        return out;
    }
};

inline QByteArray entry(QuaZip& zip, const QString& name) {
    if (!zip.setCurrentFile(name))
        return {};
    QuaZipFile f(&zip);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

inline Sheet read(const QString& file) {
    Sheet s;
    QuaZip zip(file);
    if (!zip.open(QuaZip::mdUnzip)) {
        s.error = QStringLiteral("not a zip");
        return s;
    }
    s.entries = zip.getFileNameList();
    QString firstId, sheetPath;
    QXmlStreamReader wb(entry(zip, QStringLiteral("xl/workbook.xml")));
    while (!wb.atEnd() && firstId.isEmpty())
        if (wb.readNext() == QXmlStreamReader::StartElement && wb.name() == QLatin1String("sheet"))
            for (const auto& a : wb.attributes())
                if (a.name() == QLatin1String("id"))
                    firstId = a.value().toString();
    QXmlStreamReader rels(entry(zip, QStringLiteral("xl/_rels/workbook.xml.rels")));
    while (!rels.atEnd())
        if (rels.readNext() == QXmlStreamReader::StartElement &&
            rels.attributes().value(QLatin1String("Id")) == firstId)
            sheetPath = QStringLiteral("xl/") + rels.attributes().value(QLatin1String("Target")).toString();
    QStringList shared;
    QXmlStreamReader sst(entry(zip, QStringLiteral("xl/sharedStrings.xml")));
    while (!sst.atEnd())
        if (sst.readNext() == QXmlStreamReader::StartElement && sst.name() == QLatin1String("t"))
            shared << xlsx::DecodeText(sst.readElementText());
    const QByteArray xml = entry(zip, sheetPath);
    if (xml.isEmpty()) {
        s.error = QStringLiteral("no sheet ") + sheetPath;
        return s;
    }
    QXmlStreamReader r(xml);
    int row = 0;
    int lastColumn = 0;
    QString ref;
    Cell cell;
    while (!r.atEnd()) {
        const auto token = r.readNext();
        if (token == QXmlStreamReader::StartElement) {
            if (r.name() == QLatin1String("dimension"))
                s.dimension = r.attributes().value(QLatin1String("ref")).toString();
            else if (r.name() == QLatin1String("row")) {
                row = r.attributes().value(QLatin1String("r")).toInt();
                lastColumn = 0;
            } else if (r.name() == QLatin1String("c")) {
                ref = r.attributes().value(QLatin1String("r")).toString();
                cell = Cell{r.attributes().value(QLatin1String("t")).toString(), {}, false};
            } else if (r.name() == QLatin1String("f"))
                cell.formula = true;
            else if (r.name() == QLatin1String("t") || r.name() == QLatin1String("v"))
                cell.text += r.readElementText();
        } else if (token == QXmlStreamReader::EndElement && r.name() == QLatin1String("c")) {
            if (cell.type == QLatin1String("s"))
                cell.text = shared.value(cell.text.toInt());
            else
                cell.text = xlsx::DecodeText(cell.text);
            QString letters = ref;
            while (!letters.isEmpty() && letters.back().isDigit())
                letters.chop(1);
            if (ref.mid(letters.size()).toInt() != row)
                s.error = QStringLiteral("cell %1 in row %2").arg(ref).arg(row);
            int column = 0;
            for (const QChar c : letters)
                column = column * 26 + (c.unicode() - 'A' + 1);
            if (column <= lastColumn) // spreadsheet programs need the cells of a row in column order
                s.error = QStringLiteral("cell %1 out of order").arg(ref);
            lastColumn = column;
            s.rows[row][letters] = cell;
        }
    }
    if (r.hasError())
        s.error = r.errorString();
    s.ok = s.error.isEmpty();
    return s;
}

} // namespace sheet
