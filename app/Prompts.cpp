#include "app/Prompts.h"

#include <QApplication>
#include <QDir>
#include <QDialog>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace {
// A modal box shows the ordinary pointer even while a command keeps its busy cursor.
struct NormalCursor {
    int depth = 0;
    NormalCursor()
    {
        while (QApplication::overrideCursor()) {
            QApplication::restoreOverrideCursor();
            ++depth;
        }
    }
    ~NormalCursor()
    {
        for (int i = 0; i < depth; ++i)
            QApplication::setOverrideCursor(Qt::WaitCursor);
    }
};

QMessageBox::Icon boxIcon(Prompts::Icon icon)
{
    switch (icon) {
    case Prompts::Icon::Information: return QMessageBox::Information;
    case Prompts::Icon::Question: return QMessageBox::Question;
    case Prompts::Icon::Error: return QMessageBox::Critical;
    case Prompts::Icon::Warning: return QMessageBox::Warning;
    }
    return QMessageBox::NoIcon;
}
} // namespace

bool QtPrompts::question(QWidget* parent, const QString& caption, const QString& text)
{
    NormalCursor normal;
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtPrompts::message(QWidget* parent, Icon icon, const QString& caption, const QString& text)
{
    NormalCursor normal;
    QMessageBox box(boxIcon(icon), caption, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

std::optional<QString> QtPrompts::input(QWidget* parent, const QString& caption, const QString& prompt,
                                        const QString& value)
{
    NormalCursor normal;
    bool ok = false;
    const QString text = QInputDialog::getText(parent, caption, prompt, QLineEdit::Normal, value, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtPrompts::saveFileName(QWidget* parent, const QString& filter)
{
    NormalCursor normal;
    // The current directory is the program's folder; start where the user's files are.
    return QFileDialog::getSaveFileName(parent, QString(), QDir::homePath(), filter);
}

QString QtPrompts::openFileName(QWidget* parent, const QString& filter)
{
    NormalCursor normal;
    return QFileDialog::getOpenFileName(parent, QString(), QDir::homePath(), filter);
}

int QtPrompts::exec(QDialog* dialog)
{
    NormalCursor normal;
    return dialog->exec();
}
