#include "app/ReportView.h"

#include <QHeaderView>
#include <QKeyEvent>

ReportView::ReportView(const QString& objectName, ReportModel* model, QWidget* parent)
    : QTreeView(parent), m_model(model)
{
    setObjectName(objectName);
    if (!model->parent())
        model->setParent(this);
    setModel(model);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSortingEnabled(false);
    setFocusPolicy(Qt::ClickFocus);
    header()->setSectionsClickable(false);
    header()->setSectionsMovable(false);
    header()->setStretchLastSection(false);
    applyColumns();
    connect(model, &QAbstractItemModel::headerDataChanged, this, [this] { header()->viewport()->update(); });
    connect(selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] { Q_EMIT rowSelectionChanged(); });
    // A reset drops the selection without a selection signal; say so, so buttons follow.
    connect(model, &QAbstractItemModel::modelReset, this, [this] { Q_EMIT rowSelectionChanged(); });
}

void ReportView::applyColumns()
{
    const auto& columns = m_model->columns();
    for (int c = 0; c < columns.size(); ++c) {
        const bool hidden = c == 0 || columns[c].hidden || columns[c].width == 0;
        setColumnHidden(c, hidden);
        if (!hidden)
            setColumnWidth(c, columns[c].width);
    }
}

int ReportView::selectedRow() const
{
    const QModelIndexList rows = selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void ReportView::selectRow(int row)
{
    selectionModel()->select(m_model->index(row, 0),
                             QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    selectionModel()->setCurrentIndex(m_model->index(row, 0), QItemSelectionModel::NoUpdate);
}

void ReportView::clearSelectedRow()
{
    selectionModel()->clearSelection();
}

void ReportView::setSelectionShownWithoutFocus(bool shown)
{
    QPalette p = palette();
    if (shown) {
        p.setColor(QPalette::Inactive, QPalette::Highlight, p.color(QPalette::Active, QPalette::Highlight));
        p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                   p.color(QPalette::Active, QPalette::HighlightedText));
    } else {
        p.setColor(QPalette::Inactive, QPalette::Highlight, Qt::transparent);
        p.setColor(QPalette::Inactive, QPalette::HighlightedText, p.color(QPalette::Active, QPalette::Text));
    }
    setPalette(p);
}

void ReportView::keyReleaseEvent(QKeyEvent* event)
{
    QTreeView::keyReleaseEvent(event);
    Q_EMIT keyReleased(event->key());
}

void ReportView::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    Q_EMIT focusEntered();
}
