#pragma once

#include "cyclefixture.h"

#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"

namespace kvaro::test {

// What the window holds across loads: the chart, the summary, the filter list.
struct Window {
    ChartModel chart;
    ChartSummary summary;
    FilterList filters;
    RecordingMessages messages;
    Language language = numberedLanguage();

    void load(const LineBuffer& memo1)
    {
        chart.clearAll();
        // What the load drew before a failure stays, as it stays on screen.
        ChartLoad load = WczytajWykres(
            memo1, language, {std::move(chart), std::move(summary), std::move(filters), {}, {}});
        chart = std::move(load.chart);
        summary = std::move(load.summary);
        filters = std::move(load.filters);
        for (const QString& said : load.messages)
            messages.show(said);
        load.rethrowFailure();
    }
    QStringList labels(int series) const
    {
        QStringList list;
        for (const ChartPoint& p : chart.at(series).points)
            list.append(p.label);
        return list;
    }
    QList<double> xs(int series) const
    {
        QList<double> list;
        for (const ChartPoint& p : chart.at(series).points)
            list.append(p.x);
        return list;
    }
};

} // namespace kvaro::test
