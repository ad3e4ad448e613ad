#include "chart/filterlistmodel.h"

#include "chart/chartmodel.h"
#include "chart/filterlist.h"

namespace kvaro {

FilterListModel::FilterListModel(FilterList& filters, ChartModel& chart, QObject* parent)
    : QAbstractListModel(parent), m_filters(filters), m_chart(chart)
{
}

int FilterListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_filters.count();
}

QVariant FilterListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_filters.count())
        return {};
    const FilterList::Item& item = m_filters.item(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::ToolTipRole:
        return item.caption;
    case Qt::CheckStateRole:
        if (!item.hasCheckBox())
            return {};
        return item.checked ? Qt::Checked : Qt::Unchecked;
    case ItemRoleRole:
        return int(item.role);
    case ShownRole:
        return item.shown;
    case SeriesRole:
        return FilterList::seriesOf(index.row());
    default:
        return {};
    }
}

Qt::ItemFlags FilterListModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= m_filters.count())
        return Qt::NoItemFlags;
    const FilterList::Item& item = m_filters.item(index.row());
    if (item.hasCheckBox() && item.shown)
        return Qt::ItemIsEnabled | Qt::ItemIsUserCheckable;
    return Qt::ItemIsEnabled;
}

bool FilterListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !(flags(index) & Qt::ItemIsUserCheckable))
        return false;
    const bool wanted = value.value<Qt::CheckState>() != Qt::Unchecked;
    if (wanted == m_filters.item(index.row()).checked)
        return true;
    m_filters.toggle(index.row(), m_chart);
    emit dataChanged(index, index, {Qt::CheckStateRole});
    emit seriesChanged();
    return true;
}

bool FilterListModel::isShown(int row) const
{
    return row >= 0 && row < m_filters.count() && m_filters.item(row).shown;
}

void FilterListModel::itemsChanged()
{
    emit dataChanged(index(0), index(m_filters.count() - 1));
}

} // namespace kvaro
