#include "catalogue/catalogue.h"

#include "cycles/cycleformat.h"
#include "cycles/failure.h"
#include "cycles/fields.h"
#include "cycles/language.h"
#include "cycles/platform.h"
#include "cycles/wallclock.h"
#include "store/storepaths.h"

#include <QDir>
#include <QFileInfo>

namespace kvaro {

namespace {

struct Entry {
    QString name;
    QDate date;
    QString startTime;
    std::optional<CycleStamp> start;
    std::optional<CycleStamp> end;
    QStringList startRow;
    QStringList endRow;
};

QStringList columns(const Record& record, int count)
{
    return record.fields().mid(0, count);
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

Entry readEntry(const QString& folder, const QString& name, const Language& language,
                const Clock& clock, Reading reading, BuildReport& report)
{
    Entry entry;
    entry.name = name;
    const auto text =
        CycleFileText::open(QDir(folder).filePath(name), reading, LineBuffer::Case::Lower);

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
        report.add(language.text(Text::NoValidRecord) + name);
        return entry;
    }

    const bool undated = first->is(field::StartYear, QStringLiteral("0")) ||
                         first->is(field::StartMonth, QStringLiteral("0")) ||
                         first->is(field::StartDay, QStringLiteral("0"));
    if (undated) {
        entry.date = clock.today();
    } else {
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
    if (undated)
        report.add(language.text(Text::NoValidRecord) + name);
    return entry;
}

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
    return StartRecordTable.value(entry).value(column);
}

QString Catalogue::endField(int entry, int column) const
{
    return EndRecordTable.value(entry).value(column);
}

QString cycleNumberFromName(const QString& fileName)
{
    QString number = fileName;
    number.remove(QLatin1Char('P'), Qt::CaseSensitive);
    number.remove(QStringLiteral(".csv"), Qt::CaseSensitive);
    return number;
}

QString reportLine(const Failure& failure)
{
    if (failure.file().isEmpty())
        return failure.text();
    return failure.place() + QStringLiteral(": ") + failure.text();
}

CatalogueBuild buildCatalogue(const QString& ovenFolder, const Language& language,
                              const Clock& clock, const CatalogueProgress& progress,
                              Reading reading, const CancelCheck& cancel)
{
    CatalogueBuild build;
    Catalogue& catalogue = build.catalogue;
    catalogue.OvenFolder = QDir(ovenFolder).absolutePath() + QLatin1Char('/');

    const QStringList names = listCycleFiles(ovenFolder);
    const int total = int(names.size());
    if (progress)
        progress(0, total);
    int done = 0;
    for (const QString& name : names) {
        if (cancel && cancel()) {
            build.cancelled = true;
            break;
        }
        try {
            Entry entry = readEntry(ovenFolder, name, language, clock, reading, build.report);
            catalogue.CycleFileNames.append(entry.name);
            catalogue.CycleNumbers.append(cycleNumberFromName(entry.name));
            catalogue.CycleDates.append(entry.date);
            catalogue.ListBox3.append(entry.startTime);
            catalogue.CycleStartStamps.append(entry.start);
            catalogue.CycleEndStamps.append(entry.end);
            catalogue.StartRecordTable.append(entry.startRow);
            catalogue.EndRecordTable.append(entry.endRow);
        } catch (Failure& failure) {
            // One bad file must not hide the oven's other cycles.
            build.report.add(reportLine(failure.at(name)));
        }
        ++done;
        if (progress)
            progress(done, total);
    }
    return build;
}

} // namespace kvaro
