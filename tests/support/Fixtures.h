#pragma once
// Small fixtures: a fresh ledger from the template, a main window opened for a prepared user.
#include "app/MainForm.h"
#include "tests/support/ScriptedPrompts.h"

#include <QStringList>
#include <memory>

namespace fixtures {
// Copies the empty ledger template to `dir`/`name` and returns its path.
QString freshLedger(const QString& dir, const QString& name = QStringLiteral("db.zendb"));

// A main window opened without the login dialog, for `user` (created with password "pw" when missing).
struct MainWindow {
    ScriptedPrompts prompts;
    QStringList restarts; // parameter texts of new instances started
    std::unique_ptr<TfrmMain> window;
};
std::unique_ptr<MainWindow> openMain(const QString& ledger, const QString& user);

// Whole-file bytes (empty when unreadable), writing them, and a folder's file names (hidden included).
QByteArray bytesOf(const QString& path);
void writeBytes(const QString& path, const QByteArray& bytes);
QStringList listing(const QString& dir);
} // namespace fixtures
