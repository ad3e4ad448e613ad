#include "chart/cyclefigures.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "chart/openedcycle.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdlib>

namespace kvaro {

namespace {

template <typename T> QString orNone(const std::optional<T>& value)
{
    return value ? QString::number(*value) : QStringLiteral("none");
}

} // namespace

QDebug operator<<(QDebug debug, const CycleTrendFigures& f)
{
    QDebugStateSaver saver(debug);
    debug.nospace().noquote() << "CycleTrendFigures(consumed " << orNone(f.consumed) << ' '
                              << int(f.unit) << ", reached after " << orNone(f.reachedAfter)
                              << ", held for " << orNone(f.heldFor) << ", highest "
                              << orNone(f.highestWorking) << ", mean |T1 - T2| "
                              << orNone(f.meanAbsT1T2) << ", duration " << orNone(f.duration)
                              << ')';
    return debug;
}

CycleTrendFigures trendFiguresOf(const ChartModel& chart)
{
    CycleTrendFigures figures;
    if (const std::optional<CycleEndLine>& end = chart.endLine()) {
        figures.consumed = end->consumed;
        figures.unit = end->unit;
        figures.duration = end->elapsed;
    }
    const SetPointTrace& setPoint = chart.setPoint();
    if (setPoint.reachedX) {
        figures.reachedAfter = setPoint.reachedElapsed;
        // The summary's "held for": the hold ends at the last drawn record.
        if (setPoint.holdEndX)
            figures.heldFor = std::abs(setPoint.holdEndElapsed - setPoint.reachedElapsed);
    }
    const ChartPoints& working = chart.at(series::WorkingTemperature).points;
    for (qsizetype i = 0; i < working.size(); ++i)
        figures.highestWorking =
            figures.highestWorking ? std::max(*figures.highestWorking, working.y(i)) : working.y(i);
    figures.meanAbsT1T2 = chart.meanAbsT1T2();
    return figures;
}

CycleTrendReading readTrendFigures(const QString& path, const Language& language)
{
    CycleTrendReading reading;
    const QString file = QFileInfo(path).fileName();
    try {
        const OpenedCycle opened = openCycle(path, CycleSource::Stored, QLatin1Char('.'));
        if (!opened.drawable) {
            reading.failure = file + QStringLiteral(": ") + language.text(Text::NotDrawable);
            return reading;
        }
        const ChartLoad load = WczytajWykres(opened.lines, language);
        load.rethrowFailure();
        if (!load.summary.shown.chart) {
            reading.failure = file + QStringLiteral(": ") + language.text(Text::NotDrawable);
            return reading;
        }
        reading.figures = trendFiguresOf(load.chart);
    } catch (Failure& failure) {
        failure.at(file);
        reading.failure = failure.place() + QStringLiteral(": ") + failure.text();
    }
    return reading;
}

} // namespace kvaro
