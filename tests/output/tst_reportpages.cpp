// Report pages as data: pagination, the frame on every page, row tops and column anchors, and
// what a rendered PDF shows.
#include "output/ReportPages.h"
#include "tests/support/TestEnv.h"

#include <QPdfWriter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QString kIncome = QStringLiteral("收入");
const QString kExpense = QStringLiteral("支出");

TReportFrame frame(double income = 1234.5, double expense = 200) {
    return {QStringLiteral("张三"), QDate(2024, 1, 1), QDate(2024, 1, 31), income, expense};
}

TStringsArray ranking(int income, int expense) {
    TStringsArray rows;
    for (int i = 0; i < income; ++i)
        rows << QStringList{kIncome, QStringLiteral("in%1").arg(i), QStringLiteral("1"),
                            QStringLiteral("10.00"), QStringLiteral("2.00%")};
    for (int i = 0; i < expense; ++i)
        rows << QStringList{kExpense, QStringLiteral("out%1").arg(i), QStringLiteral("2"),
                            QStringLiteral("20.00"), QStringLiteral("10.00%")};
    return rows;
}

TStringsArray records(int count) {
    TStringsArray rows;
    for (int i = 0; i < count; ++i)
        rows << QStringList{QString::number(i + 1),         QStringLiteral("2024-01-15"),
                            QStringLiteral("rec%1").arg(i), QString(),
                            QStringLiteral("%1.00").arg(i), QStringLiteral("note%1").arg(i)};
    return rows;
}

bool isPageNumber(const TReportItem& item) {
    return item.text.startsWith(QStringLiteral("第 ")) && item.text.endsWith(QStringLiteral(" 页"));
}

// Cells of the row rowSlots of a page, by their top, in item order.
QMap<int, QList<const TReportItem*>> rowsOf(const TReportPage& page, const TReportUnits& units) {
    QMap<int, QList<const TReportItem*>> rows;
    for (const TReportItem& item : page.items) {
        if (item.kind == TReportItem::Label && item.rect.top() >= units.ScaleY(86) && !isPageNumber(item))
            rows[item.rect.top()] << &item;
    }
    return rows;
}

// Everything on a page but its rows and its number.
QStringList frameOf(const TReportPage& page, const TReportUnits& units) {
    QStringList out;
    for (const TReportItem& item : page.items) {
        if (item.rect.top() < units.ScaleY(86))
            out << QStringLiteral("%1@%2,%3,%4,%5")
                       .arg(item.text)
                       .arg(item.rect.left())
                       .arg(item.rect.top())
                       .arg(item.rect.width())
                       .arg(item.rect.height());
    }
    return out;
}

const TReportItem* itemWithText(const TReportPage& page, const QString& text) {
    for (const TReportItem& item : page.items)
        if (item.kind == TReportItem::Label && item.text == text)
            return &item;
    return nullptr;
}

QString run(const QString& program, const QStringList& args) {
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(60000) || p.exitCode() != 0)
        return QStringLiteral("<%1 failed: %2>")
            .arg(program, QString::fromLocal8Bit(p.readAllStandardError()));
    return QString::fromUtf8(p.readAllStandardOutput());
}

} // namespace

class TestReportPages : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { testenv::init(); }

    void lengths_convertWholeValuesRoundingHalvesToEven_data() {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<int>("u");
        QTest::addColumn<int>("px");
        QTest::newRow("96 dpi is one to one") << 96 << 86 << 86;
        QTest::newRow("slot 0 at 120 (107.5)") << 120 << 86 << 108;
        QTest::newRow("slot 1 at 120") << 120 << 104 << 130;
        QTest::newRow("slot 2 at 120 (152.5)") << 120 << 122 << 152;
        QTest::newRow("slot 3 at 120") << 120 << 140 << 175;
        QTest::newRow("one u at 144 (1.5)") << 144 << 1 << 2;
        QTest::newRow("three u at 144 (4.5)") << 144 << 3 << 4;
    }
    void lengths_convertWholeValuesRoundingHalvesToEven() {
        QFETCH(int, dpi);
        QFETCH(int, u);
        QFETCH(int, px);
        const TReportUnits units{dpi, dpi};
        QCOMPARE(units.ScaleX(u), px);
        QCOMPARE(units.ScaleY(u), px);
    }

    void paperSizes_at96dpi() {
        const TReportUnits units{96, 96};
        QCOMPARE(units.PageWidthPx(), 794);
        QCOMPARE(units.PageHeightPx(), 1123);
        QCOMPARE(units.BandWidthPx(), 718);
        QCOMPARE(units.BandHeightPx(), 1047);
    }

    void pages_hold52RowsInOrder_data() {
        QTest::addColumn<bool>("rankings");
        QTest::addColumn<int>("first");  // income ranking rows, or record rows
        QTest::addColumn<int>("second"); // expense ranking rows
        QTest::addColumn<QList<int>>("rowsPerPage");
        QTest::newRow("52 records: one page") << false << 52 << 0 << QList<int>{52};
        QTest::newRow("53 records: two pages") << false << 53 << 0 << QList<int>{52, 1};
        QTest::newRow("50 income + 10 expense share pages") << true << 50 << 10 << QList<int>{52, 8};
        QTest::newRow("expense only") << true << 0 << 105 << QList<int>{52, 52, 1};
        QTest::newRow("no rows: the frame alone") << false << 0 << 0 << QList<int>{0};
    }
    void pages_hold52RowsInOrder() {
        QFETCH(bool, rankings);
        QFETCH(int, first);
        QFETCH(int, second);
        QFETCH(QList<int>, rowsPerPage);
        const TReportUnits units{96, 96};
        const TStringsArray rows = rankings ? ranking(first, second) : records(first);
        const TReportPages doc =
            BuildReport(rankings ? TReportKind::Categories : TReportKind::Transactions, frame(), rows, units);

        QCOMPARE(doc.pages.size(), rowsPerPage.size());
        const QStringList firstFrame = frameOf(doc.pages[0], units);
        QCOMPARE(firstFrame.size(), 9 + (rankings ? 6 : 5)); // frame, rule, column captions
        int next = 0;
        for (int p = 0; p < doc.pages.size(); ++p) {
            const TReportPage& page = doc.pages[p];
            QCOMPARE(page.number, p + 1);
            QCOMPARE(frameOf(page, units), firstFrame);
            const TReportItem* number = itemWithText(page, QStringLiteral("第 %1 页").arg(p + 1));
            QVERIFY(number);
            QCOMPARE(number->rect.bottom() + 1, units.BandHeightPx());
            QCOMPARE(number->rect.left(), (units.BandWidthPx() - number->rect.width()) / 2);

            const auto rowSlots = rowsOf(page, units);
            QCOMPARE(int(rowSlots.size()), rowsPerPage[p]);
            int slot = 0;
            for (auto it = rowSlots.begin(); it != rowSlots.end(); ++it, ++slot, ++next) {
                QCOMPARE(it.key(), units.ScaleY(86 + 18 * slot));
                QCOMPARE(int(it.value().size()), rankings ? 6 : 5); // every cell has a label, empty or not
                const QString category = it.value()[1]->text;
                QCOMPARE(category, rows[next][rankings ? 1 : 2]);
            }
        }
        QCOMPARE(next, int(rows.size()));
    }

    void rowTops_at120dpi() {
        const TReportUnits units{120, 120};
        const TReportPages doc = BuildReport(TReportKind::Transactions, frame(), records(4), units);
        QCOMPARE(rowsOf(doc.pages[0], units).keys(), (QList<int>{108, 130, 152, 175}));
    }

    void frame_layout() {
        const TReportUnits units{96, 96};
        const TReportPages doc = BuildReport(TReportKind::Transactions, frame(10, 45), records(1), units);
        const TReportPage& page = doc.pages[0];

        const TReportItem* title = itemWithText(page, QStringLiteral("张三"));
        QVERIFY(title);
        QCOMPARE(doc.fontOf(*title).family, QStringLiteral("Tahoma"));
        QCOMPARE(doc.fontOf(*title).pointSize, 14);
        QVERIFY(doc.fontOf(*title).bold);
        QCOMPARE(title->rect.top(), 0);
        QCOMPARE(title->rect.left(), (578 - title->rect.width()) / 2);

        const TReportItem* period = itemWithText(page, QStringLiteral("(2024-01-01 至 2024-01-31)"));
        QVERIFY(period);
        QCOMPARE(period->rect.top(), 36);
        QCOMPARE(doc.fontOf(*period).pointSize, 8);
        QVERIFY(!doc.fontOf(*period).bold);

        const QStringList captions = {QStringLiteral("收入合计："), QStringLiteral("支出合计："),
                                      QStringLiteral("结余合计：")};
        const QStringList values = {QStringLiteral("10.00"), QStringLiteral("45.00"),
                                    QStringLiteral("-35.00")};
        for (int i = 0; i < 3; ++i) {
            const TReportItem* caption = itemWithText(page, captions[i]);
            const TReportItem* value = itemWithText(page, values[i]);
            QVERIFY2(caption && value, qPrintable(values[i]));
            QCOMPARE(caption->rect.topLeft(), QPoint(578, 18 * i));
            QCOMPARE(value->rect.top(), 18 * i);
            QCOMPARE(value->rect.right() + 1, 718);
        }
        int rules = 0;
        for (const TReportItem& item : page.items) {
            if (item.kind == TReportItem::Rule) {
                ++rules;
                QCOMPARE(item.rect, QRect(0, 58, 718, 1));
            }
        }
        QCOMPARE(rules, 1);
        for (const QString& caption :
             {QStringLiteral("日期"), QStringLiteral("项目"), QStringLiteral("备注")})
            QCOMPARE(itemWithText(page, caption)->rect.top(), 68);
    }

    void balance_zeroNeverPrintsMinus() {
        QCOMPARE(frame(0.3, 0.1 + 0.2).balanceText(), QStringLiteral("0.00"));
        QCOMPARE(frame(10, 45).balanceText(), QStringLiteral("-35.00"));
    }

    void columns_anchors_data() {
        QTest::addColumn<bool>("rankings");
        QTest::addColumn<QStringList>("row");
        QTest::addColumn<QStringList>("cells");   // in column order
        QTest::addColumn<QStringList>("anchors"); // L<u>: left edge, R<u>: right edge, B: right of band
        QTest::newRow("income ranking row")
            << true
            << QStringList{kIncome, QStringLiteral("工资"), QStringLiteral("3"), QStringLiteral("60.00"),
                           QStringLiteral("100.00%")}
            << QStringList{kIncome,   QStringLiteral("工资"),   QStringLiteral("3"), QStringLiteral("60.00"),
                           QString(), QStringLiteral("100.00%")}
            << QStringList{"L0", "L78", "R418", "R510", "R602", "B"};
        QTest::newRow("expense ranking row")
            << true
            << QStringList{kExpense, QStringLiteral("饭"), QStringLiteral("2"), QStringLiteral("5.50"),
                           QStringLiteral("40.00%")}
            << QStringList{kExpense,  QStringLiteral("饭"),   QStringLiteral("2"),
                           QString(), QStringLiteral("5.50"), QStringLiteral("40.00%")}
            << QStringList{"L0", "L78", "R418", "R510", "R602", "B"};
        QTest::newRow("a type text only like 收入 counts as expense")
            << true
            << QStringList{kIncome + QLatin1Char(' '), QStringLiteral("x"), QStringLiteral("1"),
                           QStringLiteral("1.00"), QStringLiteral("1.00%")}
            << QStringList{kIncome + QLatin1Char(' '), QStringLiteral("x"),    QStringLiteral("1"), QString(),
                           QStringLiteral("1.00"),     QStringLiteral("1.00%")}
            << QStringList{"L0", "L78", "R418", "R510", "R602", "B"};
        QTest::newRow("record without income, note with a line break")
            << false
            << QStringList{QStringLiteral("7"), QStringLiteral("2024-01-02"), QStringLiteral("车"),
                           QString(),           QStringLiteral("12.00"),      QStringLiteral("a\r\nb")}
            << QStringList{QStringLiteral("2024-01-02"), QStringLiteral("车"), QString(),
                           QStringLiteral("12.00"), QStringLiteral("a b")}
            << QStringList{"L0", "L78", "R394", "R486", "L494"};
    }
    void columns_anchors() {
        QFETCH(bool, rankings);
        QFETCH(QStringList, row);
        QFETCH(QStringList, cells);
        QFETCH(QStringList, anchors);
        const TReportUnits units{96, 96};
        const TReportPages doc = BuildReport(rankings ? TReportKind::Categories : TReportKind::Transactions,
                                             frame(), {row}, units);
        const auto rowSlots = rowsOf(doc.pages[0], units);
        QCOMPARE(int(rowSlots.size()), 1);
        const QList<const TReportItem*> items = rowSlots.first();
        QCOMPARE(int(items.size()), int(cells.size()));
        for (int c = 0; c < cells.size(); ++c) {
            QCOMPARE(items[c]->text, cells[c]);
            const QString& a = anchors[c];
            const int u = a.mid(1).toInt();
            if (a.startsWith(QLatin1Char('L')))
                QCOMPARE(items[c]->rect.left(), u);
            else
                QCOMPARE(items[c]->rect.left() + items[c]->rect.width(), a == QLatin1String("B") ? 718 : u);
        }
    }

    void pdf_showsFrameAndRows() {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("report.pdf"));
        TStringsArray rows = records(53);
        rows[0][2] = QStringLiteral("房租");
        rows[0][5] = QStringLiteral("一月份");
        const TReportPages doc = BuildReport(TReportKind::Transactions, frame(10, 45), rows, {96, 96});
        {
            QPdfWriter writer(file);
            writer.setPageOrientation(QPageLayout::Landscape); // the report is A4 portrait anyway
            PrintReport(writer, doc);
        }
        // pdftotext drops the narrow spaces between the page number and its characters.
        const QString text =
            run(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")})
                .remove(QLatin1Char(' '));
        for (const QString& expected :
             {QStringLiteral("张三"), QStringLiteral("(2024-01-01至2024-01-31)"),
              QStringLiteral("收入合计："), QStringLiteral("10.00"), QStringLiteral("45.00"),
              QStringLiteral("-35.00"), QStringLiteral("房租"), QStringLiteral("一月份"),
              QStringLiteral("rec51"), QStringLiteral("note52"), QStringLiteral("第1页"),
              QStringLiteral("第2页")})
            QVERIFY2(text.contains(expected),
                     qPrintable(expected + QStringLiteral(" missing in:\n") + text.left(1000)));
        QVERIFY(text.indexOf(QStringLiteral("rec51")) < text.indexOf(QStringLiteral("第1页")));
        QVERIFY(text.indexOf(QStringLiteral("第1页")) < text.indexOf(QStringLiteral("rec52")));
        const QString info = run(QStringLiteral("pdfinfo"), {file});
        QVERIFY2(info.contains(QRegularExpression(QStringLiteral("Pages: +2\\n"))), qPrintable(info));
        QVERIFY2(info.contains(QRegularExpression(
                     QStringLiteral("Page size: +595[.0-9]* x 84[12][.0-9]* pts \\(A4\\)"))),
                 qPrintable(info));
    }
};

QTEST_MAIN(TestReportPages)
#include "tst_reportpages.moc"
