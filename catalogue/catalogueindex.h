#pragma once

#include "catalogue/catalogue.h"
#include "cycles/rawfile.h"

#include <QByteArray>
#include <QDate>
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <optional>

namespace kvaro {

// What one cycle file gives the catalogue, whatever the interface language and the day:
// the language's words and today's date are put in when the catalogue is built.
struct CatalogueEntry {
    std::optional<QString> failure; // the file is left out; this is its report line
    bool noValidRecord = false;     // reported with the NoValidRecord line and the file name
    bool undated = false;           // a start date field "0": dated the day of the build
    QDate date;                     // when dated
    QString startTime;
    std::optional<CycleStamp> start;
    std::optional<CycleStamp> end;
    RecordRow startRow;
    RecordRow endRow;

    friend bool operator==(const CatalogueEntry&, const CatalogueEntry&) = default;
};

// One reading the cycle list makes of a file: its value, or the report line it failed with.
struct Measured {
    int value = 0;
    QString failure; // never empty for a failure: it names the file

    bool failed() const { return !failure.isEmpty(); }
    friend bool operator==(const Measured&, const Measured&) = default;
};

// What the cycle list reads from a file for its progress bar: the seconds held at the set
// temperature it was asked for and, only when there are some, the programmed length.
struct CycleFigures {
    int temperature = 0;
    Measured held;
    std::optional<Measured> length;

    friend bool operator==(const CycleFigures&, const CycleFigures&) = default;
};

// The index's record of one file, valid while the file keeps its stamp.
struct IndexedFile {
    FileStamp stamp;
    CatalogueEntry entry;
    std::optional<CycleFigures> figures;
    // What a whole read of the file gives the oven's trend, in the trend's own encoding:
    // the index keeps it with the file and knows nothing of what it holds.
    std::optional<QByteArray> trend;
};

// An oven's records in the index: the names in natural order, each with its record.
struct OvenIndex {
    QString ovenFolder; // absolute
    QStringList names;
    QList<IndexedFile> files; // files[i] is the record of names[i]

    // Where a name is in names (found by its natural order); -1 when it is not there.
    int position(const QString& name) const;
    // The record of a file; null when there is none.
    const IndexedFile* find(const QString& name) const
    {
        const int at = position(name);
        return at < 0 ? nullptr : &files.at(at);
    }
    void append(const QString& name, IndexedFile file)
    {
        names.append(name);
        files.append(std::move(file));
    }
};

// A cache of what choosing an oven and listing its cycles read from each file, one file of
// its own per oven folder, so that the next choice reads only files that are new or
// changed (by size or modification time) since. It lives in the user's cache folder,
// never in the store, which other programs and other PCs may share. Deleting it, or a
// damaged, old or foreign index file, only costs the time of reading the files again: no
// result ever depends on it.
class CatalogueIndex
{
public:
    // An index kept in folder (made when first written).
    // The clock tells when a file has settled (see settled()); the system's when none is
    // given. Tests give their own.
    explicit CatalogueIndex(QString folder, const Clock* clock = nullptr);

    // $XDG_CACHE_HOME/kvaro, or ~/.cache/kvaro where that is not set.
    static QString userFolder();
    // The program's index, in userFolder(); the window and kvaro-cli share its use.
    static CatalogueIndex& user();

    const QString& folder() const { return m_folder; }
    // The index file of an oven folder: its absolute path hashed into the name.
    QString fileOf(const QString& ovenFolder) const;

    // How many files the last build or listing with this index read, and how many it
    // took from the index instead.
    struct Use {
        int read = 0;
        int reused = 0;
    };
    Use lastUse() const;

    // For the build and the listing: the oven's records (from memory when this index
    // last held that oven, else from its file, else none), and back when done. Records
    // that changed are written to the file at once, atomically.
    OvenIndex take(const QString& ovenFolder);
    void keep(OvenIndex oven, bool changed, Use use);

    // Whether a stamp may be trusted to tell later changes: a file changed within the last
    // seconds may change again within the same tick of its clock, unseen.
    static bool settled(const FileStamp& stamp, qint64 nowNanoseconds);
    static qint64 nowNanoseconds();
    // Now by this index's clock.
    qint64 now() const;

    // The file's bytes, and back; empty (or nothing) for a file that is not a sound index
    // of that oven folder in this program's format.
    static QByteArray encode(const OvenIndex& oven);
    static std::optional<OvenIndex> decode(const QByteArray& bytes, const QString& ovenFolder);

private:
    QString m_folder;
    const Clock* m_clock = nullptr;
    mutable QMutex m_mutex;
    std::optional<OvenIndex> m_held;
    Use m_lastUse;
};

} // namespace kvaro
