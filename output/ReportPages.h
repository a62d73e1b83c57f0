#pragma once
// Printed reports as data: A4 pages of positioned labels and rules, laid out in units of 1/96 inch
// (u) for a given resolution, and the painter that puts them onto any paged device.
#include <QDate>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QVector>

class QPagedPaintDevice;
class QPainter;
class ReportModel;

// Rows of display texts; row field k is column k+1 of the list they come from.
using TStringsArray = QVector<QStringList>;

// Appends the rows of a list, in list order. The texts are shared with the list, not copied.
void CollectRows(const ReportModel& list, TStringsArray& rows);

// u * num / den rounded to the nearest integer, halves to even.
int RoundHalfEven(qint64 num, qint64 den);

// Logical pixels per inch of the screen along one axis; 96 without a screen.
int ScreenDpi(Qt::Orientation axis);

// Conversions for one resolution. Every length is converted from its whole value, never
// accumulated from converted parts.
struct TReportUnits {
    int dpiX = 96;
    int dpiY = 96;

    int ScaleX(int u) const { return RoundHalfEven(qint64(u) * dpiX, 96); }
    int ScaleY(int u) const { return RoundHalfEven(qint64(u) * dpiY, 96); }
    // A4 portrait and the 190 x 277 mm band inside its 10 mm margins.
    int PageWidthPx() const { return RoundHalfEven(qint64(dpiX) * 2100, 254); }
    int PageHeightPx() const { return RoundHalfEven(qint64(dpiY) * 2970, 254); }
    int BandWidthPx() const { return RoundHalfEven(qint64(dpiX) * 1900, 254); }
    int BandHeightPx() const { return RoundHalfEven(qint64(dpiY) * 2770, 254); }

    static TReportUnits screen();
};

struct TReportFont {
    QString family;
    int pointSize = 8;
    bool bold = false;
};

// One label or one black filled rectangle; the rectangle is in pixels relative to the band's
// top left corner (a label is exactly as large as its text).
struct TReportItem {
    enum Kind : quint8 { Label, Rule };
    Kind kind = Label;
    quint8 font = 0; // index into TReportPages::fonts
    QRect rect;
    QString text;
};

struct TReportPage {
    int number = 0; // counting from 1
    QVector<TReportItem> items;
};

struct TReportPages {
    TReportUnits units;
    QVector<TReportFont> fonts;
    QVector<TReportPage> pages;

    const TReportFont& fontOf(const TReportItem& item) const { return fonts[item.font]; }
};

// What every page repeats: the user, the period of the last search and its totals.
struct TReportFrame {
    QString userName;
    QDate periodFrom;
    QDate periodTo;
    double incomeTotal = 0;
    double expenseTotal = 0;

    // "%0.2f" of income minus expense; never "-0.00" for a balance that is zero.
    QString balanceText() const;
    // "(yyyy-mm-dd 至 yyyy-mm-dd)"
    QString periodText() const;
};

enum class TReportKind {
    Categories,  // rows: type text, category, count, sum, share
    Transactions // rows: id, date, category, income or "", expense or "", note
};

constexpr int kRowsPerPage = 52;

// Builds the pages of one report row by row: a new page (with the frame and the column captions)
// every 52 rows.
class TReportBuilder {
public:
    TReportBuilder(TReportKind kind, const TReportFrame& frame, const TReportUnits& units);
    ~TReportBuilder();
    TReportBuilder(const TReportBuilder&) = delete;
    TReportBuilder& operator=(const TReportBuilder&) = delete;

    void addRow(const QStringList& row);
    // The pages built; a report without rows still gets its first page, frame only.
    TReportPages finish();

private:
    struct Impl;
    Impl* d;
};

TReportPages BuildReport(TReportKind kind, const TReportFrame& frame, const TStringsArray& rows,
                         const TReportUnits& units);

// Paints one page's items; the painter's origin is the band's top left corner, in the device's
// own pixels. The pages' resolution is mapped to the device's.
void PaintReportPage(QPainter& painter, const TReportPages& doc, int pageIndex);

// Prints the pages on A4 portrait with 10 mm margins, whatever the device was set to, honouring
// the device's page ranges (numbers counting from 1) and printing the range `copies` times.
// Throws FileError when the device cannot be painted on.
void PrintReport(QPagedPaintDevice& device, const TReportPages& doc, int copies = 1);
