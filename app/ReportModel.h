#pragma once
// The one table model behind every report-style list: rows of texts, column captions, widths and
// alignment. Column 0 is the empty zero-width column the views hide; row field k is column k+1.
#include <QAbstractTableModel>
#include <QColor>
#include <QStringList>
#include <QVector>
#include <functional>

struct ReportColumn {
    QString caption;
    int width = 80;
    Qt::Alignment align = Qt::AlignLeft;
    bool hidden = false;
};

class ReportModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit ReportModel(const QVector<ReportColumn>& columns, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const QVector<ReportColumn>& columns() const { return m_columns; }
    void setColumnCaption(int column, const QString& caption);

    // Row fields (the texts of columns 1..n).
    const QStringList& row(int index) const { return m_rows[index]; }
    const QVector<QStringList>& rows() const { return m_rows; }
    // Replaces all rows in one step (a view refreshes once).
    void setRows(QVector<QStringList> rows);
    void appendRow(const QStringList& fields);
    void removeRowAt(int index);
    void clear();

    // Background of a row (for tints); an invalid colour paints the view's own background.
    void setRowBackground(std::function<QColor(int row)> background);

private:
    QVector<ReportColumn> m_columns;
    QVector<QStringList> m_rows;
    std::function<QColor(int)> m_background;
};
