#pragma once
// Small routines shared by the windows and the ledger store.
#include <QByteArray>
#include <QDate>
#include <QString>

class QObject;

class THi {
public:
    THi() = delete;

    // Directory of the executable, without and with a trailing separator.
    static QString AppDir();
    static QString AppPath();
    // The per-user folder <data location>/<name> (the application name when empty),
    // created with owner-only permissions when missing. Throws FileError when it cannot be made.
    static QString AppDataDir(const QString& name);

    // "yyyy-mm-dd"-style parsing: the whole text must be one valid calendar date.
    static QDate StrToDateEx(const QString& text, const QString& pattern, const QString& separator);
    static QDate StrToDateYmd(const QString& text);
    static QString DateYmd(const QDate& date);

    // Base64 (one line) of the text's GB18030 bytes; DecodeField is its inverse.
    static QString EncodeField(const QString& text);
    static QString DecodeField(const QString& field);
    static QString DecodeField(const QByteArray& field);

    // Removes leading and trailing characters up to U+0020 (blanks and control characters).
    static QString Trim(const QString& text);
    // Lowers A-Z only; every other character stays as it is.
    static QString LowerAscii(const QString& text);
    // "%0.2f" with a point and no grouping.
    static QString FormatAmount(double value);

    // Whether the file name's extension (from its last point on) is `extension`, in any letter case.
    static bool HasExtension(const QString& fileName, const QString& extension);
    // The name as typed when it has the extension, else with the extension appended.
    static QString WithExtension(const QString& fileName, const QString& extension);

    static QByteArray ReadFileText(const QString& fileName);
    // Writes the bytes whole or not at all: a failure never leaves half a file under the name.
    static void WriteFileText(const QString& fileName, const QByteArray& bytes);
    // Text of an embedded resource (":/<name>"); throws ZError when there is none.
    static QString ReadResourceText(const QString& name);

    // Gives every push button of a top-level window the flat look; anything else is left alone.
    static void MakeButtonsFlat(QObject* component);

    // Starts a program without waiting; the path loses its quotes, the working directory is used only
    // when it exists. Returns whether it started (callers that must not report may ignore it).
    static bool RunProgram(const QString& programPath, const QString& parameters, const QString& workingDir,
                           int showWindow);

    // Whether a graphical session can be opened with the platform Qt would choose; when not,
    // `why` says so in words a user reads.
    static bool CanOpenGraphicalSession(QString* why);
};
