#include "output/ReportPages.h"

#include "app/Errors.h"
#include "app/HiClass.h"
#include "app/ReportModel.h"

#include <QDir>
#include <QFont>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QPaintDevice>
#include <QPainter>
#include <QScreen>

void CollectRows(const ReportModel& list, TStringsArray& rows) {
    const TStringsArray& source = list.rows();
    rows.reserve(rows.size() + source.size());
    for (const QStringList& row : source)
        rows.append(row);
}

int RoundHalfEven(qint64 num, qint64 den) {
    if (den < 0) {
        num = -num;
        den = -den;
    }
    qint64 q = num / den;
    qint64 r = num % den;
    if (r < 0) { // floor division, so the remainder lies in 0..den-1
        --q;
        r += den;
    }
    if (2 * r > den || (2 * r == den && (q & 1)))
        ++q;
    return int(q);
}

int ScreenDpi(Qt::Orientation axis) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return 96;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return 96;
    const qreal dpi = axis == Qt::Horizontal ? screen->logicalDotsPerInchX() : screen->logicalDotsPerInchY();
    return dpi > 0 ? qRound(dpi) : 96;
}

TReportUnits TReportUnits::screen() {
    return {ScreenDpi(Qt::Horizontal), ScreenDpi(Qt::Vertical)};
}

QString TReportFrame::balanceText() const {
    return THi::FormatAmount(incomeTotal - expenseTotal);
}

QString TReportFrame::periodText() const {
    return QStringLiteral("(%1 至 %2)").arg(THi::DateYmd(periodFrom), THi::DateYmd(periodTo));
}

namespace {

// A paint device that only answers its resolution, for measuring text as it prints at that dpi.
class DpiDevice : public QPaintDevice {
public:
    DpiDevice(int dpiX, int dpiY) : m_dpiX(dpiX), m_dpiY(dpiY) {}
    QPaintEngine* paintEngine() const override { return nullptr; }

protected:
    int metric(PaintDeviceMetric metric) const override {
        switch (metric) {
        case PdmDpiX:
        case PdmPhysicalDpiX:
            return m_dpiX;
        case PdmDpiY:
        case PdmPhysicalDpiY:
            return m_dpiY;
        case PdmWidth:
            return m_dpiX * 8;
        case PdmHeight:
            return m_dpiY * 11;
        case PdmDepth:
            return 32;
        case PdmNumColors:
            return INT_MAX;
        case PdmDevicePixelRatio:
            return 1;
        case PdmDevicePixelRatioScaled:
            return int(devicePixelRatioFScale());
        default:
            return 0;
        }
    }

private:
    int m_dpiX;
    int m_dpiY;
};

enum FontIndex : quint8 { Regular = 0, Title = 1 };

enum class Anchor { Left, Right, RightOfBand };

struct Column {
    QString caption;
    Anchor anchor;
    int u;
};

const QString kIncome = QStringLiteral("收入");

// A label shows one line: line breaks and other control characters become spaces.
QString oneLine(const QString& text) {
    bool clean = true;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029) {
            clean = false;
            break;
        }
    }
    if (clean)
        return text;
    QString result;
    result.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            continue; // CR LF is one break
        if (c.unicode() < 0x20 || c.unicode() == 0x2028 || c.unicode() == 0x2029)
            result += QLatin1Char(' ');
        else
            result += c;
    }
    return result;
}

} // namespace

struct TReportBuilder::Impl {
    TReportKind kind;
    TReportFrame frame;
    TReportPages doc;
    DpiDevice device;
    QFontMetrics regular;
    QFontMetrics title;
    QVector<Column> columns;
    QVector<TReportItem> frameItems; // the same on every page but the page number
    qsizetype pos = 0;

    Impl(TReportKind k, const TReportFrame& f, const TReportUnits& units)
        : kind(k), frame(f), device(units.dpiX, units.dpiY), regular(makeFont(8, false), &device),
          title(makeFont(14, true), &device) {
        doc.units = units;
        doc.fonts = {{QStringLiteral("Tahoma"), 8, false}, {QStringLiteral("Tahoma"), 14, true}};
        if (kind == TReportKind::Categories) {
            columns = {{QStringLiteral("类别"), Anchor::Left, 0},
                       {QStringLiteral("项目"), Anchor::Left, 78},
                       {QStringLiteral("数量"), Anchor::Right, 418},
                       {QStringLiteral("收入"), Anchor::Right, 510},
                       {QStringLiteral("支出"), Anchor::Right, 602},
                       {QStringLiteral("0 - 100%"), Anchor::RightOfBand, 0}};
        } else {
            columns = {{QStringLiteral("日期"), Anchor::Left, 0},
                       {QStringLiteral("项目"), Anchor::Left, 78},
                       {QStringLiteral("收入"), Anchor::Right, 394},
                       {QStringLiteral("支出"), Anchor::Right, 486},
                       {QStringLiteral("备注"), Anchor::Left, 494}};
        }
        buildFrame();
    }

    static QFont makeFont(int pointSize, bool bold) {
        QFont font(QStringLiteral("Tahoma"), pointSize, bold ? QFont::Bold : QFont::Normal);
        return font;
    }

    const TReportUnits& units() const { return doc.units; }

    TReportItem label(const QString& text, FontIndex font) const {
        TReportItem item;
        item.kind = TReportItem::Label;
        item.font = font;
        item.text = oneLine(text);
        const QFontMetrics& fm = font == Title ? title : regular;
        item.rect.setSize(QSize(item.text.isEmpty() ? 0 : fm.horizontalAdvance(item.text), fm.height()));
        return item;
    }

    // Positions are computed after the text is set, so alignment uses the final width.
    int leftFor(const TReportItem& item, Anchor anchor, int u) const {
        switch (anchor) {
        case Anchor::Left:
            return units().ScaleX(u);
        case Anchor::Right:
            return units().ScaleX(u) - item.rect.width();
        case Anchor::RightOfBand:
            return units().BandWidthPx() - item.rect.width();
        }
        return 0;
    }

    // Centred in 0..span; the halving truncates toward zero, a negative left is kept.
    static int centred(int span, const TReportItem& item) { return (span - item.rect.width()) / 2; }

    void place(TReportItem& item, int left, int top) const { item.rect.moveTo(left, top); }

    void buildFrame() {
        const int span = units().ScaleX(578);
        TReportItem t = label(frame.userName, Title);
        place(t, centred(span, t), 0);
        frameItems << t;
        TReportItem p = label(frame.periodText(), Regular);
        place(p, centred(span, p), units().ScaleY(36));
        frameItems << p;
        const QString captions[3] = {QStringLiteral("收入合计："), QStringLiteral("支出合计："),
                                     QStringLiteral("结余合计：")};
        const QString values[3] = {THi::FormatAmount(frame.incomeTotal),
                                   THi::FormatAmount(frame.expenseTotal), frame.balanceText()};
        for (int i = 0; i < 3; ++i) {
            const int top = units().ScaleY(18 * i);
            TReportItem c = label(captions[i], Regular);
            place(c, units().ScaleX(578), top);
            frameItems << c;
            TReportItem v = label(values[i], Regular);
            place(v, leftFor(v, Anchor::RightOfBand, 0), top);
            frameItems << v;
        }
        TReportItem rule;
        rule.kind = TReportItem::Rule;
        rule.rect = QRect(0, units().ScaleY(58), units().BandWidthPx(), units().ScaleY(1));
        frameItems << rule;
        const int captionTop = units().ScaleY(68);
        for (const Column& column : columns) {
            TReportItem c = label(column.caption, Regular);
            place(c, leftFor(c, column.anchor, column.u), captionTop);
            frameItems << c;
        }
    }

    void startPage() {
        TReportPage page;
        page.number = int(doc.pages.size()) + 1;
        page.items.reserve(frameItems.size() + 1 + kRowsPerPage * columns.size());
        for (const TReportItem& item : frameItems)
            page.items << item;
        TReportItem number = label(QStringLiteral("第 %1 页").arg(page.number), Regular);
        place(number, centred(units().BandWidthPx(), number), units().BandHeightPx() - number.rect.height());
        page.items << number;
        doc.pages << std::move(page);
    }

    static QString field(const QStringList& row, int k) { return k < row.size() ? row.at(k) : QString(); }

    void addRow(const QStringList& row) {
        if (pos % kRowsPerPage == 0)
            startPage();
        const int slot = int(pos % kRowsPerPage);
        const int top = units().ScaleY(86 + 18 * slot);
        QString cells[6];
        if (kind == TReportKind::Categories) {
            const bool income = field(row, 0) == kIncome;
            cells[0] = field(row, 0);
            cells[1] = field(row, 1);
            cells[2] = field(row, 2);
            cells[3] = income ? field(row, 3) : QString();
            cells[4] = income ? QString() : field(row, 3);
            cells[5] = field(row, 4);
        } else {
            for (int k = 0; k < 5; ++k)
                cells[k] = field(row, k + 1);
        }
        QVector<TReportItem>& items = doc.pages.last().items;
        for (int c = 0; c < columns.size(); ++c) {
            TReportItem cell = label(cells[c], Regular);
            place(cell, leftFor(cell, columns[c].anchor, columns[c].u), top);
            items << std::move(cell);
        }
        ++pos;
    }
};

TReportBuilder::TReportBuilder(TReportKind kind, const TReportFrame& frame, const TReportUnits& units)
    : d(new Impl(kind, frame, units)) {}

TReportBuilder::~TReportBuilder() {
    delete d;
}

void TReportBuilder::addRow(const QStringList& row) {
    d->addRow(row);
}

TReportPages TReportBuilder::finish() {
    if (d->doc.pages.isEmpty())
        d->startPage();
    return std::move(d->doc);
}

TReportPages BuildReport(TReportKind kind, const TReportFrame& frame, const TStringsArray& rows,
                         const TReportUnits& units) {
    TReportBuilder builder(kind, frame, units);
    for (const QStringList& row : rows)
        builder.addRow(row);
    return builder.finish();
}

void PaintReportPage(QPainter& painter, const TReportPages& doc, int pageIndex) {
    const TReportPage& page = doc.pages.at(pageIndex);
    const QPaintDevice* device = painter.device();
    const int devDpiX = device ? device->logicalDpiX() : doc.units.dpiX;
    const int devDpiY = device ? device->logicalDpiY() : doc.units.dpiY;
    painter.save();
    painter.scale(qreal(devDpiX) / doc.units.dpiX, qreal(devDpiY) / doc.units.dpiY);
    // Under that scale a font must be given at the pages' resolution to print at its size.
    QVector<QFont> fonts;
    for (const TReportFont& f : doc.fonts) {
        QFont font(f.family);
        font.setPointSizeF(qreal(f.pointSize) * doc.units.dpiY / devDpiY);
        font.setBold(f.bold);
        fonts << font;
    }
    painter.setPen(Qt::black);
    int current = -1;
    for (const TReportItem& item : page.items) {
        if (item.kind == TReportItem::Rule) {
            painter.fillRect(item.rect, Qt::black);
            continue;
        }
        if (item.text.isEmpty())
            continue;
        if (item.font != current) {
            current = item.font;
            painter.setFont(fonts.value(current));
        }
        painter.drawText(item.rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine | Qt::TextDontClip,
                         item.text);
    }
    painter.restore();
}

void PrintReport(QPagedPaintDevice& device, const TReportPages& doc, int copies) {
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                         QPageLayout::Millimeter);
    if (!device.setPageLayout(a4)) {
        // A printer whose margins are wider than 10 mm still gets A4 portrait.
        device.setPageSize(a4.pageSize());
        device.setPageOrientation(QPageLayout::Portrait);
    }
    const QPageRanges ranges = device.pageRanges();
    QVector<int> chosen;
    for (int i = 0; i < doc.pages.size(); ++i) {
        if (ranges.isEmpty() || ranges.contains(i + 1))
            chosen << i;
    }
    if (chosen.isEmpty())
        throw ZError(QStringLiteral("所选的页码范围内没有可打印的页。"));
    QPainter painter;
    if (!painter.begin(&device))
        throw FileError(QStringLiteral("无法开始打印。"));
    bool first = true;
    for (int copy = 0; copy < qMax(1, copies); ++copy) {
        for (int index : chosen) {
            if (!first && !device.newPage()) {
                painter.end();
                throw FileError(QStringLiteral("打印时出错：无法开始新的一页。"));
            }
            first = false;
            PaintReportPage(painter, doc, index);
        }
    }
    if (!painter.end())
        throw FileError(QStringLiteral("打印时出错。"));
}
