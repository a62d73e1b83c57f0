#pragma once
// The category detail dialog: the records of one ranked category in the searched range. It has no
// buttons; the user closes it with the close box.
#include <QDialog>

class ReportView;

class TfrmMoreInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmMoreInfo(QWidget* parent = nullptr);

    // Columns: date, category, amount (captioned "收入" or "支出" by the caller), note.
    ReportView* lvwRecs = nullptr;
};
