#include "tests/support/TestEnv.h"

#include <QApplication>
#include <QLocale>
#include <QStyleFactory>
#include <QTemporaryDir>

namespace {
QTemporaryDir* g_home = nullptr;
}

void testenv::init()
{
    QLocale::setDefault(QLocale::c());
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    if (!g_home) {
        g_home = new QTemporaryDir();
        // Tests run side by side: each process gets its own data location.
        qputenv("XDG_DATA_HOME", g_home->path().toLocal8Bit());
    }
}

QString testenv::dataHome()
{
    return g_home ? g_home->path() : QString();
}
