#pragma once
// Excel and HTML export of the rankings and the record list: the values each column receives and
// the filling of the page templates. No widgets: the commands in OutputCommands ask for the file
// and report the outcome.
#include "output/ReportPages.h"

#include <QString>
#include <QStringList>
#include <QVector>

// "<user> (<from> 至 <to>)"
QString ExportTitle(const TReportFrame& frame);

// Workbooks. Rankings: 类别, 项目, 数量, 收入, 支出, 比例; record list: 日期, 项目, 收入, 支出, 备注;
// then the title and the three totals in the 项目 column. The target is replaced whole or not at all.
void ExportCatesXlsx(const QString& templateFile, const QString& targetFile, const TStringsArray& rows,
                     const TReportFrame& frame);
void ExportTransXlsx(const QString& templateFile, const QString& targetFile, const TStringsArray& rows,
                     const TReportFrame& frame);

// Cuts `text` at each `marker` into trimmed sections (blanks and control characters removed at both
// ends); the empty piece before a leading marker or between adjacent markers is left out.
void SplitTemplate(const QString& text, QStringList& list, const QString& marker);

// &, <, >, " and ' as character references; control characters other than tab and line breaks,
// which a page may not contain, as spaces.
QString HtmlEscape(const QString& text);

// A template section with its placeholders found once: literal text and the slots between.
// Placeholders are matched in any letter case (A-Z); values are put in their slots as given, so a
// value that happens to contain a placeholder's text stays as it is.
class TTemplateSection {
public:
    TTemplateSection(const QString& section, const QStringList& placeholders);
    QString fill(const QStringList& values) const; // one value per placeholder, in their order

private:
    QStringList m_literals; // one more than slots
    QVector<int> m_slots;
};

// Pages from "cates.html" / "trans.html": header, one row pattern per row, footer. The template is
// read and checked before the target is touched; the page is written whole or not at all.
void ExportCatesHtml(const QString& templateFile, const QString& targetFile, const TStringsArray& rows,
                     const TReportFrame& frame);
void ExportTransHtml(const QString& templateFile, const QString& targetFile, const TStringsArray& rows,
                     const TReportFrame& frame);

extern const QString kTemplateMarker; // "<!-- - -->"
