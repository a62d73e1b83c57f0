#include "output/Exports.h"

#include "app/Errors.h"
#include "app/HiClass.h"
#include "output/XlsxWriter.h"

#include <QDir>
#include <QSaveFile>

const QString kTemplateMarker = QStringLiteral("<!-- - -->");

namespace {

const QString kIncome = QStringLiteral("收入");
const QString kSpace = QStringLiteral(" ");
const QString kNbsp = QStringLiteral("&nbsp;");

QString field(const QStringList& row, int k) {
    return k < row.size() ? row.at(k) : QString();
}

void appendTotals(TXlsxWriter& writer, int column, const TReportFrame& frame) {
    writer.appendCell(column, ExportTitle(frame));
    writer.appendCell(column, QStringLiteral("收入合计：") + THi::FormatAmount(frame.incomeTotal));
    writer.appendCell(column, QStringLiteral("支出合计：") + THi::FormatAmount(frame.expenseTotal));
    writer.appendCell(column, QStringLiteral("结余合计：") + frame.balanceText());
}

bool lowerAsciiEquals(QStringView text, qsizetype at, QStringView lowered) {
    if (at + lowered.size() > text.size())
        return false;
    for (qsizetype k = 0; k < lowered.size(); ++k) {
        char16_t c = text.at(at + k).unicode();
        if (c >= 'A' && c <= 'Z')
            c = char16_t(c + ('a' - 'A'));
        if (c != lowered.at(k).unicode())
            return false;
    }
    return true;
}

// The page is assembled and written in pieces; QSaveFile puts it in place only when it is complete.
class PageWriter {
public:
    explicit PageWriter(const QString& fileName) : m_file(fileName), m_name(fileName) {
        if (!m_file.open(QIODevice::WriteOnly))
            fail();
    }
    void write(const QString& text) {
        m_buffer += text;
        if (m_buffer.size() >= 256 * 1024)
            flush();
    }
    void commit() {
        flush();
        if (!m_file.commit())
            fail();
    }

private:
    void flush() {
        const QByteArray bytes = m_buffer.toUtf8();
        m_buffer.clear();
        if (m_file.write(bytes) != bytes.size())
            fail();
    }
    [[noreturn]] void fail() {
        throw FileError(QStringLiteral("无法写入文件 %1：%2")
                            .arg(QDir::toNativeSeparators(m_name), m_file.errorString()));
    }

    QSaveFile m_file;
    QString m_name;
    QString m_buffer;
};

enum class HtmlKind { Cates, Trans };

void exportHtml(HtmlKind kind, const QString& templateFile, const QString& targetFile,
                const TStringsArray& rows, const TReportFrame& frame) {
    const QString text = QString::fromUtf8(THi::ReadFileText(templateFile));
    QStringList sections;
    SplitTemplate(text, sections, kTemplateMarker);
    if (sections.size() < 3)
        throw FileError(
            QStringLiteral("模板文件 %1 不完整：它应由“%2”分成页头、行和页尾至少三个部分，现在只有 %3 个。")
                .arg(QDir::toNativeSeparators(templateFile), kTemplateMarker)
                .arg(sections.size()));
    const TTemplateSection head(sections.at(0), {QStringLiteral("#top")});
    const TTemplateSection foot(sections.at(2), {QStringLiteral("#bottom")});
    const QStringList rowPlaceholders =
        kind == HtmlKind::Cates
            ? QStringList{QStringLiteral("#type"), QStringLiteral("#category"), QStringLiteral("#qty"),
                          QStringLiteral("#in"),   QStringLiteral("#out"),      QStringLiteral("#ratio")}
            : QStringList{QStringLiteral("#date"), QStringLiteral("#category"), QStringLiteral("#in"),
                          QStringLiteral("#out"), QStringLiteral("#notes")};
    const TTemplateSection rowPattern(sections.at(1), rowPlaceholders);

    // An amount, count or note that is blank shows a non-breaking space so the cell keeps its shape.
    auto orNbsp = [](const QString& value) { return THi::Trim(value).isEmpty() ? kNbsp : HtmlEscape(value); };

    PageWriter page(targetFile);
    page.write(head.fill({HtmlEscape(ExportTitle(frame))}));
    QStringList values;
    for (const QStringList& row : rows) {
        if (kind == HtmlKind::Cates) {
            const bool income = field(row, 0) == kIncome;
            values = {HtmlEscape(field(row, 0)),
                      HtmlEscape(field(row, 1)),
                      HtmlEscape(field(row, 2)),
                      income ? HtmlEscape(field(row, 3)) : kNbsp,
                      income ? kNbsp : HtmlEscape(field(row, 3)),
                      HtmlEscape(field(row, 4))};
        } else {
            values = {HtmlEscape(field(row, 1)), HtmlEscape(field(row, 2)), orNbsp(field(row, 3)),
                      orNbsp(field(row, 4)), orNbsp(field(row, 5))};
        }
        page.write(rowPattern.fill(values));
    }
    page.write(foot.fill({QStringLiteral("收入合计：%1&nbsp;&nbsp;支出合计：%2&nbsp;&nbsp;结余合计：%3")
                              .arg(THi::FormatAmount(frame.incomeTotal),
                                   THi::FormatAmount(frame.expenseTotal), frame.balanceText())}));
    page.commit();
}

} // namespace

QString ExportTitle(const TReportFrame& frame) {
    return QStringLiteral("%1 (%2 至 %3)")
        .arg(frame.userName, THi::DateYmd(frame.periodFrom), THi::DateYmd(frame.periodTo));
}

void ExportCatesXlsx(const QString& templateFile, const QString& targetFile, const TStringsArray& rows,
                     const TReportFrame& frame) {
    const QStringList columns = {QStringLiteral("类别"), QStringLiteral("项目"), QStringLiteral("数量"),
                                 QStringLiteral("收入"), QStringLiteral("支出"), QStringLiteral("比例")};
    TXlsxWriter writer(templateFile, targetFile, columns, rows.size() + 4);
    for (const QStringList& row : rows) {
        const bool income = field(row, 0) == kIncome;
        writer.appendRow({field(row, 0), field(row, 1), field(row, 2), income ? field(row, 3) : kSpace,
                          income ? kSpace : field(row, 3), field(row, 4)});
    }
    appendTotals(writer, 1, frame);
    writer.commit();
}

void ExportTransXlsx(const QString& templateFile, const QString& targetFile, const TStringsArray& rows,
                     const TReportFrame& frame) {
    const QStringList columns = {QStringLiteral("日期"), QStringLiteral("项目"), QStringLiteral("收入"),
                                 QStringLiteral("支出"), QStringLiteral("备注")};
    TXlsxWriter writer(templateFile, targetFile, columns, rows.size() + 4);
    for (const QStringList& row : rows) {
        const QString in = field(row, 3);
        const QString out = field(row, 4);
        writer.appendRow({field(row, 1), field(row, 2), in.isEmpty() ? kSpace : in,
                          out.isEmpty() ? kSpace : out, field(row, 5)});
    }
    appendTotals(writer, 1, frame);
    writer.commit();
}

void SplitTemplate(const QString& text, QStringList& list, const QString& marker) {
    list.clear();
    const QString trimmed = THi::Trim(text);
    if (trimmed.isEmpty() || marker.isEmpty()) {
        if (!trimmed.isEmpty())
            list << trimmed;
        return;
    }
    qsizetype start = 0;
    for (;;) {
        const qsizetype at = trimmed.indexOf(marker, start, Qt::CaseSensitive);
        const qsizetype end = at < 0 ? trimmed.size() : at;
        if (end > start)
            list << THi::Trim(trimmed.mid(start, end - start));
        if (at < 0)
            break;
        start = at + marker.size();
    }
}

namespace {
// Control characters other than tab and line breaks are not allowed in an HTML page; they show as
// nothing in the lists, so they become spaces.
bool isHtmlControl(char16_t c) {
    return (c < 0x20 && c != '\t' && c != '\n' && c != '\r') || (c >= 0x7F && c <= 0x9F);
}
} // namespace

QString HtmlEscape(const QString& text) {
    qsizetype i = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c == '&' || c == '<' || c == '>' || c == '"' || c == '\'' || isHtmlControl(c))
            break;
    }
    if (i == text.size())
        return text;
    QString out = text.left(i);
    out.reserve(text.size() + 16);
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '"':
            out += QLatin1String("&quot;");
            break;
        case '\'':
            out += QLatin1String("&#39;");
            break;
        default:
            out += isHtmlControl(c.unicode()) ? QChar(QLatin1Char(' ')) : c;
        }
    }
    return out;
}

TTemplateSection::TTemplateSection(const QString& section, const QStringList& placeholders) {
    QStringList lowered;
    for (const QString& p : placeholders)
        lowered << THi::LowerAscii(p);
    QString literal;
    for (qsizetype i = 0; i < section.size();) {
        int found = -1;
        for (int k = 0; k < lowered.size(); ++k) {
            if (lowerAsciiEquals(section, i, lowered.at(k)) &&
                (found < 0 || lowered.at(k).size() > lowered.at(found).size()))
                found = k;
        }
        if (found < 0) {
            literal += section.at(i++);
            continue;
        }
        m_literals << literal;
        literal.clear();
        m_slots << found;
        i += lowered.at(found).size();
    }
    m_literals << literal;
}

QString TTemplateSection::fill(const QStringList& values) const {
    QString out = m_literals.at(0);
    for (int s = 0; s < m_slots.size(); ++s) {
        out += values.value(m_slots.at(s));
        out += m_literals.at(s + 1);
    }
    return out;
}

void ExportCatesHtml(const QString& templateFile, const QString& targetFile, const TStringsArray& rows,
                     const TReportFrame& frame) {
    exportHtml(HtmlKind::Cates, templateFile, targetFile, rows, frame);
}

void ExportTransHtml(const QString& templateFile, const QString& targetFile, const TStringsArray& rows,
                     const TReportFrame& frame) {
    exportHtml(HtmlKind::Trans, templateFile, targetFile, rows, frame);
}
