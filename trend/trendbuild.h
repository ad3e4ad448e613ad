#pragma once

#include "catalogue/catalogue.h"
#include "chart/cyclefigures.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace kvaro {

class CatalogueIndex;
class Language;

// One cycle of an oven's trend.
struct TrendCycle {
    QString file;    // "P123.csv"
    QString number;  // "123"
    QDateTime start; // the controller's wall-clock time, held as UTC (CycleStamp::toDateTime)
    std::optional<CycleTrendFigures> figures; // none when the file gave none: see the report

    friend bool operator==(const TrendCycle&, const TrendCycle&) = default;
};

struct Trend {
    QList<TrendCycle> cycles; // by start, the earliest first
    BuildReport report;       // one line per cycle without figures
    bool cancelled = false;   // stopped by the cancel check: the trend is incomplete
};

// The trend of the cycles of the catalogue dated from..to (both included), the cycles the
// cycle list lists, by their start. Each file is read whole and drawn as the window draws it, on
// the global thread pool as well as the calling thread; progress and the cancel check are called
// from the calling thread, before and after each cycle, as the listing calls them. With an index,
// figures of files unchanged since it learnt them are taken from it, and it learns the ones
// read.
Trend buildTrend(const Catalogue& catalogue, const QDate& from, const QDate& to,
                 const Language& language, const CatalogueProgress& progress = {},
                 const CancelCheck& cancel = {}, CatalogueIndex* index = nullptr);

// The figures as the index keeps them, and back; nothing for bytes of another layout.
QByteArray encodeTrendFigures(const CycleTrendFigures& figures);
std::optional<CycleTrendFigures> decodeTrendFigures(QByteArrayView bytes);

} // namespace kvaro
