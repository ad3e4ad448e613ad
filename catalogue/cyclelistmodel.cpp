#include "catalogue/cyclelistmodel.h"

namespace kvaro {

void CycleListModel::setItems(const QList<CycleListItem>& items)
{
    beginResetModel();
    m_items = items;
    endResetModel();
}

int CycleListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(m_items.size());
}

QVariant CycleListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= m_items.size())
        return {};
    const CycleListItem& item = m_items.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case InfoRole:
        return item.info;
    case CaptionRole:
        return item.caption;
    case NotesRole:
        return item.notes;
    case FileNameRole:
        return item.file;
    case ProgressRole:
        return item.progress;
    default:
        return {};
    }
}

} // namespace kvaro
