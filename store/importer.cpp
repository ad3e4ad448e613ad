#include "store/importer.h"

#include "base/linebuffer.h"
#include "base/platform.h"
#include "cycles/cyclename.h"
#include "cycles/fields.h"
#include "store/drives.h"
#include "store/fileops.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace kvaro {

namespace {

// Far more than a controller ever reuses one cycle number; a bound keeps a broken file
// system from turning the search for a free name into an endless loop.
constexpr int MaxNumberedNames = 10000;

// A temporary file of a store write is this old before it is taken for the leftover of an
// import that was interrupted: the store may be shared, and a younger one may belong to an
// import that is still running on another PC.
constexpr qint64 StaleTemporarySeconds = 10 * 60;

} // namespace

QString ImportedFile::resultText() const
{
    switch (result) {
    case Result::Stored:
        return QStringLiteral("stored");
    case Result::AlreadyStored:
        return QStringLiteral("already stored");
    case Result::StoredAs:
        return QStringLiteral("stored as ") + storedAs;
    case Result::Failed:
        break;
    }
    return QStringLiteral("failed");
}

QString ImportedFile::reason() const
{
    return problem ? fillIn(englishText(*problem), problemValues) : QString();
}

QString ImportedFile::reason(const Language& language) const
{
    return problem ? fillIn(language.text(*problem), problemValues) : QString();
}

void ImportedFile::setProblem(Text reason, const QStringList& values)
{
    problem = reason;
    problemValues = values;
}

bool ImportResult::allHandled() const
{
    return leftOnDrive() == 0;
}

int ImportResult::leftOnDrive() const
{
    return int(std::count_if(files.cbegin(), files.cend(),
                             [](const ImportedFile& f) { return f.leftOnDrive; }));
}

int ImportResult::newlyStored() const
{
    return int(std::count_if(files.cbegin(), files.cend(), [](const ImportedFile& f) {
        return f.result == ImportedFile::Result::Stored ||
               f.result == ImportedFile::Result::StoredAs;
    }));
}

int ImportResult::ovensStoredTo() const
{
    QSet<QString> ovens;
    for (const ImportedFile& f : files) {
        if (f.result == ImportedFile::Result::Stored || f.result == ImportedFile::Result::StoredAs)
            ovens.insert(f.oven);
    }
    return int(ovens.size());
}

QString numberedName(const QString& fileName, int number)
{
    if (number <= 1)
        return fileName;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    const QString base = dot < 0 ? fileName : fileName.left(dot);
    const QString suffix = dot < 0 ? QString() : fileName.mid(dot);
    return base + QLatin1Char('_') + QString::number(number) + suffix;
}

Importer::Importer(const Drives& drives, StorePaths store, QChar decimalSeparator, FileOps* fileOps)
    : m_drives(drives), m_store(std::move(store)), m_decimalSeparator(decimalSeparator),
      m_fileOps(fileOps), m_ownClock(std::make_unique<SystemClock>()), m_clock(m_ownClock.get())
{
    if (!m_fileOps) {
        m_ownFileOps = std::make_unique<FileOps>();
        m_fileOps = m_ownFileOps.get();
    }
}

Importer::~Importer() = default;

DriveScan scanDrives(const Drives& drives)
{
    DriveScan scan;
    for (const QString& root : drives.removableRoots()) {
        // Only the marker's existence counts. A FAT stick matches names in any case; a
        // drive mounted case-sensitively should not lose its marker to "KVARO.LERTA".
        QDir dir(root);
        dir.setNameFilters({markerFileName()});
        if (!dir.entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty()) {
            scan.found = true;
            scan.root = root;
            scan.marked.append(root);
        }
    }
    return scan;
}

ImportResult Importer::run(const std::function<void(const DriveScan&)>& scanned)
{
    const DriveScan found = scan();
    if (scanned)
        scanned(found);
    if (!found.found) {
        ImportResult result;
        result.messages.append(m_language.text(Text::NoControllerDrive));
        return result;
    }
    return importDrive(found.root);
}

ImportResult Importer::importDrive(const QString& root)
{
    ImportResult result;
    result.driveFound = true;
    result.driveRoot = root;
    const QStringList names = listCycleFiles(root);
    const int total = int(names.size());
    if (m_progress)
        m_progress(0, total);
    QStringList lines;
    for (int i = 0; i < total; ++i) {
        if (m_stopRequested && m_stopRequested())
            break;
        const ImportedFile file = importFile(root, names.at(i));
        result.files.append(file);
        const QString line = messageLine(file);
        if (!line.isEmpty())
            lines.append(line);
        if (m_progress)
            m_progress(i + 1, total);
    }
    if (const int left = result.leftOnDrive(); left > 0)
        lines.append(fillIn(m_language.text(Text::ImportLeftOnDrive),
                            {QString::number(left), QString::number(result.files.size()),
                             QDir::toNativeSeparators(root)}));
    if (!lines.isEmpty())
        result.messages.append(lines.join(QLatin1Char('\n')));
    return result;
}

ImportedFile Importer::importFile(const QString& root, const QString& fileName)
{
    ImportedFile outcome;
    outcome.file = fileName;
    const QString path = QDir(root).filePath(fileName);

    QByteArray raw;
    QString error;
    if (!m_fileOps->readFile(path, raw, error)) {
        outcome.setProblem(Text::ReasonUnreadable, {error});
        return outcome;
    }

    // The copy the store will keep; the first record is looked for in what it holds.
    const QByteArray stored = normalisedCopy(raw, m_decimalSeparator);
    LineBuffer memo1(LineBuffer::Case::Lower);
    memo1.loadBytes(stored, fileName);

    // The first record is the first line whose field 0 is a heating type code. A line
    // without any field before it means the file is not what the controller writes.
    QStringList firstRecord;
    if (memo1.count() == 0) {
        outcome.setProblem(Text::ReasonEmpty);
        return outcome;
    }
    for (int i = 0; i < memo1.count(); ++i) {
        const QStringList fields = Split(memo1.line(i));
        if (fields.isEmpty()) {
            outcome.setProblem(Text::ReasonEmptyLine, {QString::number(i + 1)});
            return outcome;
        }
        if (isHeatingTypeCode(fields.first())) {
            firstRecord = fields;
            break;
        }
    }
    if (firstRecord.isEmpty()) {
        outcome.setProblem(Text::ReasonNoRecord);
        return outcome;
    }

    outcome.oven = ovenName(firstRecord);
    if (!storeCopy(outcome, m_store.ovenFolder(outcome.oven), stored))
        return outcome;
    // The copy's name must be on the disk before the drive's file leaves the root: after a
    // power cut the file is then either still on the drive or safely in the store.
    if (!m_fileOps->syncFolder(m_store.ovenFolder(outcome.oven), error)) {
        outcome.result = ImportedFile::Result::Failed;
        outcome.setProblem(Text::ReasonStoreWrite, {error});
        return outcome;
    }
    backUp(outcome, root, raw);
    return outcome;
}

bool Importer::storeCopy(ImportedFile& outcome, const QString& folder, const QByteArray& bytes)
{
    QString error;
    if (!m_fileOps->makeFolder(folder, error)) {
        outcome.result = ImportedFile::Result::Failed;
        outcome.setProblem(Text::ReasonStoreFolder, {QDir::toNativeSeparators(folder), error});
        return false;
    }
    removeStaleTemporaries(folder);
    for (int number = 1; number <= MaxNumberedNames; ++number) {
        const QString name = numberedName(outcome.file, number);
        const QString target = QDir(folder).filePath(name);
        if (!m_fileOps->exists(target)) {
            if (!m_fileOps->createFile(target, bytes, error)) {
                outcome.result = ImportedFile::Result::Failed;
                outcome.setProblem(Text::ReasonStoreWrite, {error});
                return false;
            }
            outcome.result =
                number == 1 ? ImportedFile::Result::Stored : ImportedFile::Result::StoredAs;
            if (number > 1)
                outcome.storedAs = name;
            return true;
        }
        // A copy that cannot be read is never taken for the same cycle: the next name.
        QByteArray existing;
        if (m_fileOps->readFile(target, existing, error) && existing == bytes) {
            outcome.result = ImportedFile::Result::AlreadyStored;
            return true;
        }
    }
    outcome.result = ImportedFile::Result::Failed;
    outcome.setProblem(Text::ReasonNoStoreName);
    return false;
}

void Importer::backUp(ImportedFile& outcome, const QString& root, const QByteArray& bytes)
{
    const QString source = QDir(root).filePath(outcome.file);
    const QString folder = QDir(root).filePath(backupFolderName());
    QString error;
    if (!m_fileOps->makeFolder(folder, error)) {
        outcome.setProblem(Text::ReasonBackupFolder, {error});
        return;
    }
    removeStaleTemporaries(folder);
    bool inBackup = false;
    for (int number = 1; number <= MaxNumberedNames && !inBackup; ++number) {
        const QString target = QDir(folder).filePath(numberedName(outcome.file, number));
        if (m_fileOps->exists(target)) {
            // An identical older backup is kept as it is; a different one keeps its name.
            QByteArray existing;
            inBackup = m_fileOps->readFile(target, existing, error) && existing == bytes;
            continue;
        }
        if (m_fileOps->moveFile(source, target, error)) {
            outcome.leftOnDrive = false;
            return;
        }
        // A rename the drive refuses: copy, check the copy, and only then delete.
        const QString moveError = error;
        if (!m_fileOps->createFile(target, bytes, error)) {
            outcome.setProblem(Text::ReasonNotMoved, {moveError});
            return;
        }
        QByteArray copied;
        if (!m_fileOps->readFile(target, copied, error) || copied != bytes) {
            // Our own copy, just written and wrong: it must not pass for the backup later.
            m_fileOps->removeFile(target, error);
            outcome.setProblem(Text::ReasonBackupDiffers);
            return;
        }
        // The copy's name must be on the disk before the original goes.
        if (!m_fileOps->syncFolder(folder, error)) {
            outcome.setProblem(Text::ReasonNotMoved, {error});
            return;
        }
        inBackup = true;
    }
    if (!inBackup) {
        outcome.setProblem(Text::ReasonNoBackupName);
        return;
    }
    // The file may have changed since it was read: delete only what the backup holds.
    QByteArray current;
    if (!m_fileOps->readFile(source, current, error) || current != bytes) {
        outcome.setProblem(Text::ReasonChanged);
        return;
    }
    if (!m_fileOps->removeFile(source, error)) {
        outcome.setProblem(Text::ReasonNotDeleted, {error});
        return;
    }
    outcome.leftOnDrive = false;
}

void Importer::removeStaleTemporaries(const QString& folder)
{
    if (m_swept.contains(folder))
        return;
    m_swept.insert(folder);
    const QDateTime now = m_clock->now();
    const QFileInfoList found = QDir(folder).entryInfoList(
        {FileOps::temporaryNamePattern()}, QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& file : found) {
        if (file.lastModified().secsTo(now) <= StaleTemporarySeconds)
            continue;
        // What cannot be removed now is tried again by the next import.
        QString error;
        m_fileOps->removeFile(file.filePath(), error);
    }
}

QString Importer::messageLine(const ImportedFile& f) const
{
    const QString reason = f.reason(m_language);
    switch (f.result) {
    case ImportedFile::Result::Failed:
        return fillIn(m_language.text(Text::ImportFileFailed), {f.file, reason});
    case ImportedFile::Result::StoredAs:
        if (f.leftOnDrive)
            return fillIn(m_language.text(Text::ImportStoredAsLeft),
                          {f.file, f.storedAs, f.oven, reason});
        return fillIn(m_language.text(Text::ImportStoredAs), {f.file, f.oven, f.storedAs});
    case ImportedFile::Result::Stored:
    case ImportedFile::Result::AlreadyStored:
        break;
    }
    if (f.leftOnDrive)
        return fillIn(m_language.text(Text::ImportStoredLeft), {f.file, f.oven, reason});
    return {};
}

} // namespace kvaro
