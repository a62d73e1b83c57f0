#pragma once
// Backup copies of the ledger and putting one back in its place.
#include "app/Errors.h"

#include <QString>

// A file that is not a ledger of this program, refused before anything changes.
class NotALedgerError : public ZError {
public:
    using ZError::ZError;
};

// Empty when `path` is a ledger of this program (our application id and format version, the three
// tables with their columns, an intact file); otherwise what is wrong, in words a user reads.
// The file itself is only read: the check works on a private copy, so a journal beside the file is
// never played back onto it and nothing is created next to it.
QString LedgerProblem(const QString& path);

// `fileName` as a backup name: kept when it ends in ".zendb" (any letter case), else with ".zendb" added.
QString WithLedgerExtension(const QString& fileName);

// Writes a consistent copy of the whole ledger (every user's books) to `target`, made by SQLite while
// other connections may be writing. The copy goes to a temporary file in the target's folder that is
// renamed into place, so a failure (FileError or DbError, with the reason) leaves no file under that name.
void BackupLedger(const QString& ledger, const QString& target);

// The name under which the ledger replaced by a restore is kept beside it at `stamp`:
// "db-before-restore-2026-12-11-153012.zendb" for "db.zendb".
QString KeptLedgerName(const QString& ledger, const QString& stamp);

// Replaces `ledger` by the content of `source`. The source is checked first (NotALedgerError when it is
// not a ledger); the ledger being replaced is kept beside it as a consistent copy of its committed state
// (KeptLedgerName); a journal or WAL file the old ledger left is cleared before the new content is
// renamed over it, so it can never be played back onto the restored file. Any failure leaves the
// ledger as it was. Returns the path of the kept copy (empty when there was no ledger to replace).
QString RestoreLedger(const QString& source, const QString& ledger);
