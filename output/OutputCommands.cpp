#include "output/OutputCommands.h"

#include "app/ErrorReport.h"
#include "app/HiClass.h"
#include "app/MainForm.h"
#include "app/Prompts.h"
#include "app/ReportView.h"
#include "browse/TransPage.h"
#include "output/Exports.h"
#include "output/PrintForm.h"
#include "output/ReportPages.h"

#include <QAction>
#include <QCursor>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>

namespace {

TReportFrame frameOf(const TfrmMain& m) {
    return {m.FUserName, m.FPeriodFrom, m.FPeriodTo, m.FIncomeTotal, m.FExpenseTotal};
}

// Income ranking first, then the expense ranking.
TStringsArray rankingRows(const TfrmMain& m) {
    TStringsArray rows;
    CollectRows(*m.pnlTransactions->lvwInCates->reportModel(), rows);
    CollectRows(*m.pnlTransactions->lvwOutCates->reportModel(), rows);
    return rows;
}

TStringsArray recordRows(const TfrmMain& m) {
    TStringsArray rows;
    CollectRows(*m.pnlTransactions->lvwTrans->reportModel(), rows);
    return rows;
}

// The file to write, or empty when the save dialog was cancelled.
QString chooseTarget(TfrmMain& m, const QString& extension) {
    const QString pattern = QLatin1Char('*') + extension;
    const QString chosen = m.prompts().saveFileName(&m, QStringLiteral("%1 (%1)").arg(pattern));
    if (chosen.isEmpty())
        return {};
    return QFileInfo(THi::WithExtension(chosen, extension)).absoluteFilePath();
}

void reportSuccess(TfrmMain& m, const QString& file) {
    m.prompts().message(&m, Prompts::Icon::Information, QStringLiteral("Zendrel"),
                        QStringLiteral("成功！\r\n\r\n") + QDir::toNativeSeparators(file));
}

using ExportFn = void (*)(const QString&, const QString&, const TStringsArray&, const TReportFrame&);

void runExport(TfrmMain& m, const QString& extension, const QString& templateName, bool rankings,
               ExportFn fn) {
    BusyGuard busy;
    const QString target = chooseTarget(m, extension);
    if (target.isEmpty())
        return;
    fn(THi::AppPath() + templateName, target, rankings ? rankingRows(m) : recordRows(m), frameOf(m));
    busy.release();
    reportSuccess(m, target);
}

void connectAction(TfrmMain& m, QAction* action, void (*handler)(TfrmMain&)) {
    QObject::connect(action, &QAction::triggered, &m,
                     GuardedSlot([&m, handler] { handler(m); }));
}

} // namespace

void btnCatesPrintClick(TfrmMain& m) {
    QPushButton* button = m.pnlTransactions->btnCatesPrint;
    {
        BusyGuard busy(button);
        const TReportPages pages =
            BuildReport(TReportKind::Categories, frameOf(m), rankingRows(m), TReportUnits::screen());
        ShowPrintPreview(m, pages);
    }
    button->setFocus();
}

void btnTransMore_PrintClick(TfrmMain& m) {
    BusyGuard busy;
    const TReportPages pages =
        BuildReport(TReportKind::Transactions, frameOf(m), recordRows(m), TReportUnits::screen());
    ShowPrintPreview(m, pages);
}

void btnCatesExportClick(TfrmMain& m) {
    m.pnlTransactions->mnuCatesExport->popup(QCursor::pos());
}

void mnuCatesExport_ToXlsClick(TfrmMain& m) {
    runExport(m, QStringLiteral(".xlsx"), QStringLiteral("cates.xlsx"), true, ExportCatesXlsx);
}

void btnTransMore_ToXlsClick(TfrmMain& m) {
    runExport(m, QStringLiteral(".xlsx"), QStringLiteral("trans.xlsx"), false, ExportTransXlsx);
}

void mnuCatesExport_ToHtmlClick(TfrmMain& m) {
    runExport(m, QStringLiteral(".html"), QStringLiteral("cates.html"), true, ExportCatesHtml);
}

void btnTransMore_ToHtmlClick(TfrmMain& m) {
    runExport(m, QStringLiteral(".html"), QStringLiteral("trans.html"), false, ExportTransHtml);
}

void InstallOutputCommands(TfrmMain& m) {
    TTransPage* page = m.pnlTransactions;
    QObject::connect(page->btnCatesPrint, &QPushButton::clicked, &m,
                     GuardedSlot([&m] { btnCatesPrintClick(m); }));
    QObject::connect(page->btnCatesExport, &QPushButton::clicked, &m,
                     GuardedSlot([&m] { btnCatesExportClick(m); }));
    connectAction(m, page->mnuCatesExport_ToXls, mnuCatesExport_ToXlsClick);
    connectAction(m, page->mnuCatesExport_ToHtml, mnuCatesExport_ToHtmlClick);
    connectAction(m, page->btnTransMore_ToXls, btnTransMore_ToXlsClick);
    connectAction(m, page->btnTransMore_ToHtml, btnTransMore_ToHtmlClick);
    connectAction(m, page->btnTransMore_Print, btnTransMore_PrintClick);
}
