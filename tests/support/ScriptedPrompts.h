#pragma once
// Prompts answered by a script: each call is recorded, and answered from the queue of its kind.
// A call with no answer queued is recorded as unexpected and answered No / Cancel.
#include "app/Prompts.h"

#include <QDialog>
#include <QList>
#include <QQueue>
#include <QString>
#include <functional>
#include <optional>

class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Question, Message, Input, SaveFile, OpenFile, Dialog };
    struct Call {
        Kind kind;
        Icon icon = Icon::Information;
        QString caption;
        QString text;
        QString value; // filter of a file dialog, value of an input box, object name of a dialog
    };

    QQueue<bool> questionAnswers;
    QQueue<std::optional<QString>> inputAnswers;
    QQueue<QString> fileAnswers;
    // Each handler gets the dialog while it is shown and returns its result.
    QQueue<std::function<int(QDialog*)>> dialogHandlers;

    QList<Call> calls;
    QStringList unexpected;

    bool question(QWidget* parent, const QString& caption, const QString& text) override;
    void message(QWidget* parent, Icon icon, const QString& caption, const QString& text) override;
    std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                                 const QString& value) override;
    QString saveFileName(QWidget* parent, const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& filter) override;
    int exec(QDialog* dialog) override;

    // Calls of one kind, in order.
    QList<Call> callsOf(Kind kind) const;
    // Texts of the messages shown, in order.
    QStringList messages() const;
};
