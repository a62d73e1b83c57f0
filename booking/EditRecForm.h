#pragma once
// The record edit dialog: date, category, amount and note of one stored record. It never touches the
// ledger and knows neither the record's id nor its type; its caller keeps both.
#include <QDialog>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;

class TfrmEditRec : public QDialog {
    Q_OBJECT
public:
    // The most characters a user can type into an edit; a longer stored text is still shown whole.
    static constexpr int kMaxTyped = 100;

    explicit TfrmEditRec(QWidget* parent = nullptr);

    // Set before showing; after Save they hold the edited values (date "yyyy-mm-dd", category and
    // note trimmed, amount "%0.2f"). Cancel leaves them as they were set.
    QString FDate;
    QString FCate;
    QString FAmount;
    QString FNotes;

    QDateEdit* dtpDate = nullptr;
    QLineEdit* edtCate = nullptr;
    QLineEdit* edtAmount = nullptr;
    QLineEdit* edtNotes = nullptr;
    QPushButton* btnSave = nullptr;
    QPushButton* btnCancel = nullptr;

    // Fills the inputs from the fields; throws ConvertError for an FDate that is not a date.
    void FormShow();
    // The Save rule, run on every change of the category, amount or note.
    void edtCateChange();
    void btnSaveClick();
    void btnCancelClick();

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
