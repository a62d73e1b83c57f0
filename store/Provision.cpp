#include "store/Provision.h"

#include "app/HiClass.h"
#include "store/Backup.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {

constexpr QFileDevice::Permissions kOwnerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

void makeWritable(const QString& path)
{
    if (QFileInfo::exists(path))
        QFile::setPermissions(path, QFile::permissions(path) | kOwnerOnly);
}

// Copies through a temporary file in the target's folder, so the target is either the old file or
// the complete new one.
bool copyReplacing(const QString& source, const QString& target)
{
    QFile in(source);
    if (!in.open(QIODevice::ReadOnly))
        return false;
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    char buffer[1 << 16];
    for (;;) {
        const qint64 n = in.read(buffer, sizeof buffer);
        if (n < 0 || (n > 0 && out.write(buffer, n) != n)) {
            out.cancelWriting();
            return false;
        }
        if (n == 0)
            break;
    }
    if (!out.commit())
        return false;
    QFile::setPermissions(target, kOwnerOnly);
    return true;
}

RestoreOutcome restoreFrom(const QString& source, const QString& ledger)
{
    const QString file = QDir::toNativeSeparators(source);
    RestoreOutcome result;
    result.state = RestoreOutcome::State::Refused;
    try {
        const QString kept = RestoreLedger(source, ledger);
        result.state = RestoreOutcome::State::Restored;
        result.text = QStringLiteral("已从 %1 恢复数据。").arg(file);
        if (!kept.isEmpty())
            result.text += QStringLiteral("\n\n原来的账本另存为：\n%1").arg(QDir::toNativeSeparators(kept));
    } catch (const NotALedgerError& e) {
        result.text = e.message() + QStringLiteral("\n\n没有恢复任何数据，原来的账本保持不变。");
    } catch (const ZError& e) {
        result.text = QStringLiteral("无法从 %1 恢复数据：%2\n\n原来的账本保持不变。").arg(file, e.message());
    }
    return result;
}

} // namespace

QString LedgerPath()
{
    return THi::AppDataDir(QStringLiteral("Zendrel")) + QDir::separator() + QStringLiteral("db.zendb");
}

QString LedgerTemplatePath()
{
    return THi::AppPath() + QStringLiteral("db.zendb");
}

bool HasLedgerExtension(const QString& fileName)
{
    return THi::HasExtension(fileName, QStringLiteral(".zendb"));
}

QString ProvisionLedger(const QStringList& arguments, RestoreOutcome* outcome)
{
    RestoreOutcome result;
    const QString path = LedgerPath();
    makeWritable(path);
    if (!arguments.isEmpty()) {
        const QString source = arguments.first();
        if (QFileInfo(source).isFile() && HasLedgerExtension(source))
            result = restoreFrom(source, path);
    }
    if (outcome)
        *outcome = result;
    if (!QFileInfo::exists(path))
        copyReplacing(LedgerTemplatePath(), path);
    makeWritable(path);
    return path;
}
