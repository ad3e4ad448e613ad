#pragma once

#include "cycles/cyclefiletext.h"
#include "cycles/cyclename.h"

#include <QDate>
#include <QDateTime>
#include <QDebug>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kvaro {

class Clock;
class Language;

// A cycle's start or end as the controller gives it: five integers, not yet checked to be
// a valid date and time (the cycle list does that when it draws the section).
struct CycleStamp {
    int year = 0;
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;

    // The controller's wall-clock reading, with no time zone: a UTC date and time, so
    // that the hour skipped or repeated by summer time is a time like any other. Invalid
    // when the values are no date and time.
    QDateTime toDateTime() const;
    // "2019-04-07T08:05"
    QString toIsoText() const;

    friend bool operator==(const CycleStamp&, const CycleStamp&) = default;
};
QDebug operator<<(QDebug debug, const CycleStamp& stamp);

// The fields of a record line, kept as one text: the fields joined by ";" (which no field
// holds, since the line was cut there) and how many there are.
struct RecordRow {
    QString text;
    int count = 0;

    static RecordRow of(const QStringList& fields);
    QStringList fields() const;
    // Field `column`; empty text beyond the last.
    QString field(int column) const;

    friend bool operator==(const RecordRow&, const RecordRow&) = default;
};

// One record's fields per catalogue entry. A catalogue of 30 000 cycles holds 3.6 million
// fields; one text per row instead of one per field is what keeps it small and quick to
// build, from the files or from the index.
class RecordTable
{
public:
    int size() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    void reserve(int rows) { m_rows.reserve(rows); }
    void append(const QStringList& fields) { m_rows.append(RecordRow::of(fields)); }
    void append(const RecordRow& row) { m_rows.append(row); }

    const RecordRow& row(int index) const { return m_rows.at(index); }
    // A row's fields; value() gives no fields for a row that does not exist.
    QStringList at(int index) const { return m_rows.at(index).fields(); }
    QStringList value(int index) const;
    // Field `column` of row `index`; empty text when either does not exist.
    QString field(int index, int column) const;
    bool isRowEmpty(int index) const;

    friend bool operator==(const RecordTable&, const RecordTable&) = default;

private:
    QList<RecordRow> m_rows;
};
QDebug operator<<(QDebug debug, const RecordTable& table);

// One oven's cycles as parallel collections: row i of each belongs to CycleFileNames[i].
// Plain data, rebuilt whole on every choice of an oven.
struct Catalogue {
    QString OvenFolder;         // with a trailing separator
    QStringList CycleFileNames; // "P123.csv"
    QStringList CycleNumbers;   // "123"
    QList<QDate> CycleDates;    // invalid: no date, never listed
    QStringList ListBox3;       // start time as written: "8:5"
    QList<std::optional<CycleStamp>> CycleStartStamps;
    QList<std::optional<CycleStamp>> CycleEndStamps;
    RecordTable StartRecordTable; // fields 0..70 of the first record
    RecordTable EndRecordTable;   // fields 0..50 of the last line

    int size() const { return int(CycleFileNames.size()); }
    bool isEmpty() const { return CycleFileNames.isEmpty(); }
    void clear();
    void reserve(int entries);
    // S(n) / E(n): a column of an entry's row, empty when the row is shorter.
    QString startField(int entry, int column) const;
    QString endField(int entry, int column) const;
    // The entries dated from..to, both included, in catalogue order.
    QList<int> entriesDated(const QDate& from, const QDate& to) const;
    // The same entries by their start, the earliest first (catalogue order among equal
    // starts): the order of a trend and of a batch report, which read as a time line.
    QList<int> entriesByStart(const QDate& from, const QDate& to) const;
    // An entry's start as a wall-clock time held as UTC (CycleStamp::toDateTime); the
    // start of its day when its start stamp is no valid time.
    QDateTime startOf(int entry) const;
};

inline constexpr int StartRecordColumns = 71;
inline constexpr int EndRecordColumns = 51;

// Everything a build has to say, one line per file, shown once at the end.
struct BuildReport {
    QStringList lines;
    bool isEmpty() const { return lines.isEmpty(); }
    QString message() const { return lines.join(QLatin1Char('\n')); }
    void add(const QString& line) { lines.append(line); }
};

// A failure as one report line: "P5.csv, line 3: 'x' is not a valid integer value".
QString reportLine(const class Failure& failure);

// Called after each file: files done, files to do.
using CatalogueProgress = std::function<void(int done, int total)>;
// Asked between two files (from the thread that does the work): true stops the work, which
// then returns what it has so far and says it was cancelled. A window uses it to drop a
// build the user no longer waits for.
using CancelCheck = std::function<bool()>;

class CatalogueIndex;

struct CatalogueBuild {
    Catalogue catalogue;
    BuildReport report;
    bool cancelled = false; // stopped by the cancel check: the catalogue is incomplete
};

// ComboPiecItemSelected without the window: reads the cycle files of ovenFolder in natural
// order. A file without a record line, or with a start date field "0", is reported with
// the NoValidRecord line and its name; a file that fails is reported and left out; the build goes
// on. With an index, only files new or changed since it last saw them are read, and it learns what
// they give; the catalogue is the same with or without it.
CatalogueBuild buildCatalogue(const QString& ovenFolder, const Language& language,
                              const Clock& clock, const CatalogueProgress& progress = {},
                              Reading reading = Reading::Partial, const CancelCheck& cancel = {},
                              CatalogueIndex* index = nullptr);

} // namespace kvaro
