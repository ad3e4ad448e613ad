#include "report/cyclereport.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/linebuffer.h"
#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/cyclefigures.h"
#include "chart/cycleidentity.h"
#include "chart/eventmarker.h"
#include "chart/filterlist.h"
#include "chart/recordfields.h"
#include "cycles/cycleformat.h"
#include "cycles/cyclename.h"
#include "cycles/wallclock.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace kvaro {

namespace {

// A line's fields, or nothing where the line is missing or does not split.
std::optional<RecordFields> fieldsOf(const LineBuffer& lines, int index)
{
    if (index < 0 || index >= lines.count())
        return std::nullopt;
    try {
        RecordFields fields(lines.fileName());
        fields.assign(lines.line(index), index);
        return fields;
    } catch (const Failure&) {
        return std::nullopt;
    }
}

// One field read by read(); nothing where it is missing or does not convert. The report
// never stops on a field the chart itself did not need.
template <typename T, typename Read>
std::optional<T> readField(const std::optional<RecordFields>& fields, Read read)
{
    if (!fields)
        return std::nullopt;
    try {
        return read(*fields);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

int timeOfDayAfter(int start, qint64 elapsed)
{
    return int((qint64(start) + elapsed) % SecondsPerDay);
}

std::optional<double> highest(const ChartPoints& points)
{
    if (points.isEmpty())
        return std::nullopt;
    double top = points.y(0);
    for (qsizetype i = 1; i < points.size(); ++i)
        top = std::max(top, points.y(i));
    return top;
}

// The elapsed time of the record drawn at x.
qint64 elapsedAt(const QVector<RecordTotals>& records, double x)
{
    if (records.isEmpty())
        return 0;
    const auto it = std::lower_bound(records.begin(), records.end(), x,
                                     [](const RecordTotals& r, double v) { return r.x < v; });
    return it == records.end() ? records.constLast().elapsed : it->elapsed;
}

} // namespace

QDebug operator<<(QDebug debug, const CycleReport& r)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "CycleReport(" << r.path << " oven=" << r.oven << " number=" << r.number
                    << " date=" << r.date.value_or(QDate())
                    << " start=" << r.startTimeOfDay.value_or(-1)
                    << " end=" << r.endTimeOfDay.value_or(-1) << ' ' << r.endDate.value_or(QDate())
                    << " duration=" << r.duration.value_or(-1) << " type=" << r.heatingType
                    << " burners=" << r.burnerCount << " set=" << r.setTemperature
                    << " reached=" << r.reachedAfter.value_or(-1) << " held=" << r.heldFor
                    << " consumed=" << r.consumed.value_or(-1)
                    << " mean|T1-T2|=" << r.meanAbsT1T2.value_or(-1)
                    << " events=" << r.events.size() << " outputs=" << r.outputs.size() << ')';
    return debug;
}

CycleReport describeCycle(const LineBuffer& lines, const ChartModel& chart,
                          [[maybe_unused]] const ChartSummary& summary, bool stored,
                          const Language& language)
{
    CycleReport r;
    const QFileInfo file(lines.fileName());
    r.path = lines.fileName();
    r.fileName = file.fileName();
    r.identity = cycleIdentityLine(lines, stored, language);
    // A file opened on its own is named as the import would file it.
    r.oven = stored ? file.dir().dirName() : ovenNameOfCycle(lines);
    r.number = cycleNumberFromName(file.fileName());

    const std::optional<RecordFields> first = fieldsOf(lines, line::FirstRecord);
    r.date = readField<QDate>(first, [](const RecordFields& f) -> std::optional<QDate> {
        const int year = f.integer(field::StartYear);
        const QDate date(2000 + year, f.integer(field::StartMonth), f.integer(field::StartDay));
        // Year "0" is how the controller writes "no date".
        if (year == 0 || !date.isValid())
            return std::nullopt;
        return date;
    });
    r.startTimeOfDay = readField<int>(first, [](const RecordFields& f) { return f.timeOfDay(); });
    r.heatingType = readField<int>(first, [](const RecordFields& f) {
                        return f.integer(field::HeatingType);
                    }).value_or(-1);
    if (r.heatingType >= 0 && r.heatingType < heating::Electric)
        r.burnerCount = std::clamp(
            readField<int>(first,
                           [](const RecordFields& f) { return f.integer(field::BurnerCount); })
                .value_or(0),
            0, field::MaxBurners);
    const auto option = [&](int index) {
        return readField<bool>(first, [index](const RecordFields& f) { return f.flag(index); })
            .value_or(false);
    };
    r.secondChannel = option(field::SecondChannelOption);
    r.airing = option(field::AiringOption);
    r.powerRegulation = option(field::PowerRegulationOption);
    if (r.powerRegulation)
        r.powerLevel = summary.powerLevel;
    // What the sign-off block names: the very bytes the cycle came from.
    QFile bytes(lines.fileName());
    QCryptographicHash hash(QCryptographicHash::Sha256);
    if (!lines.fileName().isEmpty() && bytes.open(QIODevice::ReadOnly) && hash.addData(&bytes))
        r.sha256 = QString::fromLatin1(hash.result().toHex());

    // The figures have one definition, the trend's: the report prints the same numbers.
    const CycleTrendFigures figures = trendFiguresOf(chart);
    if (const std::optional<CycleEndLine>& end = chart.endLine())
        r.endTimeOfDay = end->timeOfDay;
    r.duration = figures.duration;
    if (r.date && r.startTimeOfDay && r.duration)
        r.endDate = r.date->addDays((*r.startTimeOfDay + *r.duration) / SecondsPerDay);
    r.consumed = figures.consumed;
    r.unit = figures.unit;
    r.programmedSeconds = readField<qint64>(first, [](const RecordFields& f) {
        return qint64(f.integer(field::ProgrammedMinutes)) * 60 +
               f.integer(field::ProgrammedSeconds);
    });
    r.setTemperature = chart.setPoint().temperature;
    r.reachedAfter = figures.reachedAfter;
    r.heldFor = figures.heldFor.value_or(0);
    r.meanAbsT1T2 = figures.meanAbsT1T2;
    r.highestWorking = figures.highestWorking;
    for (int b = 0; b < r.burnerCount; ++b)
        r.highestExchanger.append(highest(chart.at(series::BurnerTemperatureFirst + b).points));

    for (int s = 0; s < chart.count(); ++s) {
        const std::optional<BurnerEvent> event = burnerEventOf(s);
        if (!event)
            continue;
        for (const ChartBubble& bubble : chart.at(s).bubbles)
            r.events.append({bubble.elapsed,
                             ((bubble.timeOfDay % SecondsPerDay) + SecondsPerDay) % SecondsPerDay,
                             event->burner, event->code, bubble.y});
    }
    std::stable_sort(r.events.begin(), r.events.end(),
                     [](const ReportEvent& a, const ReportEvent& b) {
                         return std::tie(a.elapsed, a.burner) < std::tie(b.elapsed, b.burner);
                     });

    const QVector<RecordTotals>& records = chart.records();
    const int start = r.startTimeOfDay.value_or(0);
    for (int s = series::ArrowFirst; s <= series::ArrowLast; ++s) {
        for (const ChartArrow& arrow : chart.at(s).arrows) {
            const qint64 from = elapsedAt(records, arrow.x0);
            const qint64 to = std::max(from, elapsedAt(records, arrow.x1));
            r.outputs.append({s, from, to, timeOfDayAfter(start, from), timeOfDayAfter(start, to)});
        }
    }
    return r;
}

namespace {

struct ReportLoad {
    OpenedCycle opened;
    std::unique_ptr<ChartModel> chart = std::make_unique<ChartModel>();
    ChartSummary summary;
};

ReportLoad loadForReport(const QString& path, CycleSource source, QChar decimalSeparator,
                         const Language& language)
{
    ReportLoad load{openCycle(path, source, decimalSeparator), std::make_unique<ChartModel>(), {}};
    if (!load.opened.drawable)
        throw Failure(language.text(Text::NotDrawable), path);
    ChartLoad loaded = WczytajWykres(load.opened.lines, language);
    loaded.rethrowFailure();
    *load.chart = std::move(loaded.chart);
    load.summary = std::move(loaded.summary);
    FilterList filters = std::move(loaded.filters);
    if (!isDrawableOvenKind(load.summary.LoadedOvenKind))
        throw Failure(language.text(Text::NotDrawable), path, line::FirstRecord);
    // No one picks the series of a cycle that is not on screen: the report shows all the
    // window would offer for it.
    filters.checkAllShown(*load.chart);
    return load;
}

} // namespace

LoadedReportCycle loadReportCycle(const QString& path, CycleSource source, QChar decimalSeparator,
                                  const Language& language)
{
    ReportLoad load = loadForReport(path, source, decimalSeparator, language);
    LoadedReportCycle loaded;
    loaded.report = describeCycle(load.opened.lines, *load.chart, load.summary,
                                  source == CycleSource::Stored, language);
    loaded.chart = std::move(load.chart);
    return loaded;
}

std::unique_ptr<ChartModel> loadReportChart(const QString& path, CycleSource source,
                                            QChar decimalSeparator, const Language& language)
{
    return loadForReport(path, source, decimalSeparator, language).chart;
}

BatchRow batchRow(const CycleReport& r, std::optional<int> progress)
{
    BatchRow row;
    row.number = r.number.isEmpty() ? r.fileName : r.number;
    row.date = r.date;
    row.startTimeOfDay = r.startTimeOfDay;
    row.endTimeOfDay = r.endTimeOfDay;
    row.endDate = r.endDate;
    row.duration = r.duration;
    row.consumed = r.consumed;
    row.unit = r.unit;
    row.setTemperature = r.setTemperature;
    row.reachedAfter = r.reachedAfter;
    row.heldFor = r.heldFor;
    row.meanAbsT1T2 = r.meanAbsT1T2;
    row.progress = progress;
    return row;
}

QList<UnitTotal> consumptionByUnit(const QList<BatchRow>& rows)
{
    QList<UnitTotal> totals;
    for (const auto unit : {RecordTotals::Unit::Kilograms, RecordTotals::Unit::KilowattHours}) {
        UnitTotal total{unit, 0, 0};
        for (const BatchRow& row : rows) {
            if (row.failure.isEmpty() && row.consumed && row.unit == unit) {
                total.sum += *row.consumed;
                ++total.cycles;
            }
        }
        if (total.cycles > 0)
            totals.append(total);
    }
    return totals;
}

QString localNumber(double value, int decimals, QChar decimalSeparator)
{
    QString text = QString::number(value, 'f', decimals);
    if (decimalSeparator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

} // namespace kvaro
