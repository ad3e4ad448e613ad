#include "chart/filterlist.h"

#include "base/language.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "cycles/cycleformat.h"

namespace kvaro {

namespace {

namespace item {
inline constexpr int Temperature = 0;
inline constexpr int T1 = 1;
inline constexpr int T2 = 2;
inline constexpr int T1Ch2 = 3;
inline constexpr int T2Ch2 = 4;
inline constexpr int Outputs = 29;
inline constexpr int Power = 30; // then the five outputs 31..35 in arrow lane order
inline constexpr int Heaters = 31;
inline constexpr int Fan = 32;
inline constexpr int Airing = 33;
inline constexpr int Burner2 = 34;
inline constexpr int Fan2 = 35;
inline constexpr int FirstSpare = 36;
} // namespace item

QString itemNumber(int index)
{
    return QStringLiteral("Item %1").arg(index);
}

} // namespace

FilterList::FilterList()
{
    auto set = [this](int index, Role role, const QString& caption) {
        m_items[std::size_t(index)] = Item{role, caption, false, false};
    };
    set(item::Temperature, Role::TemperatureHeader, QStringLiteral("Temperatura"));
    set(item::T1, Role::Check, QStringLiteral("T1"));
    set(item::T2, Role::Check, QStringLiteral("T2"));
    set(item::T1Ch2, Role::Text, QStringLiteral("T1 CH2"));
    set(item::T2Ch2, Role::Text, QStringLiteral("T2 CH2"));
    for (int b = 1; b <= field::MaxBurners; ++b) {
        set(burnerHeader(b), Role::BurnerHeader,
            b <= 3 ? QStringLiteral("Palnik %1").arg(b) : QStringLiteral("P%1").arg(b));
        const int exchanger = burnerExchanger(b);
        const int events = burnerEvents(b);
        set(exchanger, Role::Check,
            b <= 2   ? QStringLiteral("Wymiennik")
            : b == 3 ? QStringLiteral("Z")
                     : itemNumber(exchanger));
        set(events, Role::Check, b <= 2 ? QStringLiteral("Zdarzenia") : itemNumber(events));
    }
    set(item::Outputs, Role::Header, QStringLiteral("Wyjścia"));
    set(item::Power, Role::Check, QStringLiteral("Moc"));
    set(item::Heaters, Role::Check, QStringLiteral("Grzałki"));
    set(item::Fan, Role::Check, QStringLiteral("Wentylator"));
    set(item::Airing, Role::Check, QStringLiteral("Przewietrzanie"));
    set(item::Burner2, Role::Check, QStringLiteral("Palnik drugi"));
    set(item::Fan2, Role::Check, QStringLiteral("Wentylator drugi"));
    for (int i = item::FirstSpare; i < ItemCount; ++i)
        set(i, Role::Spare, itemNumber(i));
}

void FilterList::setCaptions(const Language& language)
{
    auto caption = [this](int index, const QString& text) {
        m_items[std::size_t(index)].caption = text;
    };
    caption(item::Temperature, language.text(Text::Temperature));
    caption(item::T1, QStringLiteral("T1"));
    caption(item::T2, QStringLiteral("T2"));
    caption(item::T1Ch2,
            QStringLiteral("T1 ") + language.text(Text::Channel) + QStringLiteral("1"));
    caption(item::T2Ch2,
            QStringLiteral("T2 ") + language.text(Text::Channel) + QStringLiteral("2"));
    for (int b = 1; b <= field::MaxBurners; ++b) {
        caption(burnerHeader(b),
                language.text(Text::Burner) + QLatin1Char(' ') + QString::number(b));
        caption(burnerExchanger(b), language.text(Text::HeatExchanger));
        caption(burnerEvents(b), language.text(Text::Events));
    }
    caption(item::Outputs, language.text(Text::Outputs));
    caption(item::Power, language.text(Text::Power));
    caption(item::Heaters, language.text(Text::Heaters));
    caption(item::Fan, language.text(Text::Fan));
    caption(item::Airing, language.text(Text::Airing));
    caption(item::Burner2, QString());
    caption(item::Fan2,
            language.text(Text::Fan) + language.text(Text::Channel) + QStringLiteral("2"));
    caption(item::FirstSpare, QString());
}

void FilterList::WczytajFiltry(const ChartSummary& summary, ChartModel& chart)
{
    for (Item& entry : m_items)
        entry.shown = false;
    setShown(item::Temperature, true);
    setShown(item::T1, true);

    const int probes = summary.LoadedProbeCount;
    setShown(item::T2, probes > 1 || probes == 0);
    setShown(item::T1Ch2, probes > 2);
    setShown(item::T2Ch2, probes > 3);

    if (summary.LoadedOvenKind != heating::Electric) {
        for (int b = 1; b <= field::MaxBurners; ++b) {
            if (summary.LoadedBurnerCount > b - 1) {
                setShown(burnerHeader(b), true);
                setShown(burnerExchanger(b), true);
                setShown(burnerEvents(b), true);
            }
        }
    }

    setShown(item::Outputs, true);
    setShown(item::Fan, true);
    setShown(item::Airing, true);
    const bool electric = summary.LoadedOvenKind == heating::Electric;
    setShown(item::Heaters, electric);
    setShown(item::Burner2, electric && summary.shown.secondChannel);
    setShown(item::Power, summary.shown.powerBar);
    setShown(item::Fan2, summary.shown.secondChannel);

    for (Item& entry : m_items) {
        if (!entry.shown)
            entry.checked = false;
    }
    OdswiezChartWgFiltrow(chart);
}

void FilterList::OdswiezChartWgFiltrow(ChartModel& chart) const
{
    auto checked = [this](int index) { return item(index).checked; };

    chart.at(series::T1).active = checked(item::T1);
    chart.at(series::T2).active = checked(item::T2);
    chart.at(series::WorkingTemperature).active = checked(item::T1) && checked(item::T2);

    for (int b = 1; b <= field::MaxBurners; ++b)
        chart.at(series::BurnerTemperatureFirst + b - 1).active = checked(burnerExchanger(b));

    // Series 2..7: the power area and the five output lanes, items 30..35.
    for (int i = 0; i <= item::Fan2 - item::Power; ++i)
        chart.at(series::Power + i).active = checked(item::Power + i);

    for (int b = 1; b <= field::MaxBurners; ++b) {
        for (int code = 1; code <= 7; ++code)
            chart.at(series::event(b, code)).active = checked(burnerEvents(b));
    }
}

int FilterList::seriesOf(int index)
{
    if (index == item::T1)
        return series::T1;
    if (index == item::T2)
        return series::T2;
    if (index >= item::Power && index <= item::Fan2)
        return series::Power + index - item::Power;
    for (int b = 1; b <= field::MaxBurners; ++b) {
        if (index == burnerExchanger(b))
            return series::BurnerTemperatureFirst + b - 1;
        if (index == burnerEvents(b))
            return series::event(b, 1);
    }
    return -1;
}

void FilterList::toggle(int index, ChartModel& chart)
{
    if (index < 0 || index >= ItemCount)
        return;
    Item& entry = m_items[std::size_t(index)];
    // A hidden item cannot be clicked; it stays unchecked until a load shows it.
    if (entry.hasCheckBox() && entry.shown)
        entry.checked = !entry.checked;
    OdswiezChartWgFiltrow(chart);
}

void FilterList::checkShown(bool checked)
{
    for (Item& entry : m_items) {
        if (entry.shown)
            entry.checked = checked;
    }
}

void FilterList::checkAllShown(ChartModel& chart)
{
    checkShown(true);
    OdswiezChartWgFiltrow(chart);
}

void FilterList::uncheckAllShown(ChartModel& chart)
{
    checkShown(false);
    OdswiezChartWgFiltrow(chart);
}

void FilterList::takeMarksChanged(const FilterList& before, const FilterList& now,
                                  ChartModel& chart)
{
    for (std::size_t i = 0; i < m_items.size(); ++i) {
        const bool mark = now.m_items[i].checked;
        // A hidden item stays unchecked, as after any load.
        if (mark != before.m_items[i].checked && m_items[i].shown)
            m_items[i].checked = mark;
    }
    OdswiezChartWgFiltrow(chart);
}

QDebug operator<<(QDebug debug, const FilterList::Item& item)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "FilterItem(" << item.caption << " role=" << int(item.role)
                    << " shown=" << item.shown << " checked=" << item.checked << ')';
    return debug;
}

} // namespace kvaro
