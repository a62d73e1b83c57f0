// Time and peak memory of the exports and the report builder on a large record list.
//   bench_output [rows]        runs every step, each in a child process of its own
//   bench_output <step> rows   one step (xlsx, html, pages, pdf), as a child does
// Peak memory is the process's VmHWM; "added" is the peak minus the peak after the rows were made.
#include "app/HiClass.h"
#include "output/Exports.h"
#include "output/ReportPages.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

long peakKb() {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLong();
    return -1;
}

// A ten-year ledger's worth of records: dates, categories from a household's list, amounts, notes.
TStringsArray makeRecords(int count) {
    const QStringList categories = {
        QStringLiteral("餐饮"),   QStringLiteral("交通"), QStringLiteral("房租"), QStringLiteral("水电煤气"),
        QStringLiteral("日用品"), QStringLiteral("服装"), QStringLiteral("医疗"), QStringLiteral("教育"),
        QStringLiteral("娱乐"),   QStringLiteral("通讯"), QStringLiteral("工资"), QStringLiteral("奖金")};
    TStringsArray rows;
    rows.reserve(count);
    const QDate start(2015, 1, 1);
    for (int i = 0; i < count; ++i) {
        const bool income = i % 10 == 0;
        const QString amount = THi::FormatAmount((i % 997) * 1.37 + 0.5);
        rows << QStringList{QString::number(i + 1),
                            THi::DateYmd(start.addDays(i / 28)),
                            categories[income ? 10 + i % 2 : i % 10],
                            income ? amount : QString(),
                            income ? QString() : amount,
                            i % 3 ? QStringLiteral("备注 %1 & <b>").arg(i) : QString()};
    }
    return rows;
}

int runStep(const QString& step, int count) {
    const TStringsArray rows = makeRecords(count);
    const TReportFrame frame{QStringLiteral("张三"), QDate(2015, 1, 1), QDate(2024, 12, 31), 123456.78,
                             234567.89};
    const long baseKb = peakKb();
    QTemporaryDir dir;
    QElapsedTimer timer;
    timer.start();
    QString detail;
    if (step == QLatin1String("xlsx")) {
        const QString out = dir.filePath(QStringLiteral("out.xlsx"));
        ExportTransXlsx(THi::AppPath() + QStringLiteral("trans.xlsx"), out, rows, frame);
        detail = QStringLiteral("%1 KB file").arg(QFileInfo(out).size() / 1024);
    } else if (step == QLatin1String("html")) {
        const QString out = dir.filePath(QStringLiteral("out.html"));
        ExportTransHtml(THi::AppPath() + QStringLiteral("trans.html"), out, rows, frame);
        detail = QStringLiteral("%1 KB file").arg(QFileInfo(out).size() / 1024);
    } else if (step == QLatin1String("pages") || step == QLatin1String("pdf")) {
        const TReportPages doc = BuildReport(TReportKind::Transactions, frame, rows, {96, 96});
        qsizetype items = 0;
        for (const TReportPage& page : doc.pages)
            items += page.items.size();
        detail = QStringLiteral("%1 pages, %2 items").arg(doc.pages.size()).arg(items);
        if (step == QLatin1String("pdf")) {
            const QString out = dir.filePath(QStringLiteral("out.pdf"));
            {
                QPdfWriter writer(out);
                PrintReport(writer, doc);
            }
            detail += QStringLiteral(", %1 KB PDF").arg(QFileInfo(out).size() / 1024);
        }
    } else {
        std::fprintf(stderr, "unknown step %s\n", qPrintable(step));
        return 2;
    }
    const qint64 ms = timer.elapsed();
    const long peak = peakKb();
    std::printf("%-6s %8d rows %8lld ms  peak %7.1f MB  added %7.1f MB  (%s)\n", qPrintable(step), count,
                static_cast<long long>(ms), peak / 1024.0, (peak - baseKb) / 1024.0, qPrintable(detail));
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv); // fonts are measured for the pages
    const QStringList args = app.arguments();
    if (args.size() == 3)
        return runStep(args[1], args[2].toInt());
    const int count = args.size() == 2 ? args[1].toInt() : 100000;
    for (const char* step : {"xlsx", "html", "pages", "pdf"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QCoreApplication::applicationFilePath(),
                    {QString::fromLatin1(step), QString::number(count)});
        if (!child.waitForFinished(-1) || child.exitCode() != 0)
            std::fprintf(stderr, "step %s failed\n", step);
    }
    return 0;
}
