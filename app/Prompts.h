#pragma once
// Every question, message, input box, file dialog and modal dialog goes through this interface,
// so each handler can run in a test without a person.
#include <QString>
#include <optional>

class QWidget;
class QDialog;

class Prompts {
public:
    enum class Icon { Information, Question, Error, Warning };
    virtual ~Prompts() = default;

    // A question with Yes and No (caption "确认" by convention); true only for Yes.
    virtual bool question(QWidget* parent, const QString& caption, const QString& text) = 0;
    // A message with an OK button.
    virtual void message(QWidget* parent, Icon icon, const QString& caption, const QString& text) = 0;
    // A one-line input box; nothing when cancelled.
    virtual std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                                         const QString& value) = 0;
    // File dialogs; the empty text when cancelled. `filter` is in Qt's form ("*.zendb (*.zendb)").
    virtual QString saveFileName(QWidget* parent, const QString& filter) = 0;
    virtual QString openFileName(QWidget* parent, const QString& filter) = 0;
    // Shows a modal dialog and returns its result (QDialog::Accepted or Rejected).
    virtual int exec(QDialog* dialog) = 0;
};

// The real prompts, with Qt's dialogs.
class QtPrompts : public Prompts {
public:
    bool question(QWidget* parent, const QString& caption, const QString& text) override;
    void message(QWidget* parent, Icon icon, const QString& caption, const QString& text) override;
    std::optional<QString> input(QWidget* parent, const QString& caption, const QString& prompt,
                                 const QString& value) override;
    QString saveFileName(QWidget* parent, const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& filter) override;
    int exec(QDialog* dialog) override;
};
