#pragma once
// Category list text: one category per line, lines separated by CR LF, in drop-down order.
#include <QString>
#include <QStringList>

// The entries of a list text: split at CR LF, a lone CR or a lone LF; an empty line is an empty
// entry, a line break at the very end starts no entry, the empty text is the empty list.
QStringList SplitCategoryText(const QString& text);

// The list text of the entries: each followed by CR LF, the whole trimmed.
QString JoinCategoryText(const QStringList& entries);

// Two categories are the same when equal after trimming with A-Z lowered (nothing else folded).
bool SameCategory(const QString& a, const QString& b);

// Index of the first entry that is the same category as `category`, or -1.
int FindCategory(const QStringList& entries, const QString& category);

// The list text the editor stores for its memo text: lines joined with CR LF, trimmed as a whole;
// the lines themselves, empty ones and repeated ones stay as they are.
QString EditorCategoryText(const QString& memoText);
