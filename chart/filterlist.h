#pragma once

#include <QDebug>
#include <QString>

#include <array>

namespace kvaro {

class ChartModel;
class Language;
struct ChartSummary;

// The series filter list Listboxprawy: 45 fixed items that choose which series are drawn.
// A plain model; the window shows it and forwards the clicks.
class FilterList
{
public:
    static constexpr int ItemCount = 45;

    enum class Role {
        TemperatureHeader, // item 0: header with the temperature picture
        BurnerHeader,      // items 5, 8, ..., 26: header with the burner picture
        Header,            // item 29
        Check,             // indented check-box item that controls series
        Text,              // items 3, 4: indented text without a check box
        Spare,             // items 36..44: never shown
    };

    struct Item {
        Role role = Role::Spare;
        QString caption;
        bool shown = false;
        bool checked = false;
        bool hasCheckBox() const { return role == Role::Check; }
        bool isHeader() const
        {
            return role == Role::TemperatureHeader || role == Role::BurnerHeader ||
                   role == Role::Header;
        }
        bool operator==(const Item&) const = default;
    };

    // Every item hidden and unchecked, with the window's own captions.
    FilterList();

    int count() const { return ItemCount; }
    const Item& item(int index) const { return m_items[std::size_t(index)]; }
    void setShown(int index, bool shown) { m_items[std::size_t(index)].shown = shown; }
    void setChecked(int index, bool checked) { m_items[std::size_t(index)].checked = checked; }

    // The captions a language sets; items 37..44 keep theirs.
    void setCaptions(const Language& language);

    // After a load: which items the loaded cycle needs, then the series from the marks.
    void WczytajFiltry(const ChartSummary& summary, ChartModel& chart);
    // Every series shown exactly when its controlling item is checked.
    void OdswiezChartWgFiltrow(ChartModel& chart) const;
    // The user clicked an item's check box: the mark toggles, then the series follow.
    void toggle(int index, ChartModel& chart);
    // Every shown item, headers included, is checked (or unchecked); the series follow.
    void checkAllShown(ChartModel& chart);
    void uncheckAllShown(ChartModel& chart);
    // A load rebuilt this list from a copy taken as `before` while the user went on
    // clicking the list that is `now`: every item whose mark changed meanwhile and that
    // this list shows takes the mark the user gave it; then the series follow.
    void takeMarksChanged(const FilterList& before, const FilterList& now, ChartModel& chart);

    // The series an item's swatch stands for: the line, area or lane it switches, the
    // first event series for an events item; -1 for an item without one.
    static int seriesOf(int index);

    // Positions the rules name.
    static constexpr int burnerHeader(int burner) { return 3 * burner + 2; } // 1..8
    static constexpr int burnerExchanger(int burner) { return 3 * burner + 3; }
    static constexpr int burnerEvents(int burner) { return 3 * burner + 4; }

private:
    void checkShown(bool checked);

    std::array<Item, ItemCount> m_items;
};

QDebug operator<<(QDebug debug, const FilterList::Item& item);

} // namespace kvaro
