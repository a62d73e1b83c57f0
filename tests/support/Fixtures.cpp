#include "tests/support/Fixtures.h"

#include "app/ErrorReport.h"
#include "app/HiClass.h"
#include "store/DbClass.h"

#include <QDir>
#include <QFile>
#include <QTest>

QString fixtures::freshLedger(const QString& dir, const QString& name)
{
    const QString path = QDir(dir).filePath(name);
    QFile::remove(path);
    if (!QFile::copy(THi::AppPath() + QStringLiteral("db.zendb"), path))
        qFatal("no ledger template beside the tests");
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    return path;
}

std::unique_ptr<fixtures::MainWindow> fixtures::openMain(const QString& ledger, const QString& user)
{
    TDbMan db(ledger);
    if (!db.UserExists(user))
        db.AddUser(user, QStringLiteral("pw"));
    auto m = std::make_unique<MainWindow>();
    SetErrorPrompts(&m->prompts);
    MainSeams seams;
    seams.prompts = &m->prompts;
    seams.login = [ledger, user] { return LoginResult{ledger, user}; };
    MainWindow* raw = m.get();
    seams.startInstance = [raw](const QString& parameters) { raw->restarts << parameters; };
    m->window = std::make_unique<TfrmMain>(seams);
    return m;
}

QByteArray fixtures::bytesOf(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void fixtures::writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(bytes), qint64(bytes.size()));
}

QStringList fixtures::listing(const QString& dir)
{
    return QDir(dir).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}
