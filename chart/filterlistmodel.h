#pragma once

#include <QAbstractListModel>

namespace kvaro {

class ChartModel;
class FilterList;

// Listboxprawy's items: one row per filter item, in the list's fixed order, so a row is the
// item's position. Which rows the view hides follows each item's shown flag (see
// FilterListModel::isShown); the model itself always has all 45 rows.
class FilterListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum DataRole {
        ItemRoleRole = Qt::UserRole + 1, // FilterList::Role as an int
        ShownRole,                       // bool: the item's shown flag
        SeriesRole,                      // int: FilterList::seriesOf the item
    };

    // Both stay the window's; they outlive the model.
    FilterListModel(FilterList& filters, ChartModel& chart, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A change of the check state is the user's click on the item's check box: the mark
    // toggles and the series follow (seriesChanged). A state the item already has changes
    // nothing.
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    bool isShown(int row) const;
    // The filter list changed behind the model (a load, a button, new captions).
    void itemsChanged();

signals:
    // The series' shown states changed: the chart needs drawing again.
    void seriesChanged();

private:
    FilterList& m_filters;
    ChartModel& m_chart;
};

} // namespace kvaro
