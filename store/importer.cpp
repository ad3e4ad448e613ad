#include "store/importer.h"

#include "cycles/fields.h"
#include "cycles/linebuffer.h"
#include "store/drives.h"
#include "store/fileops.h"
#include "store/ovenname.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

namespace kvaro {

namespace {

// Far more than a controller ever reuses one cycle number; a bound keeps a broken file
// system from turning the search for a free name into an endless loop.
constexpr int MaxNumberedNames = 10000;

QString messageLine(const ImportedFile& f)
{
    switch (f.result) {
    case ImportedFile::Result::Failed:
        return QStringLiteral("%1: %2. The file stays on the drive.").arg(f.file, f.reason);
    case ImportedFile::Result::StoredAs:
        if (f.leftOnDrive)
            return QStringLiteral("%1: stored as %2 for oven %3 (another cycle of that name was "
                                  "already stored), but it stays on the drive: %4.")
                .arg(f.file, f.storedAs, f.oven, f.reason);
        return QStringLiteral("%1: another cycle of that name was already stored for oven %2; "
                              "this one was stored as %3.")
            .arg(f.file, f.oven, f.storedAs);
    case ImportedFile::Result::Stored:
    case ImportedFile::Result::AlreadyStored:
        break;
    }
    if (f.leftOnDrive)
        return QStringLiteral("%1: stored for oven %2, but it stays on the drive: %3.")
            .arg(f.file, f.oven, f.reason);
    return {};
}

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

bool ImportResult::allHandled() const
{
    return std::none_of(files.cbegin(), files.cend(),
                        [](const ImportedFile& f) { return f.result == ImportedFile::Result::Failed; });
}

int ImportResult::newlyStored() const
{
    return int(std::count_if(files.cbegin(), files.cend(), [](const ImportedFile& f) {
        return f.result == ImportedFile::Result::Stored || f.result == ImportedFile::Result::StoredAs;
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
      m_fileOps(fileOps)
{
    if (!m_fileOps) {
        m_ownFileOps = std::make_unique<FileOps>();
        m_fileOps = m_ownFileOps.get();
    }
}

Importer::~Importer() = default;

DriveScan Importer::scan() const
{
    DriveScan scan;
    for (const QString& root : m_drives.removableRoots()) {
        // Only the marker's existence counts. A FAT stick matches names in any case; a
        // drive mounted case-sensitively should not lose its marker to "KVARO.LERTA".
        QDir dir(root);
        dir.setNameFilters({markerFileName()});
        if (!dir.entryList(QDir::Files | QDir::Hidden | QDir::System).isEmpty()) {
            scan.found = true;
            scan.root = root;
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
        result.messages.append(m_noDriveMessage);
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
        outcome.reason = QStringLiteral("it cannot be read (%1)").arg(error);
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
        outcome.reason = QStringLiteral("the file is empty");
        return outcome;
    }
    for (int i = 0; i < memo1.count(); ++i) {
        const QStringList fields = Split(memo1.line(i));
        if (fields.isEmpty()) {
            outcome.reason = QStringLiteral("line %1 is empty, before any record").arg(i + 1);
            return outcome;
        }
        if (isHeatingTypeCode(fields.first())) {
            firstRecord = fields;
            break;
        }
    }
    if (firstRecord.isEmpty()) {
        outcome.reason = QStringLiteral("it holds no record line");
        return outcome;
    }

    outcome.oven = ovenName(firstRecord);
    if (!storeCopy(outcome, m_store.ovenFolder(outcome.oven), stored))
        return outcome;
    backUp(outcome, root, raw);
    return outcome;
}

bool Importer::storeCopy(ImportedFile& outcome, const QString& folder, const QByteArray& bytes)
{
    QString error;
    if (!m_fileOps->makeFolder(folder, error)) {
        outcome.result = ImportedFile::Result::Failed;
        outcome.reason = QStringLiteral("the store folder %1 cannot be created (%2)")
                             .arg(QDir::toNativeSeparators(folder), error);
        return false;
    }
    for (int number = 1; number <= MaxNumberedNames; ++number) {
        const QString name = numberedName(outcome.file, number);
        const QString target = QDir(folder).filePath(name);
        if (!m_fileOps->exists(target)) {
            if (!m_fileOps->createFile(target, bytes, error)) {
                outcome.result = ImportedFile::Result::Failed;
                outcome.reason = QStringLiteral("the stored copy cannot be written (%1)").arg(error);
                return false;
            }
            outcome.result = number == 1 ? ImportedFile::Result::Stored : ImportedFile::Result::StoredAs;
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
    outcome.reason = QStringLiteral("no free name is left for it in the store");
    return false;
}

void Importer::backUp(ImportedFile& outcome, const QString& root, const QByteArray& bytes)
{
    const QString source = QDir(root).filePath(outcome.file);
    const QString folder = QDir(root).filePath(backupFolderName());
    QString error;
    if (!m_fileOps->makeFolder(folder, error)) {
        outcome.reason = QStringLiteral("the Backup folder cannot be created (%1)").arg(error);
        return;
    }
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
        QByteArray copied;
        if (!m_fileOps->createFile(target, bytes, error) || !m_fileOps->readFile(target, copied, error)
            || copied != bytes) {
            outcome.reason = QStringLiteral("it cannot be moved into Backup (%1)").arg(moveError);
            return;
        }
        inBackup = true;
    }
    if (!inBackup) {
        outcome.reason = QStringLiteral("no free name is left for it in Backup");
        return;
    }
    // The file may have changed since it was read: delete only what the backup holds.
    QByteArray current;
    if (!m_fileOps->readFile(source, current, error) || current != bytes) {
        outcome.reason = QStringLiteral("it changed while it was being imported");
        return;
    }
    if (!m_fileOps->removeFile(source, error)) {
        outcome.reason = QStringLiteral("it cannot be deleted after its backup (%1)").arg(error);
        return;
    }
    outcome.leftOnDrive = false;
}

} // namespace kvaro
