#include "app/ErrorReport.h"

#include "app/Prompts.h"

#include <QPointer>
#include <QWidget>
#include <cstdio>

namespace {
Prompts* g_prompts = nullptr;
}

void SetErrorPrompts(Prompts* prompts)
{
    g_prompts = prompts;
}

void ReportError(const QString& text)
{
    if (g_prompts) {
        g_prompts->message(QApplication::activeWindow(), Prompts::Icon::Error, QStringLiteral("Zendrel"), text);
        return;
    }
    std::fprintf(stderr, "Zendrel: %s\n", text.toLocal8Bit().constData());
}

void ReportCurrentException()
{
    try {
        throw;
    } catch (const ZError& e) {
        ReportError(e.message());
    } catch (const std::bad_alloc&) {
        ReportError(QStringLiteral("内存不足。"));
    } catch (const std::exception& e) {
        ReportError(QString::fromLocal8Bit(e.what()));
    } catch (...) {
        ReportError(QStringLiteral("发生未知错误。"));
    }
}

ZApplication::ZApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool ZApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        ReportCurrentException();
        return false;
    }
}

BusyGuard::BusyGuard(QWidget* control) : m_control(control)
{
    if (m_control)
        m_control->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
}

BusyGuard::~BusyGuard()
{
    release();
}

void BusyGuard::release()
{
    if (!m_active)
        return;
    m_active = false;
    QApplication::restoreOverrideCursor();
    if (m_control)
        m_control->setEnabled(true);
}
