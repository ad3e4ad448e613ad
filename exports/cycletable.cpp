#include "exports/cycletable.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "chart/openedcycle.h"
#include "chart/recordfields.h"
#include "chart/seriesname.h"
#include "cycles/cycleformat.h"

#include <QStringList>
#include <QVector>

#include <algorithm>
#include <array>

namespace kvaro {

namespace {

// The outputs the chart draws as arrows, in the order of their lanes.
constexpr std::array<int, 5> OutputFields{field::OutputBurner1, field::OutputFan,
                                          field::OutputAiring, field::OutputBurner2,
                                          field::OutputFan2};

// What the chart made of the cycle: the records it drew, by line, and the columns they
// need.
struct DrawnCycle {
    QVector<RecordTotals> records;
    bool electric = false;
    int burners = 0;
    QStringList outputTitles; // the arrows' titles, as the chart and the report name them
};

DrawnCycle drawnCycle(const OpenedCycle& cycle, const Language& language)
{
    const QString& file = cycle.lines.fileName();
    if (!cycle.drawable)
        throw Failure(language.text(Text::NotDrawable), file);
    // The chart's own load, on the side: it alone decides which lines are drawn records
    // and which field stops a cycle, so the table holds exactly what the chart shows and
    // fails where the chart fails, with its words. The reading of the rows below then
    // meets only fields this load has converted already.
    const ChartLoad load = WczytajWykres(cycle.lines, language);
    load.rethrowFailure();
    const ChartModel& chart = load.chart;
    const ChartSummary& summary = load.summary;
    if (!isDrawableOvenKind(summary.LoadedOvenKind))
        throw Failure(language.text(Text::NotDrawable), file, line::FirstRecord);
    DrawnCycle drawn;
    drawn.records = chart.records();
    drawn.electric = summary.LoadedOvenKind == heating::Electric;
    // A damaged first record may claim any number of burners; the records hold eight.
    drawn.burners =
        drawn.electric ? 0 : std::clamp(summary.LoadedBurnerCount, 0, field::MaxBurners);
    for (int s = series::ArrowFirst; s <= series::ArrowLast; ++s)
        drawn.outputTitles.append(seriesName(chart, s, language));
    return drawn;
}

QStringList header(const Language& language, const DrawnCycle& drawn)
{
    QStringList names{language.text(Text::CsvClockTime), language.text(Text::CsvElapsed),
                      language.text(Text::CsvT1), language.text(Text::CsvT2),
                      language.text(Text::CsvWorkingTemperature)};
    if (drawn.electric)
        names.append(language.text(Text::CsvPower));
    for (int b = 1; b <= drawn.burners; ++b)
        names.append(fillIn(language.text(Text::CsvExchanger), {QString::number(b)}));
    names.append(language.text(drawn.electric ? Text::CursorEnergyUsed : Text::CursorFuelUsed));
    // The outputs as the chart's arrows and the report's table name them.
    for (const QString& title : drawn.outputTitles)
        names.append(title + QStringLiteral(" [0/1]"));
    for (int b = 1; b <= drawn.burners; ++b)
        names.append(fillIn(language.text(Text::CsvEvent), {QString::number(b)}));
    return names;
}

} // namespace

CsvTable cycleTable(const OpenedCycle& cycle, const Language& language, QChar decimalSeparator)
{
    const DrawnCycle drawn = drawnCycle(cycle, language);
    CsvTable table(decimalSeparator);
    table.addRow(header(language, drawn));

    const LineBuffer& lines = cycle.lines;
    RecordFields fields(lines.fileName());
    QStringList row;
    for (const RecordTotals& record : drawn.records) {
        // The chart's x of a record is its line less the header.
        const int line = int(record.x) + line::FirstRecord;
        fields.assign(lines.lineBytes(line), line);
        // A record of the other kind than the cycle's (an electric line in a burner
        // cycle, or the reverse) carries no value the chart reads for that column.
        const bool electricLine = fields.is(field::HeatingType, QLatin1StringView("3"));
        row.clear();
        row.append(hoursMinutesSeconds(fields.timeOfDay()));
        row.append(hoursMinutesSeconds(record.elapsed));
        // Each number with the decimals its field was written with: "22.0" stays "22.0".
        const auto decimal = [&](int index) {
            return table.decimalField(fields.decimal(index), fields.text(index));
        };
        row.append(decimal(field::T1));
        row.append(decimal(field::T2));
        row.append(decimal(field::WorkingTemperature));
        if (drawn.electric)
            row.append(electricLine ? decimal(field::Power) : QString());
        for (int b = 0; b < drawn.burners; ++b)
            row.append(electricLine ? QString() : decimal(field::burnerTemperature(b)));
        // The record's own counter, where it counts in the cycle's unit.
        const RecordTotals::Unit unit =
            drawn.electric ? RecordTotals::Unit::KilowattHours : RecordTotals::Unit::Kilograms;
        row.append(record.consumed && record.unit == unit
                       ? table.decimalField(*record.consumed,
                                            fields.text(electricLine ? field::Energy : field::Fuel))
                       : QString());
        for (const int output : OutputFields)
            row.append(fields.flag(output) ? QStringLiteral("1") : QStringLiteral("0"));
        for (int b = 0; b < drawn.burners; ++b)
            row.append(electricLine ? QString()
                                    : QString::number(fields.integer(field::burnerEvent(b))));
        table.addRow(row);
    }
    return table;
}

} // namespace kvaro
