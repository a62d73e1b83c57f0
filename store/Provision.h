#pragma once
// Where the ledger lives and how it comes into being before the login.
#include <QString>
#include <QStringList>

// <data location>/Zendrel/db.zendb
QString LedgerPath();
// The empty ledger installed beside the program.
QString LedgerTemplatePath();
// Whether `fileName` ends in ".zendb" in any letter case (the extension from the last point on).
bool HasLedgerExtension(const QString& fileName);

// What became of a ledger file named as the first argument.
struct RestoreOutcome {
    enum class State { None, Restored, Refused };
    State state = State::None;
    QString text; // for the user: where the replaced ledger was kept, or why nothing changed
};

// Makes sure the ledger file is in place and returns its path:
// 1. the path; 2. its read-only attribute cleared; 3. a first argument naming an existing
// ".zendb" file that is a ledger of this program replaces it (the old one kept beside it); a file that
// is not, or a replacement that fails, changes nothing; 4. the template is copied when it is still missing.
QString ProvisionLedger(const QStringList& arguments, RestoreOutcome* outcome = nullptr);
