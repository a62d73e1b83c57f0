// Backup and restore commands of the main window's menu.
#include "app/MainForm.h"

void TfrmMain::mnuMenu_BackupClick() {}

void TfrmMain::mnuMenu_RestoreClick() {}
