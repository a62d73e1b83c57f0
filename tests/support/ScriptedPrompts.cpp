#include "tests/support/ScriptedPrompts.h"

bool ScriptedPrompts::question(QWidget*, const QString& caption, const QString& text)
{
    calls.append({Kind::Question, Icon::Question, caption, text, {}});
    if (questionAnswers.isEmpty()) {
        unexpected << QStringLiteral("question: ") + text;
        return false;
    }
    return questionAnswers.dequeue();
}

void ScriptedPrompts::message(QWidget*, Icon icon, const QString& caption, const QString& text)
{
    calls.append({Kind::Message, icon, caption, text, {}});
}

std::optional<QString> ScriptedPrompts::input(QWidget*, const QString& caption, const QString& prompt,
                                              const QString& value)
{
    calls.append({Kind::Input, Icon::Question, caption, prompt, value});
    if (inputAnswers.isEmpty()) {
        unexpected << QStringLiteral("input: ") + prompt;
        return std::nullopt;
    }
    return inputAnswers.dequeue();
}

QString ScriptedPrompts::saveFileName(QWidget*, const QString& filter)
{
    calls.append({Kind::SaveFile, Icon::Question, {}, {}, filter});
    if (fileAnswers.isEmpty()) {
        unexpected << QStringLiteral("save file: ") + filter;
        return {};
    }
    return fileAnswers.dequeue();
}

QString ScriptedPrompts::openFileName(QWidget*, const QString& filter)
{
    calls.append({Kind::OpenFile, Icon::Question, {}, {}, filter});
    if (fileAnswers.isEmpty()) {
        unexpected << QStringLiteral("open file: ") + filter;
        return {};
    }
    return fileAnswers.dequeue();
}

int ScriptedPrompts::exec(QDialog* dialog)
{
    calls.append({Kind::Dialog, Icon::Information, dialog->windowTitle(), {}, dialog->objectName()});
    if (dialogHandlers.isEmpty()) {
        unexpected << QStringLiteral("dialog: ") + dialog->objectName();
        return QDialog::Rejected;
    }
    dialog->show();
    const int result = dialogHandlers.dequeue()(dialog);
    dialog->hide();
    return result;
}

QList<ScriptedPrompts::Call> ScriptedPrompts::callsOf(Kind kind) const
{
    QList<Call> result;
    for (const Call& c : calls)
        if (c.kind == kind)
            result << c;
    return result;
}

QStringList ScriptedPrompts::messages() const
{
    QStringList result;
    for (const Call& c : calls)
        if (c.kind == Kind::Message)
            result << c.text;
    return result;
}
