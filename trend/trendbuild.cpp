#include "trend/trendbuild.h"

#include "catalogue/indexedpass.h"
#include "cycles/orderedwork.h"

#include <QDir>
#include <QtEndian>

#include <cstring>

namespace kvaro {

namespace {

// The layout of the bytes below; a record of another layout is read again from its file.
// 2: the mean of |T1 - T2| in place of the summary's half of it, the consumption and the
// duration taken to the end line.
constexpr quint8 Layout = 2;

enum Present : quint8 {
    Consumed = 1,
    ReachedAfter = 2,
    HeldFor = 4,
    Highest = 8,
    MeanAbsT1T2 = 16,
    Duration = 32,
};

template <typename T> void put(QByteArray& bytes, T value)
{
    char raw[sizeof(T)];
    std::memcpy(raw, &value, sizeof(T));
    if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian)
        std::reverse(raw, raw + sizeof(T));
    bytes.append(raw, sizeof(T));
}

template <typename T> bool get(QByteArrayView& bytes, T& value)
{
    if (bytes.size() < qsizetype(sizeof(T)))
        return false;
    char raw[sizeof(T)];
    std::memcpy(raw, bytes.data(), sizeof(T));
    if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian)
        std::reverse(raw, raw + sizeof(T));
    std::memcpy(&value, raw, sizeof(T));
    bytes = bytes.sliced(sizeof(T));
    return true;
}

// One cycle's figures as a thread of the pool works them out.
struct Figured {
    CycleTrendReading reading;
    std::optional<FileStamp> stamp; // of the file read now, when the index may learn it
    bool read = false;              // read now, not taken from the index
};

Figured figure(const Catalogue& catalogue, int entry, const Language& language,
               const OvenIndex* known, const CycleFolder* folder)
{
    const QString& file = catalogue.CycleFileNames.at(entry);
    Figured figured;
    const IndexedFile* indexed = known ? known->find(file) : nullptr;
    std::optional<FileStamp> stamp;
    if (indexed)
        stamp = folder->stamp(file);
    const bool unchanged = indexed && stamp && *stamp == indexed->stamp;
    if (unchanged && indexed->trend) {
        if (std::optional<CycleTrendFigures> kept = decodeTrendFigures(*indexed->trend)) {
            figured.reading.figures = kept;
            return figured;
        }
    }
    // The folder ends with a separator in every catalogue built; QDir for any other.
    const QString path = catalogue.OvenFolder.endsWith(QLatin1Char('/'))
                             ? catalogue.OvenFolder + file
                             : QDir(catalogue.OvenFolder).filePath(file);
    figured.reading = readTrendFigures(path, language);
    figured.read = true;
    // Only figures of the file as the index knows it: one changed since the catalogue was
    // built waits for the next build to be known again.
    if (unchanged && figured.reading.figures)
        figured.stamp = stamp;
    return figured;
}

} // namespace

QByteArray encodeTrendFigures(const CycleTrendFigures& f)
{
    QByteArray bytes;
    bytes.reserve(48);
    quint8 present = 0;
    present |= f.consumed ? Consumed : 0;
    present |= f.reachedAfter ? ReachedAfter : 0;
    present |= f.heldFor ? HeldFor : 0;
    present |= f.highestWorking ? Highest : 0;
    present |= f.meanAbsT1T2 ? MeanAbsT1T2 : 0;
    present |= f.duration ? Duration : 0;
    put(bytes, Layout);
    put(bytes, present);
    put(bytes, quint8(f.unit));
    if (f.duration)
        put(bytes, *f.duration);
    if (f.consumed)
        put(bytes, *f.consumed);
    if (f.reachedAfter)
        put(bytes, *f.reachedAfter);
    if (f.heldFor)
        put(bytes, *f.heldFor);
    if (f.highestWorking)
        put(bytes, *f.highestWorking);
    if (f.meanAbsT1T2)
        put(bytes, *f.meanAbsT1T2);
    return bytes;
}

std::optional<CycleTrendFigures> decodeTrendFigures(QByteArrayView bytes)
{
    CycleTrendFigures f;
    quint8 layout = 0;
    quint8 present = 0;
    quint8 unit = 0;
    if (!get(bytes, layout) || layout != Layout || !get(bytes, present) || !get(bytes, unit) ||
        unit > quint8(RecordTotals::Unit::KilowattHours))
        return std::nullopt;
    f.unit = RecordTotals::Unit(unit);
    const auto optional = [&](quint8 flag, auto& target) {
        if (!(present & flag))
            return true;
        typename std::decay_t<decltype(target)>::value_type value{};
        if (!get(bytes, value))
            return false;
        target = value;
        return true;
    };
    if (!optional(Duration, f.duration) || !optional(Consumed, f.consumed) ||
        !optional(ReachedAfter, f.reachedAfter) || !optional(HeldFor, f.heldFor) ||
        !optional(Highest, f.highestWorking) || !optional(MeanAbsT1T2, f.meanAbsT1T2) ||
        !bytes.isEmpty())
        return std::nullopt;
    return f;
}

Trend buildTrend(const Catalogue& catalogue, const QDate& from, const QDate& to,
                 const Language& language, const CatalogueProgress& progress,
                 const CancelCheck& cancel, CatalogueIndex* index)
{
    Trend trend;
    const QList<int> listed = catalogue.entriesByStart(from, to);
    const int total = int(listed.size());
    if (progress)
        progress(0, total);

    IndexedPass pass(index, catalogue.OvenFolder, total > 0);
    QList<std::pair<QString, CycleTrendFigures>> fresh;
    {
        OrderedWork<Figured> work(total, [&](int k) {
            return figure(catalogue, listed.at(k), language, pass.known(), pass.folder());
        });
        for (int k = 0; k < total; ++k) {
            if (cancel && cancel()) {
                trend.cancelled = true;
                break;
            }
            const int i = listed.at(k);
            Figured figured = work.take(k);
            pass.count(figured.read);
            if (figured.stamp)
                fresh.append({catalogue.CycleFileNames.at(i), *figured.reading.figures});
            if (!figured.reading.failure.isEmpty())
                trend.report.add(figured.reading.failure);
            trend.cycles.append(TrendCycle{catalogue.CycleFileNames.at(i),
                                           catalogue.CycleNumbers.value(i), catalogue.startOf(i),
                                           std::move(figured.reading.figures)});
            if (progress)
                progress(int(trend.cycles.size()), total);
        }
    }
    pass.giveBack(fresh, [](IndexedFile& indexed, const CycleTrendFigures& figures) {
        indexed.trend = encodeTrendFigures(figures);
    });
    return trend;
}

} // namespace kvaro
