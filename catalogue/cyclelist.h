#pragma once

#include "catalogue/catalogue.h"

#include <QDateTime>
#include <QDebug>
#include <QList>
#include <QString>

#include <optional>

namespace kvaro {

class Language;
class Locale;

struct TimeLineSection {
    QDateTime start; // wall-clock time, held as UTC (CycleStamp::toDateTime)
    QDateTime end;
    QString hint; // plain text

    friend bool operator==(const TimeLineSection&, const TimeLineSection&) = default;
};
QDebug operator<<(QDebug debug, const TimeLineSection& section);

// One item of the cycle list. Caption and notes are small HTML (b, i, br, font) with
// every text taken from a cycle file escaped; info is plain text.
struct CycleListItem {
    QString file; // CycleFileNames row, never shown
    QString caption;
    QString info;
    QString notes;
    int progress = 0; // may exceed 100: a cycle held longer than programmed
    std::optional<TimeLineSection> section;

    friend bool operator==(const CycleListItem&, const CycleListItem&) = default;
};
QDebug operator<<(QDebug debug, const CycleListItem& item);

struct CycleListing {
    QList<CycleListItem> items;
    QString footer;          // footer caption of ListBox1
    QString footerConsLabel; // summed consumption
    QString dataButton;      // the range
    BuildReport report;      // one line per failing cycle
    bool cancelled = false;  // stopped by the cancel check: the listing is incomplete
};

// wczytajKalendarz: the cycles of the catalogue dated from..to (both included), in catalogue
// order. A cycle that fails keeps what was computed before the failure, with progress 0,
// and is reported; the listing goes on. Progress counts the cycles in the range, the cancel
// check is asked before each; both are called from the calling thread. The files are read
// on the global thread pool as well as the calling thread. With an index, the figures of
// files unchanged since it learnt them are taken from it, and it learns the ones read.
CycleListing wczytajKalendarz(const Catalogue& catalogue, const QDate& dataOd, const QDate& dataDo,
                              const Language& language, const Locale& locale,
                              Reading reading = Reading::Partial,
                              const CatalogueProgress& progress = {},
                              const CancelCheck& cancel = {}, CatalogueIndex* index = nullptr);

// The items by their cycles' start, the earliest first (list order among equal starts):
// the order a batch report takes them in, whatever order the folder lists them.
QList<CycleListItem> itemsByStart(const Catalogue& catalogue, QList<CycleListItem> items);

// The pieces of one item, for the list and for tests.
QString cycleCaption(const QDate& date, const Locale& locale);
QString cycleNotes(const Catalogue& catalogue, int entry, const Language& language);
QString sectionHint(const QString& number, const CycleStamp& start, const CycleStamp& end,
                    const Language& language);

} // namespace kvaro
