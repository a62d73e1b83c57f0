// Starts Zendrel: checks that a window can be shown, then the main window with its login.
#include "app/ErrorReport.h"
#include "app/HiClass.h"
#include "app/MainForm.h"
#include "app/Prompts.h"

#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>
#include <cstdio>
#include <memory>

int main(int argc, char** argv)
{
    QString why;
    if (!THi::CanOpenGraphicalSession(&why)) {
        std::fprintf(stderr, "%s\n", why.toLocal8Bit().constData());
        return 1;
    }
    ZApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zendrel"));
    QDir::setCurrent(THi::AppDir());

    // Message boxes, file and print dialogs speak Chinese.
    QTranslator qtTranslator;
    if (qtTranslator.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

    QtPrompts prompts;
    SetErrorPrompts(&prompts);
    std::unique_ptr<TfrmMain> window;
    try {
        MainSeams seams;
        seams.prompts = &prompts;
        window = std::make_unique<TfrmMain>(seams);
    } catch (...) {
        ReportCurrentException();
        return 1;
    }
    if (!window->loggedIn())
        return 0;
    window->show();
    return QApplication::exec();
}
