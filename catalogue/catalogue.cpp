#include "catalogue/catalogue.h"

#include "catalogue/catalogueindex.h"
#include "cycles/orderedwork.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "cycles/cycleformat.h"
#include "cycles/fields.h"
#include "cycles/fieldviews.h"
#include "cycles/wallclock.h"
#include "store/cyclefolder.h"

#include <QDir>

#include <algorithm>

namespace kvaro {

namespace {

RecordRow columns(const Record& record, int count)
{
    return RecordRow::of(record.fields().mid(0, count));
}

// The date as the controller means it: "20" before the two-digit year.
QDate startDate(const Record& first)
{
    int year = 0;
    try {
        year = toInteger(QStringLiteral("20") + first.field(field::StartYear));
    } catch (Failure& failure) {
        throw failure.at(first.file(), first.lineIndex());
    }
    const QDate date(year, first.integer(field::StartMonth), first.integer(field::StartDay));
    if (!date.isValid())
        throw Failure(QStringLiteral("Invalid argument to date encode"), first.file(),
                      first.lineIndex());
    return date;
}

// The end takes the start's date, or the next day's when its clock reads earlier.
CycleStamp endStamp(const CycleStamp& start, int hour, int minute)
{
    CycleStamp end{start.year, start.month, start.day, hour, minute};
    const auto seconds = [](int h, int m) { return qint64(h) * 3600 + qint64(m) * 60; };
    if (endsNextDay(seconds(start.hour, start.minute), seconds(hour, minute))) {
        const QDate next = QDate(start.year, start.month, start.day).addDays(1);
        if (next.isValid())
            end = CycleStamp{next.year(), next.month(), next.day(), hour, minute};
    }
    return end;
}

// The entry of a file whose first record and last line are plain, read from views of its
// lines; nothing when anything is not (a missing field, a number with a sign or a space, a
// date that is none, an empty line on the way), and the Record path below decides, with
// the failure it throws. Thousands of files a choice: most of them are plain.
std::optional<CatalogueEntry> plainEntry(CycleFileText& text)
{
    CatalogueEntry entry;
    QString firstLine;
    bool found = false;
    int index = 0;
    do {
        QString line = text.line(index);
        const FieldViews fields(line, 1);
        if (fields.size() == 0)
            return std::nullopt;
        if (fields.startsWithHeatingType()) {
            firstLine = std::move(line);
            found = true;
            break;
        }
        ++index;
    } while (text.hasLine(index));
    if (!found) {
        entry.noValidRecord = true;
        return entry;
    }

    const FieldViews first(firstLine, StartRecordColumns);
    if (first.size() <= field::StartDay)
        return std::nullopt;
    const auto isZero = [&](int column) { return first.at(column) == QLatin1String("0"); };
    entry.undated =
        isZero(field::StartYear) || isZero(field::StartMonth) || isZero(field::StartDay);
    if (!entry.undated) {
        const QStringView yearField = first.at(field::StartYear);
        const auto year = plainInteger(yearField);
        const auto month = plainInteger(first.at(field::StartMonth));
        const auto day = plainInteger(first.at(field::StartDay));
        const auto hour = plainInteger(first.at(field::Hour));
        const auto minute = plainInteger(first.at(field::Minute));
        if (!year || !month || !day || !hour || !minute || yearField.size() > 7)
            return std::nullopt;
        // "20" written before the year's digits, as startDate() reads it.
        int fullYear = 20;
        for (qsizetype i = 0; i < yearField.size(); ++i)
            fullYear *= 10;
        const QDate date(fullYear + *year, *month, *day);
        if (!date.isValid())
            return std::nullopt;
        entry.date = date;
        entry.start = CycleStamp{2000 + *year, *month, *day, *hour, *minute};
    }
    const QStringView hourText = first.at(field::Hour);
    const QStringView minuteText = first.at(field::Minute);
    entry.startTime.reserve(hourText.size() + 1 + minuteText.size());
    entry.startTime.append(hourText).append(QLatin1Char(':')).append(minuteText);
    entry.startRow = RecordRow{first.joined(StartRecordColumns).toString(), first.size()};

    const QString lastLine = text.lastLine();
    const FieldViews last(lastLine, EndRecordColumns);
    if (last.size() == 0)
        return std::nullopt;
    if (last.startsWithHeatingType()) {
        entry.endRow = RecordRow{last.joined(EndRecordColumns).toString(), last.size()};
        if (entry.start) {
            if (last.size() <= field::Minute)
                return std::nullopt;
            const auto hour = plainInteger(last.at(field::Hour));
            const auto minute = plainInteger(last.at(field::Minute));
            if (!hour || !minute)
                return std::nullopt;
            entry.end = endStamp(*entry.start, *hour, *minute);
        }
    }
    entry.noValidRecord = entry.undated;
    return entry;
}

// What the file gives the catalogue; throws the Failure that leaves it out.
CatalogueEntry readEntry(RawFile file, const QString& name, Reading reading)
{
    CatalogueEntry entry;
    const auto text = CycleFileText::open(std::move(file), reading, LineBuffer::Case::Lower);
    if (std::optional<CatalogueEntry> plain = plainEntry(*text))
        return std::move(*plain);

    // Line 0 is looked at even in a file without lines, so an empty file fails here.
    std::optional<Record> first;
    int index = 0;
    do {
        Record record(text->line(index), name, index);
        if (record.isRecordLine()) {
            first = std::move(record);
            break;
        }
        ++index;
    } while (text->hasLine(index));

    if (!first) {
        entry.noValidRecord = true;
        return entry;
    }

    entry.undated = first->is(field::StartYear, QStringLiteral("0")) ||
                    first->is(field::StartMonth, QStringLiteral("0")) ||
                    first->is(field::StartDay, QStringLiteral("0"));
    if (!entry.undated) {
        entry.date = startDate(*first);
        entry.start = CycleStamp{2000 + first->integer(field::StartYear),
                                 first->integer(field::StartMonth), first->integer(field::StartDay),
                                 first->integer(field::Hour), first->integer(field::Minute)};
    }
    entry.startTime = first->field(field::Hour) + QLatin1Char(':') + first->field(field::Minute);
    entry.startRow = columns(*first, StartRecordColumns);

    try {
        const Record last(text->lastLine(), name, -1);
        if (last.isRecordLine()) {
            entry.endRow = columns(last, EndRecordColumns);
            if (entry.start)
                entry.end =
                    endStamp(*entry.start, last.integer(field::Hour), last.integer(field::Minute));
        }
    } catch (Failure& failure) {
        // Only now is it worth counting the lines, to name the last one.
        throw failure.at(name, text->lineCount() - 1);
    }
    // An undated cycle is reported as one without a record: it cannot be placed by date.
    entry.noValidRecord = entry.undated;
    return entry;
}

// The entry as this build shows it: in the interface language, dated today when undated.
void add(CatalogueBuild& build, const QString& name, const CatalogueEntry& entry,
         const Language& language, const Clock& clock)
{
    if (entry.failure) {
        build.report.add(*entry.failure);
        return;
    }
    Catalogue& catalogue = build.catalogue;
    catalogue.CycleFileNames.append(name);
    catalogue.CycleNumbers.append(cycleNumberFromName(name));
    catalogue.CycleDates.append(entry.undated ? clock.today() : entry.date);
    catalogue.ListBox3.append(entry.startTime);
    catalogue.CycleStartStamps.append(entry.start);
    catalogue.CycleEndStamps.append(entry.end);
    catalogue.StartRecordTable.append(entry.startRow);
    catalogue.EndRecordTable.append(entry.endRow);
    if (entry.noValidRecord)
        build.report.add(language.text(Text::NoValidRecord) + name);
}

// The index's side of a build: what it knew of the oven, the stamps of the files it knows
// (looked at on every core ahead of the build), and what the build learns, handed back at
// the end. Without an index it lists the folder and knows nothing.
class IndexedBuild
{
public:
    IndexedBuild(CatalogueIndex* index, const QString& ovenFolder)
        : m_index(index), m_folder(ovenFolder)
    {
        if (!index) {
            m_names = m_folder.cycleFiles();
            return;
        }
        // The index file is read on another thread while the folder is listed.
        OrderedWork<OvenIndex> loading(
            1, [&](int) { return index->take(ovenFolder); }, 1);
        QStringList listed = m_folder.listedCycleFiles();
        m_known = loading.take(0);
        m_names = CycleFolder::naturalOrder(std::move(listed), m_known.names);
        // The same names as before, as nearly always: each record is at its own place.
        m_sameNames = m_names.size() == m_known.names.size() && m_names == m_known.names;
        const int blocks =
            m_known.names.isEmpty() ? 0 : int((m_names.size() + StampBlock - 1) / StampBlock);
        m_stamping.emplace(blocks, [this](int block) {
            QList<std::optional<FileStamp>> stamps;
            const qsizetype end = std::min(m_names.size(), qsizetype(block + 1) * StampBlock);
            for (qsizetype i = qsizetype(block) * StampBlock; i < end; ++i)
                stamps.append(m_folder.stamp(m_names.at(i)));
            return stamps;
        });
    }

    IndexedBuild(const IndexedBuild&) = delete;
    IndexedBuild& operator=(const IndexedBuild&) = delete;

    const QStringList& names() const { return m_names; }

    // The record the index has of file i (asked in rising order), while the file keeps the
    // stamp it had then; null when the file is to be read.
    const IndexedFile* unchanged(int i)
    {
        m_cached = record(i);
        if (!m_cached || stampOf(i) != m_cached->stamp)
            return nullptr;
        ++m_use.reused;
        return m_cached;
    }

    // What reading file i (just asked about) gave, and its stamp when it could be opened.
    void read(int i, const std::optional<FileStamp>& stamp, const CatalogueEntry& entry, qint64 now)
    {
        ++m_use.read;
        if (!m_index)
            return;
        if (stamp && CatalogueIndex::settled(*stamp, now))
            m_learnt.append({i, IndexedFile{*stamp, entry, std::nullopt, std::nullopt}});
        else if (m_cached)
            m_learnt.append({i, std::nullopt}); // the record it had must go
    }

    // Hands the records back to the index. Files not reached (a cancelled build) keep what
    // the index knew, to be checked next time.
    void finish()
    {
        if (!m_index)
            return;
        m_stamping.reset();
        const bool inPlace = m_sameNames && std::all_of(m_learnt.cbegin(), m_learnt.cend(),
                                                        [](const auto& l) { return l.second; });
        if (inPlace) {
            for (auto& [i, file] : m_learnt)
                m_known.files[i] = std::move(*file);
            m_index->keep(std::move(m_known), !m_learnt.isEmpty(), m_use);
            return;
        }
        OvenIndex updated;
        updated.ovenFolder = m_known.ovenFolder;
        m_knownAt = 0;
        qsizetype next = 0;
        for (int i = 0; i < m_names.size(); ++i) {
            if (next < m_learnt.size() && m_learnt.at(next).first == i) {
                if (m_learnt[next].second)
                    updated.append(m_names.at(i), std::move(*m_learnt[next].second));
                ++next;
            } else if (const IndexedFile* cached = record(i)) {
                updated.append(m_names.at(i), *cached);
            }
        }
        const bool changed = !m_learnt.isEmpty() || updated.names != m_known.names;
        m_index->keep(std::move(updated), changed, m_use);
    }

private:
    static constexpr int StampBlock = 512;

    // The index's record of name i, when it has one. Unless the names are the same as
    // before, both lists are in natural order and are walked side by side.
    const IndexedFile* record(int i)
    {
        if (!m_index)
            return nullptr;
        if (m_sameNames)
            return &m_known.files.at(i);
        const QString& name = m_names.at(i);
        while (m_knownAt < m_known.names.size() &&
               CycleFolder::inOrder(m_known.names.at(m_knownAt), name))
            ++m_knownAt;
        return m_knownAt < m_known.names.size() && m_known.names.at(m_knownAt) == name
                   ? &m_known.files.at(m_knownAt)
                   : nullptr;
    }

    std::optional<FileStamp> stampOf(int i)
    {
        if (i / StampBlock != m_stampsBlock) {
            m_stampsBlock = i / StampBlock;
            m_stamps = m_stamping->take(m_stampsBlock);
        }
        return m_stamps.at(i % StampBlock);
    }

    CatalogueIndex* m_index;
    CycleFolder m_folder;
    OvenIndex m_known;
    QStringList m_names;
    bool m_sameNames = false;
    qsizetype m_knownAt = 0;
    const IndexedFile* m_cached = nullptr;
    std::optional<OrderedWork<QList<std::optional<FileStamp>>>> m_stamping;
    QList<std::optional<FileStamp>> m_stamps;
    int m_stampsBlock = -1;
    // What this build learnt, in the order of the names: a file's new record, or none.
    QList<std::pair<int, std::optional<IndexedFile>>> m_learnt;
    CatalogueIndex::Use m_use;
};

} // namespace

QDateTime CycleStamp::toDateTime() const
{
    const QDate date(year, month, day);
    const QTime time(hour, minute);
    if (!date.isValid() || !time.isValid())
        return {};
    // Wall-clock time, held as UTC so that no time zone moves it or finds it missing.
    return QDateTime(date, time, Qt::UTC);
}

QString CycleStamp::toIsoText() const
{
    return QStringLiteral("%1-%2-%3T%4:%5")
        .arg(year, 4, 10, QLatin1Char('0'))
        .arg(month, 2, 10, QLatin1Char('0'))
        .arg(day, 2, 10, QLatin1Char('0'))
        .arg(hour, 2, 10, QLatin1Char('0'))
        .arg(minute, 2, 10, QLatin1Char('0'));
}

QDebug operator<<(QDebug debug, const CycleStamp& stamp)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "CycleStamp(" << stamp.year << ", " << stamp.month << ", " << stamp.day
                    << ", " << stamp.hour << ", " << stamp.minute << ')';
    return debug;
}

void Catalogue::clear()
{
    *this = Catalogue();
}

QString Catalogue::startField(int entry, int column) const
{
    return StartRecordTable.field(entry, column);
}

QString Catalogue::endField(int entry, int column) const
{
    return EndRecordTable.field(entry, column);
}

RecordRow RecordRow::of(const QStringList& fields)
{
    Q_ASSERT(std::none_of(fields.cbegin(), fields.cend(),
                          [](const QString& f) { return f.contains(QLatin1Char(';')); }));
    return RecordRow{fields.join(QLatin1Char(';')), int(fields.size())};
}

QStringList RecordRow::fields() const
{
    if (count == 0)
        return {};
    return text.split(QLatin1Char(';'));
}

QString RecordRow::field(int column) const
{
    if (column < 0 || column >= count)
        return {};
    qsizetype from = 0;
    for (int i = 0; i < column; ++i)
        from = text.indexOf(QLatin1Char(';'), from) + 1;
    const qsizetype to = text.indexOf(QLatin1Char(';'), from);
    return text.sliced(from, (to < 0 ? text.size() : to) - from);
}

QStringList RecordTable::value(int index) const
{
    return index >= 0 && index < size() ? at(index) : QStringList();
}

QString RecordTable::field(int index, int column) const
{
    return index >= 0 && index < size() ? m_rows.at(index).field(column) : QString();
}

bool RecordTable::isRowEmpty(int index) const
{
    return index < 0 || index >= size() || m_rows.at(index).count == 0;
}

QDebug operator<<(QDebug debug, const RecordTable& table)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "RecordTable(";
    for (int i = 0; i < table.size(); ++i)
        debug << (i > 0 ? ", " : "") << table.row(i).text;
    debug << ')';
    return debug;
}

QList<int> Catalogue::entriesDated(const QDate& from, const QDate& to) const
{
    QList<int> entries;
    for (int i = 0; i < size(); ++i) {
        const QDate date = CycleDates.value(i);
        if (date.isValid() && date >= from && date <= to)
            entries.append(i);
    }
    return entries;
}

QList<int> Catalogue::entriesByStart(const QDate& from, const QDate& to) const
{
    QList<int> entries = entriesDated(from, to);
    QList<QDateTime> starts(size());
    for (const int entry : entries)
        starts[entry] = startOf(entry);
    std::stable_sort(entries.begin(), entries.end(),
                     [&](int a, int b) { return starts.at(a) < starts.at(b); });
    return entries;
}

QDateTime Catalogue::startOf(int entry) const
{
    const auto& stamp = CycleStartStamps.value(entry);
    QDateTime start = stamp ? stamp->toDateTime() : QDateTime();
    // A start that is no valid time still sorts on its day.
    if (!start.isValid())
        start = QDateTime(CycleDates.value(entry), QTime(0, 0), Qt::UTC);
    return start;
}

QString reportLine(const Failure& failure)
{
    if (failure.file().isEmpty())
        return failure.text();
    return failure.place() + QStringLiteral(": ") + failure.text();
}

void Catalogue::reserve(int entries)
{
    CycleFileNames.reserve(entries);
    CycleNumbers.reserve(entries);
    CycleDates.reserve(entries);
    ListBox3.reserve(entries);
    CycleStartStamps.reserve(entries);
    CycleEndStamps.reserve(entries);
    StartRecordTable.reserve(entries);
    EndRecordTable.reserve(entries);
}

CatalogueBuild buildCatalogue(const QString& ovenFolder, const Language& language,
                              const Clock& clock, const CatalogueProgress& progress,
                              Reading reading, const CancelCheck& cancel, CatalogueIndex* index)
{
    CatalogueBuild build;
    Catalogue& catalogue = build.catalogue;
    catalogue.OvenFolder = QDir(ovenFolder).absolutePath() + QLatin1Char('/');

    IndexedBuild indexed(index, ovenFolder);
    const QStringList& names = indexed.names();
    const int total = int(names.size());
    catalogue.reserve(total);
    const qint64 now = index ? index->now() : CatalogueIndex::nowNanoseconds();
    if (progress)
        progress(0, total);
    int done = 0;
    for (const QString& name : names) {
        if (cancel && cancel()) {
            build.cancelled = true;
            break;
        }
        if (const IndexedFile* cached = indexed.unchanged(done)) {
            add(build, name, cached->entry, language, clock);
        } else {
            std::optional<FileStamp> stamp;
            CatalogueEntry entry;
            try {
                RawFile file = RawFile::open(catalogue.OvenFolder + name);
                stamp = file.stamp();
                entry = readEntry(std::move(file), name, reading);
            } catch (Failure& failure) {
                // One bad file must not hide the oven's other cycles.
                entry = CatalogueEntry();
                entry.failure = reportLine(failure.at(name));
            }
            add(build, name, entry, language, clock);
            indexed.read(done, stamp, entry, now);
        }
        ++done;
        if (progress)
            progress(done, total);
    }
    indexed.finish();
    return build;
}

} // namespace kvaro
