#pragma once

#include "base/language.h"
#include "store/storepaths.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

namespace kvaro {

class Clock;
class Drives;
class FileOps;

inline QString markerFileName()
{
    return QStringLiteral("Kvaro.lerta");
}
inline QString backupFolderName()
{
    return QStringLiteral("Backup");
}

// What became of one cycle file of the drive.
struct ImportedFile {
    enum class Result { Stored, AlreadyStored, StoredAs, Failed };

    QString file; // its name at the drive's root
    QString oven; // the oven folder it went to; empty when it was not read that far
    Result result = Result::Failed;
    QString storedAs; // the name in the oven folder when another cycle had taken this one
    // Why it failed or stayed on the drive (one of the Reason texts, with the values it
    // names); none when all went well.
    std::optional<Text> problem;
    QStringList problemValues;
    bool leftOnDrive = true;

    // "stored", "already stored", "stored as P1_2.csv", "failed".
    QString resultText() const;
    // The reason in stable English, for scripts; empty when all went well.
    QString reason() const;
    // The reason in the interface language.
    QString reason(const Language& language) const;
    void setProblem(Text reason, const QStringList& values = {});
    bool operator==(const ImportedFile&) const = default;
};

struct DriveScan {
    bool found = false; // DriveFound
    QString root;       // DriveRoot: the last removable drive carrying the marker
    QStringList marked; // every removable drive carrying the marker, in scan order
};

// Looks at every removable drive; a second stick without the marker does not hide the one
// that has it.
DriveScan scanDrives(const Drives& drives);

struct ImportResult {
    bool driveFound = false;
    QString driveRoot;
    QList<ImportedFile> files;
    // The modal messages to show once the import has ended: the NoControllerDrive line when no
    // drive was found, or one message with a line per file that needs the user's eye,
    // ending in how many files remain on the drive.
    QStringList messages;

    // Every file was stored (or found stored) and taken off the drive's root.
    bool allHandled() const;
    int leftOnDrive() const;
    int newlyStored() const;   // copies written into the store by this import
    int ovensStoredTo() const; // distinct ovens those copies went to
};

// The import from the controller drive. Every file is first stored (a normalised copy in
// its oven's folder), and only then moved into the drive's "Backup" folder; nothing is
// ever overwritten or deleted unless an identical copy is known to be in place, and one
// bad file never stops the others. Runs without a window, on any thread: it reports
// through the progress callback and returns everything else in its result.
class Importer
{
public:
    // done of total files handled; called once with done 0 before the first file.
    using Progress = std::function<void(int done, int total)>;

    Importer(const Drives& drives, StorePaths store, QChar decimalSeparator,
             FileOps* fileOps = nullptr);
    ~Importer();

    // The language of the messages (the NoControllerDrive line when no drive carries the
    // marker).
    void setLanguage(const Language& language) { m_language = language; }
    // What "now" is when temporary files left behind by an interrupted import are judged.
    void setClock(const Clock& clock) { m_clock = &clock; }
    void setProgress(Progress progress) { m_progress = std::move(progress); }
    // Asked before each file; once it says true the files not yet begun are left alone.
    void setStopRequested(std::function<bool()> stop) { m_stopRequested = std::move(stop); }

    DriveScan scan() const { return scanDrives(m_drives); }
    // scan(), then every cycle file of the drive found; scanned hears of the scan first.
    ImportResult run(const std::function<void(const DriveScan&)>& scanned = {});
    // Every "*.csv" file at root, in natural order of names.
    ImportResult importDrive(const QString& root);
    ImportedFile importFile(const QString& root, const QString& fileName);

private:
    bool storeCopy(ImportedFile& outcome, const QString& folder, const QByteArray& bytes);
    void backUp(ImportedFile& outcome, const QString& root, const QByteArray& bytes);
    void removeStaleTemporaries(const QString& folder);
    QString messageLine(const ImportedFile& file) const;

    const Drives& m_drives;
    StorePaths m_store;
    QChar m_decimalSeparator;
    std::unique_ptr<FileOps> m_ownFileOps; // when no seam was given
    FileOps* m_fileOps;
    Language m_language;
    std::unique_ptr<Clock> m_ownClock; // when none was given
    const Clock* m_clock;
    QSet<QString> m_swept; // folders already rid of stale temporary files
    Progress m_progress;
    std::function<bool()> m_stopRequested;
};

// The second, third, ... name for a file whose name is taken: P123.csv -> P123_2.csv.
QString numberedName(const QString& fileName, int number);

} // namespace kvaro
