#pragma once
// The print and export commands of the transactions page's menus and buttons.
class TfrmMain;

// Connects the print and export commands to their buttons and menu items; called once while the
// main window is created.
void InstallOutputCommands(TfrmMain& main);
