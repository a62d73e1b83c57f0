#include "store/Backup.h"

#include "app/HiClass.h"
#include "store/LedgerFormat.h"
#include "store/Provision.h"
#include "store/Sqlite.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <QUrl>
#include <QtEndian>

#include <filesystem>
#include <memory>
#include <sqlite3.h>
#include <system_error>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
const char* const kSideFiles[] = {"-journal", "-wal", "-shm"};

QString label(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

// A copy by SQLite that failed; the code tells a ledger SQLite cannot read from a busy or full disk.
class CopyError : public DbError {
public:
    CopyError(const QString& message, int code) : DbError(message), m_code(code) {}
    bool unreadable() const
    {
        const int primary = m_code & 0xff;
        return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
    }

private:
    int m_code;
};

// A temporary file that is removed (with the journal SQLite may have left beside it) unless kept.
struct TempPath {
    QString path;
    bool keep = false;
    explicit TempPath(QString p) : path(std::move(p)) {}
    ~TempPath()
    {
        if (keep)
            return;
        QFile::remove(path);
        for (const char* side : kSideFiles)
            QFile::remove(path + QLatin1String(side));
    }
    TempPath(const TempPath&) = delete;
    TempPath& operator=(const TempPath&) = delete;
};

// An empty, owner-only file in the folder of `target`, to be renamed over it once complete.
QString makeTempBeside(const QString& target)
{
    const QFileInfo info(target);
    QTemporaryFile file(info.absolutePath() + QStringLiteral("/.") + info.fileName() +
                        QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        throw FileError(QStringLiteral("无法在文件夹 %1 中写入文件：%2")
                            .arg(label(info.absolutePath()), file.errorString()));
    QFile::setPermissions(file.fileName(), kOwnerOnly);
    return file.fileName();
}

std::filesystem::path fsPath(const QString& path)
{
    return std::filesystem::path(path.toStdU16String());
}

// Renames in one step: `to` is either the old file or the complete new one.
void replaceFile(const QString& from, const QString& to)
{
    std::error_code ec;
    std::filesystem::rename(fsPath(from), fsPath(to), ec);
    if (ec)
        throw FileError(
            QStringLiteral("无法写入 %1：%2").arg(label(to), QString::fromLocal8Bit(ec.message().c_str())));
}

// Makes a rename durable: the folder's entry is on disk before we report success.
void syncFolder(const QString& folder)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
#else
    Q_UNUSED(folder);
#endif
}

// A connection to a database that is only read through the backup interface. Opening reads
// nothing; errors come with SQLite's code when the copy reads the file.
class Source {
public:
    explicit Source(const QString& path) : m_path(path)
    {
        const QByteArray uri = QUrl::fromLocalFile(path).toEncoded();
        const int rc =
            sqlite3_open_v2(uri.constData(), &m_db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_URI, nullptr);
        if (rc != SQLITE_OK) {
            const QString reason =
                m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
            sqlite3_close(m_db);
            m_db = nullptr;
            throw CopyError(QStringLiteral("无法打开 %1：%2").arg(label(path), reason), rc);
        }
        sqlite3_extended_result_codes(m_db, 1);
        sqlite3_busy_timeout(m_db, 5000);
    }
    // An open connection, named in messages as `shownPath`.
    Source(const SqlDb& db, const QString& shownPath) : m_path(shownPath), m_db(db.handle()), m_owned(false)
    {
    }
    ~Source()
    {
        if (m_owned)
            sqlite3_close_v2(m_db);
    }
    Source(const Source&) = delete;
    Source& operator=(const Source&) = delete;
    sqlite3* handle() const { return m_db; }
    const QString& path() const { return m_path; }

private:
    QString m_path;
    sqlite3* m_db = nullptr;
    bool m_owned = true;
};

// Copies the whole database of `source` into the empty file `target` through SQLite's backup
// interface: one read transaction, so the copy is a consistent state even while others write.
// Reading the source first rolls back what a crash left unfinished there.
void copyInto(const Source& source, const QString& target)
{
    SqlDb dest(target, SqlDb::Mode::ReadWrite);
    sqlite3_backup* backup = sqlite3_backup_init(dest.handle(), "main", source.handle(), "main");
    if (!backup)
        throw CopyError(QString::fromUtf8(sqlite3_errmsg(dest.handle())), sqlite3_errcode(dest.handle()));
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        const int primary = rc & 0xff;
        QString reason = QString::fromUtf8(sqlite3_errstr(rc));
        if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED)
            reason = QStringLiteral("账本正被另一个程序使用，请稍后再试（%1）").arg(reason);
        throw CopyError(QStringLiteral("%1：%2").arg(label(source.path()), reason), rc);
    }
    // The copy takes over the source's journal mode; at rest a ledger is one file.
    dest.exec("PRAGMA journal_mode=DELETE");
}

// Writes a copy of `source` to `target` through a temporary file renamed into place.
void writeCopy(const Source& source, const QString& target)
{
    TempPath temp(makeTempBeside(target));
    copyInto(source, temp.path);
    replaceFile(temp.path, target);
    temp.keep = true;
    syncFolder(QFileInfo(target).absolutePath());
}

void copyFileTo(const QString& from, const QString& to)
{
    QFile in(from);
    if (!in.copy(to))
        throw FileError(
            QStringLiteral("无法把 %1 复制到 %2：%3").arg(label(from), label(to), in.errorString()));
    QFile::setPermissions(to, kOwnerOnly);
}

// What the file header shows to be wrong before SQLite opens anything; empty when nothing.
QString headerProblem(const QString& path)
{
    const QString file = label(path);
    const QFileInfo info(path);
    if (!info.exists())
        return QStringLiteral("文件 %1 不存在。").arg(file);
    if (!info.isFile())
        return QStringLiteral("%1 不是一个文件。").arg(file);
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly))
        return QStringLiteral("无法读取文件 %1：%2。").arg(file, in.errorString());
    const QByteArray header = in.read(100);
    if (header.size() < 100 || !header.startsWith(QByteArrayLiteral("SQLite format 3\0")))
        return QStringLiteral("文件 %1 不是 Zendrel 的账本：它根本不是数据库文件。").arg(file);
    const auto* h = reinterpret_cast<const uchar*>(header.constData());
    const quint32 rawPageSize = qFromBigEndian<quint16>(h + 16);
    const qint64 pageSize = rawPageSize == 1 ? 65536 : rawPageSize;
    if (pageSize < 512 || (pageSize & (pageSize - 1)) != 0)
        return QStringLiteral("文件 %1 已损坏：文件头无效。").arg(file);
    // The page count in the header is valid when its change counter matches; without a journal or
    // WAL file that could still restore them, missing pages mean the file was cut short.
    const quint32 changeCounter = qFromBigEndian<quint32>(h + 24);
    const qint64 pageCount = qFromBigEndian<quint32>(h + 28);
    const quint32 validFor = qFromBigEndian<quint32>(h + 92);
    const bool sideFiles = QFileInfo::exists(path + QStringLiteral("-journal")) ||
                           QFileInfo::exists(path + QStringLiteral("-wal"));
    if (!sideFiles && changeCounter == validFor && info.size() < pageCount * pageSize)
        return QStringLiteral("文件 %1 不完整：文件被截断了（应有 %2 字节，实际只有 %3 字节）。")
            .arg(file)
            .arg(pageCount * pageSize)
            .arg(info.size());
    return QString();
}

// A private copy of a file that may be a ledger, with any journal or WAL file that lies beside it,
// recovered by SQLite inside a folder of our own and then checked.
class Candidate {
    QTemporaryDir m_dir; // declared first: outlives the connection to the copy inside it

public:
    explicit Candidate(const QString& path);
    QString problem;
    std::unique_ptr<SqlDb> db; // open on the private copy when `problem` is empty

private:
    void checkContent(const QString& file);
};

Candidate::Candidate(const QString& path)
{
    const QString file = label(path);
    problem = headerProblem(path);
    if (!problem.isEmpty())
        return;
    if (!m_dir.isValid()) {
        problem = QStringLiteral("无法检查 %1：不能创建临时文件夹（%2）。").arg(file, m_dir.errorString());
        return;
    }
    const QString copy = m_dir.filePath(QStringLiteral("candidate.zendb"));
    try {
        copyFileTo(path, copy);
        for (const char* side : {"-journal", "-wal"}) {
            if (QFileInfo::exists(path + QLatin1String(side)))
                copyFileTo(path + QLatin1String(side), copy + QLatin1String(side));
        }
    } catch (const ZError& e) {
        problem = e.message();
        return;
    }
    try {
        db = std::make_unique<SqlDb>(copy, SqlDb::Mode::ReadWrite);
        checkContent(file);
    } catch (const ZError&) {
        problem =
            QStringLiteral("文件 %1 已损坏，无法读取：%2。")
                .arg(file, db ? QString::fromUtf8(sqlite3_errmsg(db->handle())) : QStringLiteral("无法打开"));
    }
    if (!problem.isEmpty())
        db.reset();
}

void Candidate::checkContent(const QString& file)
{
    // Plays back a journal or WAL of the private copy and leaves it as one file.
    db->exec("PRAGMA journal_mode=DELETE");
    const auto number = [this](const char* sql) {
        SqlStmt stmt = db->prepare(sql);
        return stmt.step() ? stmt.integer(0) : 0;
    };
    if (number("PRAGMA application_id") != kLedgerApplicationId) {
        problem = QStringLiteral("文件 %1 不是 Zendrel 的账本：它是另一个程序的数据库。").arg(file);
        return;
    }
    const qint64 version = number("PRAGMA user_version");
    if (version > kLedgerUserVersion) {
        problem = QStringLiteral("文件 %1 是更新版本的 Zendrel 账本（格式版本 %2），这个版本无法读取它。")
                      .arg(file)
                      .arg(version);
        return;
    }
    if (version < 1) {
        problem = QStringLiteral("文件 %1 的账本格式版本 %2 无法识别。").arg(file).arg(version);
        return;
    }
    const struct {
        const char* table;
        QStringList columns;
    } tables[] = {
        {"users", {QStringLiteral("name"), QStringLiteral("pwd")}},
        {"cates", {QStringLiteral("user"), QStringLiteral("out"), QStringLiteral("in")}},
        {"data",
         {QStringLiteral("id"), QStringLiteral("user"), QStringLiteral("date"), QStringLiteral("type"),
          QStringLiteral("cate"), QStringLiteral("amount"), QStringLiteral("notes")}},
    };
    for (const auto& t : tables) {
        SqlStmt stmt = db->prepare("SELECT lower(name) FROM pragma_table_info(?1)");
        stmt.bind(1, QString::fromLatin1(t.table));
        QSet<QString> present;
        while (stmt.step())
            present.insert(stmt.text(0));
        if (present.isEmpty()) {
            problem =
                QStringLiteral("文件 %1 不是完整的账本：缺少数据表 %2。").arg(file, QLatin1String(t.table));
            return;
        }
        for (const QString& column : t.columns) {
            if (!present.contains(column)) {
                problem = QStringLiteral("文件 %1 不是完整的账本：数据表 %2 缺少列 %3。")
                              .arg(file, QLatin1String(t.table), column);
                return;
            }
        }
    }
    SqlStmt check = db->prepare("PRAGMA quick_check");
    const QString verdict = check.step() ? check.text(0) : QString();
    if (verdict != QLatin1String("ok"))
        problem = QStringLiteral("文件 %1 已损坏，完整性检查没有通过（%2）。")
                      .arg(file, verdict.simplified().left(200));
}

// Keeps the ledger about to be replaced beside it and returns the copy's path.
QString keepLedger(const QString& ledger)
{
    const QDir folder = QFileInfo(ledger).absoluteDir();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd-HHmmss"));
    QString kept = folder.filePath(KeptLedgerName(ledger, stamp));
    for (int n = 2; QFileInfo::exists(kept); ++n)
        kept = folder.filePath(KeptLedgerName(ledger, stamp + QStringLiteral("-%1").arg(n)));
    bool readable = headerProblem(ledger).isEmpty();
    if (readable) {
        try {
            // Opening it normally first rolls back what a crash left unfinished: the copy holds its
            // committed state.
            writeCopy(Source(ledger), kept);
        } catch (const CopyError& e) {
            if (!e.unreadable())
                throw;
            readable = false;
        }
    }
    if (!readable) {
        // A ledger SQLite cannot read is kept as it lies, with its journal, so nothing of it is lost.
        copyFileTo(ledger, kept);
        for (const char* side : kSideFiles) {
            if (QFileInfo::exists(ledger + QLatin1String(side)))
                copyFileTo(ledger + QLatin1String(side), kept + QLatin1String(side));
        }
    }
    return kept;
}

} // namespace

QString LedgerProblem(const QString& path)
{
    return Candidate(path).problem;
}

QString WithLedgerExtension(const QString& fileName)
{
    return THi::WithExtension(fileName, QStringLiteral(".zendb"));
}

void BackupLedger(const QString& ledger, const QString& target)
{
    try {
        writeCopy(Source(ledger), target);
    } catch (const ZError& e) {
        throw FileError(QStringLiteral("备份到 %1 失败：%2").arg(label(target), e.message()));
    }
}

QString KeptLedgerName(const QString& ledger, const QString& stamp)
{
    return QFileInfo(ledger).completeBaseName() + QStringLiteral("-before-restore-") + stamp +
           QStringLiteral(".zendb");
}

QString RestoreLedger(const QString& source, const QString& ledger)
{
    Candidate candidate(source);
    if (!candidate.problem.isEmpty())
        throw NotALedgerError(candidate.problem);

    // The new content is complete beside the ledger before the old one is touched.
    TempPath fresh(makeTempBeside(ledger));
    copyInto(Source(*candidate.db, source), fresh.path);

    QString kept;
    if (QFileInfo::exists(ledger))
        kept = keepLedger(ledger);

    // A journal or WAL file under the ledger's name would be played back onto the restored file
    // after the rename; the old ledger's state is kept by now, so they go first.
    for (const char* side : kSideFiles) {
        const QString path = ledger + QLatin1String(side);
        QFile file(path);
        if (file.exists() && !file.remove())
            throw FileError(QStringLiteral("无法删除 %1：%2").arg(label(path), file.errorString()));
    }
    replaceFile(fresh.path, ledger);
    fresh.keep = true;
    syncFolder(QFileInfo(ledger).absolutePath());
    return kept;
}
