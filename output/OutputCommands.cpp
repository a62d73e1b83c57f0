#include "output/OutputCommands.h"

#include "app/MainForm.h"

void InstallOutputCommands(TfrmMain&) {}
