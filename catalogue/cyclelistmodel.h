#pragma once

#include "catalogue/cyclelist.h"

#include <QAbstractListModel>

namespace kvaro {

// The items of ListBox1, as wczytajKalendarz built them.
class CycleListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum Role {
        CaptionRole = Qt::UserRole + 1, // small HTML
        InfoRole,                       // plain text
        NotesRole,                      // small HTML
        FileNameRole,                   // never shown
        ProgressRole,
    };

    using QAbstractListModel::QAbstractListModel;

    void setItems(const QList<CycleListItem>& items);
    void clear() { setItems({}); }
    const QList<CycleListItem>& items() const { return m_items; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    QList<CycleListItem> m_items;
};

} // namespace kvaro
