#include "app/ReportModel.h"

ReportModel::ReportModel(const QVector<ReportColumn>& columns, QObject* parent)
    : QAbstractTableModel(parent), m_columns(columns)
{
}

int ReportModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ReportModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant ReportModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const int field = index.column() - 1;
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole: {
        const QStringList& r = m_rows[index.row()];
        return field >= 0 && field < r.size() ? r[field] : QString();
    }
    case Qt::TextAlignmentRole:
        return int(m_columns[index.column()].align | Qt::AlignVCenter);
    case Qt::BackgroundRole:
        if (m_background) {
            const QColor c = m_background(index.row());
            if (c.isValid())
                return c;
        }
        return {};
    default:
        return {};
    }
}

QVariant ReportModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= m_columns.size())
        return {};
    if (role == Qt::DisplayRole)
        return m_columns[section].caption;
    if (role == Qt::TextAlignmentRole)
        return int(m_columns[section].align | Qt::AlignVCenter);
    return {};
}

void ReportModel::setColumnCaption(int column, const QString& caption)
{
    m_columns[column].caption = caption;
    Q_EMIT headerDataChanged(Qt::Horizontal, column, column);
}

void ReportModel::setRows(QVector<QStringList> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void ReportModel::appendRow(const QStringList& fields)
{
    const int at = int(m_rows.size());
    beginInsertRows({}, at, at);
    m_rows.append(fields);
    endInsertRows();
}

void ReportModel::removeRowAt(int index)
{
    beginRemoveRows({}, index, index);
    m_rows.removeAt(index);
    endRemoveRows();
}

void ReportModel::clear()
{
    setRows({});
}

void ReportModel::setRowBackground(std::function<QColor(int)> background)
{
    m_background = std::move(background);
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(int(m_rows.size()) - 1, int(m_columns.size()) - 1),
                           {Qt::BackgroundRole});
}
