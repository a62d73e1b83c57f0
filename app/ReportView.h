#pragma once
// A report-style list over a ReportModel: read-only, whole rows, one selected row, no sorting,
// not a tab stop, the empty first column and hidden columns not shown.
#include "app/ReportModel.h"

#include <QTreeView>

class ReportView : public QTreeView {
    Q_OBJECT
public:
    ReportView(const QString& objectName, ReportModel* model, QWidget* parent);

    ReportModel* reportModel() const { return m_model; }
    // Index of the selected row, or -1.
    int selectedRow() const;
    bool hasSelection() const { return selectedRow() >= 0; }
    void selectRow(int row);
    void clearSelectedRow();
    // Whether the selected row stays marked while the list does not have the focus.
    void setSelectionShownWithoutFocus(bool shown);

Q_SIGNALS:
    // A row's selection changed (also when the selection was cleared).
    void rowSelectionChanged();
    void keyReleased(int key);
    void focusEntered();

protected:
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;

private:
    void applyColumns();
    ReportModel* m_model;
};
