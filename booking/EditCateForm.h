#pragma once
// The category editor: a whole category list as plain text, one category per line.
#include <QDialog>

class QPlainTextEdit;
class QPushButton;

class TfrmEditCate : public QDialog {
    Q_OBJECT
public:
    explicit TfrmEditCate(QWidget* parent = nullptr);

    // The list text: set before the dialog is shown, replaced by the edited text on Save.
    QString FText;

    QPlainTextEdit* memText = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnCancel = nullptr;

    void FormShow();
    void memTextChange();
    void btnSaveClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
};
