#pragma once
// The print and export commands of the transactions page's menus and buttons.
class TfrmMain;

// Connects the print and export commands to their buttons and menu items; called once while the
// main window is created.
void InstallOutputCommands(TfrmMain& main);

// The commands. They read the rows the page's lists hold and the period and totals of the last
// search; nothing comes from the ledger.
void btnCatesPrintClick(TfrmMain& main);
void btnTransMore_PrintClick(TfrmMain& main);
void btnCatesExportClick(TfrmMain& main);
void mnuCatesExport_ToXlsClick(TfrmMain& main);
void btnTransMore_ToXlsClick(TfrmMain& main);
void mnuCatesExport_ToHtmlClick(TfrmMain& main);
void btnTransMore_ToHtmlClick(TfrmMain& main);
