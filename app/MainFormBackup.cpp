// Backup and restore commands of the main window's menu.
#include "app/ErrorReport.h"
#include "app/MainForm.h"
#include "app/Prompts.h"
#include "store/Backup.h"
#include "store/Provision.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kLedgerFilter = QStringLiteral("*.zendb (*.zendb)");

// The path as one argument of the new instance's command line; a quote in it is written tripled.
QString quotedArgument(QString path)
{
    path.replace(QLatin1Char('"'), QStringLiteral("\"\"\""));
    return QLatin1Char('"') + path + QLatin1Char('"');
}
} // namespace

void TfrmMain::mnuMenu_BackupClick()
{
    const QString chosen = m_prompts->saveFileName(this, kLedgerFilter);
    if (chosen.isEmpty())
        return;
    const QString name = WithLedgerExtension(chosen);
    // The dialog asked about the name as typed; a file under the extended name is not replaced unasked.
    if (name != chosen && QFileInfo::exists(name) &&
        !m_prompts->question(
            this, QStringLiteral("确认"),
            QStringLiteral("%1 已经存在。\r\n要替换它吗？").arg(QDir::toNativeSeparators(name))))
        return;
    {
        BusyGuard busy;
        BackupLedger(FDbFile, name);
    }
    m_prompts->message(this, Prompts::Icon::Information, QStringLiteral("备份"), QStringLiteral("成功！"));
}

void TfrmMain::mnuMenu_RestoreClick()
{
    const QString name = m_prompts->openFileName(this, kLedgerFilter);
    if (name.isEmpty())
        return;
    if (!QFileInfo(name).isFile() || !HasLedgerExtension(name))
        return;
    QString problem;
    {
        BusyGuard busy;
        problem = LedgerProblem(name);
    }
    if (!problem.isEmpty()) {
        m_prompts->message(this, Prompts::Icon::Warning, QStringLiteral("恢复"),
                           problem + QStringLiteral("\n\n没有恢复任何数据，账本保持不变。"));
        return;
    }
    // The new instance puts the file in place before its login; this one closes.
    Restart(quotedArgument(name));
}
