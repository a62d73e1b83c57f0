#pragma once
// A small workbook writer: copies a template workbook (.xlsx) and appends text rows to its first
// sheet, under the columns named in the sheet's first row. The result is written to a temporary
// file beside the target and renamed over it on commit(), so the target is either the complete
// new workbook or left as it was.
#include <QString>
#include <QStringList>
#include <memory>

class TXlsxWriter {
public:
    // Reads the template and finds `columns` in the header row of its first sheet; `rowsToAppend`
    // is the number of rows that will be appended (the sheet's used range is written ahead of them).
    // Throws FileError for a missing or unusable template, a missing column or a target that
    // cannot be written.
    TXlsxWriter(const QString& templateFile, const QString& targetFile, const QStringList& columns,
                qsizetype rowsToAppend);
    ~TXlsxWriter();
    TXlsxWriter(const TXlsxWriter&) = delete;
    TXlsxWriter& operator=(const TXlsxWriter&) = delete;

    // One text cell per column, in the order of `columns`; missing values leave cells out.
    void appendRow(const QStringList& values);
    // A row with a single text cell under column `column` (an index into `columns`).
    void appendCell(int column, const QString& value);
    // Finishes the workbook and puts it in place of the target.
    void commit();

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

namespace xlsx {
// Text as the content of a <t> element: XML-escaped, with characters XML cannot carry written as
// _xHHHH_ (and a literal _xHHHH_ protected), the way spreadsheet programs read them back.
QString EscapeText(const QString& text, bool* preserveSpace = nullptr);
// The reverse of the _xHHHH_ escapes, for text read from a sheet.
QString DecodeText(const QString& text);
// "A", "B", ..., "Z", "AA" for 1, 2, ..., 26, 27.
QString ColumnLetters(int column);
} // namespace xlsx
