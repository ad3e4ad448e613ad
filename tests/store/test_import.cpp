#include "base/platform.h"
#include "store/drives.h"
#include "store/fileops.h"
#include "store/importer.h"
#include "store/mountwatch.h"
#include "store/settings.h"
#include "store/storepaths.h"
#include "tests/testfiles.h"
#include "tools/cyclegen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using kvaro::testing::readFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace kvaro {
// A failed comparison of two outcomes says which part differs.
char* toString(const ImportedFile& f)
{
    return qstrdup(
        QStringLiteral("%1 -> %2: %3, left on drive %4, reason \"%5\"")
            .arg(f.file, f.oven, f.resultText(), QString::number(f.leftOnDrive), f.reason())
            .toUtf8()
            .constData());
}
} // namespace kvaro

namespace {

const QStringList ovenA{"3130", "3332", "3534", "3736", "12", "34", "56", "78"}; // 012345672468
const QStringList ovenB{"3839", "3637", "3435", "3233", "10", "10", "10", "10"}; // 987654320000

// Every entry of a folder, hidden ones too, so a left-over temporary file shows.
QStringList entries(const QString& folder)
{
    QStringList names = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    return names;
}

// A raw record line as the controller writes it: "," between fields, "." decimals, and
// the oven identifier in fields 75 to 82 when the line is long enough.
QByteArray rawRecord(const QStringList& ovenId, int fieldCount = 90, const QString& type = "0")
{
    QStringList fields;
    for (int i = 0; i < fieldCount; ++i)
        fields.append(i == 1 ? QString("21.5") : QString::number(i % 7));
    fields[0] = type;
    for (int i = 0; i < ovenId.size() && 75 + i < fieldCount; ++i)
        fields[75 + i] = ovenId.at(i);
    return fields.join(',').toLatin1();
}

QByteArray cycleFile(const QStringList& ovenId, int fieldCount = 90)
{
    const QByteArray record = rawRecord(ovenId, fieldCount);
    return "Typ,T1,T2,Godz\r\n" + record + "\r\n" + record + "\r\n" + record + "\r\n";
}

// What the store holds for a raw file: normalised, lower case, CR LF.
QByteArray storedForm(const QByteArray& raw, char separator = '.')
{
    QByteArray text = raw.toLower();
    text.replace(',', ';');
    text.replace('.', separator);
    return text;
}

// Makes writes below the given folders fail the way a write-protected drive or a full
// disk does; reads still work. Running as root, file modes would not stop a write.
class ReadOnlyBelow : public FileOps
{
public:
    explicit ReadOnlyBelow(QStringList folders) : m_folders(std::move(folders)) {}

    bool makeFolder(const QString& path, QString& error) override
    {
        if (QFileInfo(path).isDir())
            return true;
        return blocked(path, error) ? false : FileOps::makeFolder(path, error);
    }
    bool createFile(const QString& path, const QByteArray& bytes, QString& error) override
    {
        return blocked(path, error) ? false : FileOps::createFile(path, bytes, error);
    }
    bool moveFile(const QString& from, const QString& to, QString& error) override
    {
        return blocked(from, error) || blocked(to, error) ? false
                                                          : FileOps::moveFile(from, to, error);
    }
    bool removeFile(const QString& path, QString& error) override
    {
        return blocked(path, error) ? false : FileOps::removeFile(path, error);
    }

private:
    bool blocked(const QString& path, QString& error) const
    {
        for (const QString& folder : m_folders) {
            if (path.startsWith(folder)) {
                error = QStringLiteral("Read-only file system");
                return true;
            }
        }
        return false;
    }
    QStringList m_folders;
};

// Renames on the drive fail (a file system without rename); copies still work, unless a
// fault is asked for: the copy in Backup comes out different (a failing stick), or the
// controller writes to the file while its copy is made.
class NoRename : public FileOps
{
public:
    enum class Fault { None, CopyDiffers, SourceChanges };
    explicit NoRename(Fault fault = Fault::None) : m_fault(fault) {}

    bool moveFile(const QString&, const QString&, QString& error) override
    {
        error = QStringLiteral("Operation not supported");
        return false;
    }
    bool createFile(const QString& path, const QByteArray& bytes, QString& error) override
    {
        if (!path.contains("/Backup/") || m_fault == Fault::None)
            return FileOps::createFile(path, bytes, error);
        if (m_fault == Fault::CopyDiffers) {
            QByteArray damaged = bytes;
            damaged[damaged.size() / 2] = damaged.at(damaged.size() / 2) ^ 0x20;
            return FileOps::createFile(path, damaged, error);
        }
        QFile source(path.left(path.indexOf("/Backup/")) + "/" + QFileInfo(path).fileName());
        if (!source.open(QIODevice::Append) || source.write("0,1,2\r\n") != 7)
            return false;
        return FileOps::createFile(path, bytes, error);
    }

private:
    Fault m_fault;
};

// Writes through, and notes the order of every change and every flush to the disk.
class RecordingOps : public FileOps
{
public:
    explicit RecordingOps(bool renames) : m_renames(renames) {}
    QStringList log;

    bool createFile(const QString& path, const QByteArray& bytes, QString& error) override
    {
        log << "create " + path;
        return FileOps::createFile(path, bytes, error);
    }
    bool syncFolder(const QString& path, QString& error) override
    {
        log << "sync " + QDir::cleanPath(path);
        return FileOps::syncFolder(path, error);
    }
    bool moveFile(const QString& from, const QString& to, QString& error) override
    {
        log << "move " + from;
        if (!m_renames) {
            error = QStringLiteral("Operation not supported");
            return false;
        }
        return FileOps::moveFile(from, to, error);
    }
    bool removeFile(const QString& path, QString& error) override
    {
        log << "remove " + path;
        return FileOps::removeFile(path, error);
    }
    qsizetype indexOf(const QString& entry) const { return log.indexOf(entry); }

private:
    bool m_renames;
};

// Sets the process's umask for the life of the object.
class Umask
{
public:
    explicit Umask(mode_t mask) : m_old(::umask(mask)) {}
    ~Umask() { ::umask(m_old); }

private:
    mode_t m_old;
};

QFileDevice::Permissions permissionsOf(int mode)
{
    QFileDevice::Permissions p;
    const std::pair<int, QFileDevice::Permission> bits[] = {
        {0400, QFileDevice::ReadOwner},  {0200, QFileDevice::WriteOwner},
        {0100, QFileDevice::ExeOwner},   {0040, QFileDevice::ReadGroup},
        {0020, QFileDevice::WriteGroup}, {0010, QFileDevice::ExeGroup},
        {0004, QFileDevice::ReadOther},  {0002, QFileDevice::WriteOther},
        {0001, QFileDevice::ExeOther}};
    for (const auto& [bit, permission] : bits) {
        if (mode & bit)
            p |= permission;
    }
    return p;
}

// The owner's permissions as the system sets them, without Qt's "user" duplicates.
QFileDevice::Permissions modeOf(const QString& path)
{
    return QFileInfo(path).permissions() &
           ~(QFileDevice::ReadUser | QFileDevice::WriteUser | QFileDevice::ExeUser);
}

void setAge(const QString& path, const QDateTime& modified)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(modified, QFileDevice::FileModificationTime));
}

struct Progress {
    QList<QPair<int, int>> steps;
    Importer::Progress callback()
    {
        return [this](int done, int total) { steps.append({done, total}); };
    }
};

} // namespace

class TestImport : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void noMarkedDriveImportsNothing();

    void generatedDriveTwice();
    void storesEveryCycleAndMovesItIntoBackup();
    void secondImportStoresNothingNewAndLosesNothing();
    void storedCopyIsNormalisedForTheLocale();
    void filesThatCannotBeReadStayOnTheDrive_data();
    void filesThatCannotBeReadStayOnTheDrive();
    void emptyFileBetweenTwoGoodOnesBlocksNeither();
    void nameCollisions_data();
    void nameCollisions();
    void writeProtectedDriveKeepsEveryFile();
    void unwritableStoreLeavesTheDriveUntouched_data();
    void unwritableStoreLeavesTheDriveUntouched();
    void copyWhenTheDriveCannotRename_data();
    void copyWhenTheDriveCannotRename();
    void storedCopyIsOnTheDiskBeforeTheDriveFileGoes_data();
    void storedCopyIsOnTheDiskBeforeTheDriveFileGoes();
    void storedFilesTakeTheUserModes_data();
    void storedFilesTakeTheUserModes();
    void staleTemporaryFilesOfTheOvenGo();
    void messagesFollowTheLanguage();
    void ovenNameFromPathCharactersStaysInsideTheStore();
    void stopLeavesTheFilesNotBegunAlone();
    void mountTableWatch();

private:
    QString drive() const { return m_dir->filePath("drive"); }
    QString home() const { return m_dir->filePath("home"); }
    QString store() const { return QDir(home()).filePath("Data"); }
    QString backup() const { return QDir(drive()).filePath("Backup"); }
    QString oven(const QString& name) const { return QDir(store()).filePath(name); }
    void markDrive(const QString& root) { writeFile(QDir(root).filePath("Kvaro.lerta"), ""); }
    ImportResult importFrom(FileOps* ops = nullptr, QChar separator = QLatin1Char('.'))
    {
        FakeDrives drives({drive()});
        Importer importer(drives, StorePaths(home()), separator, ops);
        importer.setLanguage(m_language);
        importer.setClock(m_clock);
        importer.setProgress(m_progress.callback());
        return importer.run();
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    Progress m_progress;
    // Lines 0 to 44 only: the NoControllerDrive line says there is no drive, the later texts are
    // built in.
    Language m_language;
    FixedClock m_clock{QDateTime(QDate(2024, 3, 14), QTime(12, 0))};
};

void TestImport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_progress = {};
    QStringList lines(44);
    lines.append("Nie znaleziono dysku");
    m_language = Language(lines);
    QDir().mkpath(drive());
    markDrive(drive());
}

void TestImport::noMarkedDriveImportsNothing()
{
    QFile::remove(QDir(drive()).filePath("Kvaro.lerta"));
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));
    const ImportResult result = importFrom();
    QVERIFY(!result.driveFound);
    QCOMPARE(result.messages, QStringList{"Nie znaleziono dysku"});
    QVERIFY(result.files.isEmpty());
    QVERIFY(m_progress.steps.isEmpty());
    QCOMPARE(entries(drive()), QStringList{"P1.csv"});
    QVERIFY(!QFileInfo::exists(store()));
}

void TestImport::storesEveryCycleAndMovesItIntoBackup()
{
    const QByteArray p1 = cycleFile(ovenA);
    const QByteArray p2 = cycleFile(ovenB);
    const QByteArray p10 = cycleFile(ovenA, 82); // too short to name its oven
    writeFile(drive() + "/P10.csv", p10);
    writeFile(drive() + "/P2.CSV", p2);
    writeFile(drive() + "/P1.csv", p1);
    writeFile(drive() + "/notes.txt", "kept");

    const ImportResult result = importFrom();

    QVERIFY(result.driveFound);
    QCOMPARE(result.driveRoot, drive());
    QVERIFY(result.messages.isEmpty());
    QVERIFY(result.allHandled());
    QCOMPARE(result.files.size(), 3);
    const ImportedFile expected[] = {
        {"P1.csv", "012345672468", ImportedFile::Result::Stored, {}, {}, {}, false},
        {"P2.CSV", "987654320000", ImportedFile::Result::Stored, {}, {}, {}, false},
        {"P10.csv", "0", ImportedFile::Result::Stored, {}, {}, {}, false},
    };
    for (int i = 0; i < 3; ++i)
        QCOMPARE(result.files.at(i), expected[i]);
    QCOMPARE(result.newlyStored(), 3);
    QCOMPARE(result.ovensStoredTo(), 3);
    QCOMPARE(m_progress.steps, (QList<QPair<int, int>>{{0, 3}, {1, 3}, {2, 3}, {3, 3}}));

    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta", "notes.txt"}));
    QCOMPARE(entries(backup()), (QStringList{"P1.csv", "P10.csv", "P2.CSV"}));
    QCOMPARE(readFile(backup() + "/P1.csv"), p1);
    QCOMPARE(readFile(backup() + "/P2.CSV"), p2);
    QCOMPARE(entries(store()), (QStringList{"0", "012345672468", "987654320000"}));
    QCOMPARE(entries(oven("012345672468")), QStringList{"P1.csv"});
    QCOMPARE(readFile(oven("012345672468") + "/P1.csv"), storedForm(p1));
    QCOMPARE(readFile(oven("987654320000") + "/P2.CSV"), storedForm(p2));
    QCOMPARE(readFile(oven("0") + "/P10.csv"), storedForm(p10));
    QCOMPARE(listOvens(store()), (QStringList{"0", "012345672468", "987654320000"}));
}

void TestImport::secondImportStoresNothingNewAndLosesNothing()
{
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));
    importFrom();
    // The controller writes the same cycle again and a new one.
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));
    writeFile(drive() + "/P2.csv", cycleFile(ovenA));
    const ImportResult again = importFrom();
    QCOMPARE(again.files.size(), 2);
    QCOMPARE(again.files.at(0).resultText(), "already stored");
    QCOMPARE(again.files.at(1).resultText(), "stored");
    QVERIFY(!again.files.at(0).leftOnDrive);
    QVERIFY(again.messages.isEmpty());
    QCOMPARE(again.newlyStored(), 1);
    QCOMPARE(entries(backup()), (QStringList{"P1.csv", "P2.csv"}));
    QCOMPARE(entries(oven("012345672468")), (QStringList{"P1.csv", "P2.csv"}));
    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta"}));

    const ImportResult third = importFrom();
    QVERIFY(third.driveFound);
    QVERIFY(third.files.isEmpty());
    QCOMPARE(m_progress.steps.last(), qMakePair(0, 0));
}

void TestImport::storedCopyIsNormalisedForTheLocale()
{
    // UTF-8 with its mark, upper-case letters, "." decimals, "," separators.
    const QByteArray raw = "\xEF\xBB\xBFTyp,T1\n" + rawRecord(ovenA) + "\n" + rawRecord(ovenA);
    writeFile(drive() + "/P7.csv", raw);
    importFrom(nullptr, QLatin1Char(','));
    const QByteArray stored = readFile(oven("012345672468") + "/P7.csv");
    QVERIFY(stored.startsWith("\xEF\xBB\xBFtyp;t1\r\n0;21,5;2;"));
    QVERIFY(stored.endsWith("\r\n"));
    QCOMPARE(stored.count("\r\n"), 3);
    QCOMPARE(readFile(backup() + "/P7.csv"), raw);
}

void TestImport::filesThatCannotBeReadStayOnTheDrive_data()
{
    QTest::addColumn<QByteArray>("bad");
    QTest::addColumn<QString>("reason");
    QTest::newRow("header only") << QByteArray("Typ,T1,T2\r\n") << "it holds no record line";
    QTest::newRow("empty file") << QByteArray() << "the file is empty";
    QTest::newRow("empty line before the first record")
        << "Typ,T1\r\n\r\n" + rawRecord(ovenA) + "\r\n"
        << "line 2 is empty, before any record";
    QTest::newRow("second header") << "Typ,T1\r\nx,y\r\n" + rawRecord(ovenA, 90, "9") + "\r\n"
                                   << "it holds no record line";
}

void TestImport::filesThatCannotBeReadStayOnTheDrive()
{
    QFETCH(QByteArray, bad);
    QFETCH(QString, reason);
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));
    writeFile(drive() + "/P2.csv", bad);
    writeFile(drive() + "/P3.csv", cycleFile(ovenB));

    const ImportResult result = importFrom();

    QCOMPARE(result.files.size(), 3);
    const ImportedFile& failed = result.files.at(1);
    QCOMPARE(failed.file, "P2.csv");
    QCOMPARE(failed.resultText(), "failed");
    QVERIFY(failed.oven.isEmpty());
    QCOMPARE(failed.reason(), reason);
    QVERIFY(failed.leftOnDrive);
    QVERIFY(!result.allHandled());
    QCOMPARE(result.messages, QStringList{"P2.csv: " + reason +
                                          ". The file stays on the drive.\n"
                                          "Files left on the drive " +
                                          drive() + ": 1 of 3."});
    QCOMPARE(m_progress.steps.size(), 4);

    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta", "P2.csv"}));
    QCOMPARE(readFile(drive() + "/P2.csv"), bad);
    QCOMPARE(entries(backup()), (QStringList{"P1.csv", "P3.csv"}));
    QCOMPARE(entries(store()), (QStringList{"012345672468", "987654320000"}));
}

void TestImport::emptyFileBetweenTwoGoodOnesBlocksNeither()
{
    // The file every later import would trip over once more: it must not stop them.
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));
    writeFile(drive() + "/P2.csv", "");
    writeFile(drive() + "/P3.csv", cycleFile(ovenA));
    for (int run = 0; run < 2; ++run) {
        const ImportResult result = importFrom();
        QCOMPARE(result.messages.size(), 1);
        QVERIFY(result.messages.first().startsWith("P2.csv: the file is empty"));
        QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta", "P2.csv"}));
    }
    QCOMPARE(entries(oven("012345672468")), (QStringList{"P1.csv", "P3.csv"}));
}

void TestImport::nameCollisions_data()
{
    // What already lies in the oven's folder and in Backup under P5.csv, P5_2.csv, ...:
    // "same" is this cycle, "other" a different cycle of the same number.
    QTest::addColumn<QStringList>("inStore");
    QTest::addColumn<QStringList>("inBackup");
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("storeName"); // where this cycle's copy is in the store
    QTest::addColumn<QString>("backupName");
    QTest::newRow("identical copy stored")
        << QStringList{"same"} << QStringList{} << "already stored"
        << "P5.csv"
        << "P5.csv";
    QTest::newRow("another cycle stored")
        << QStringList{"other"} << QStringList{} << "stored as P5_2.csv"
        << "P5_2.csv"
        << "P5.csv";
    QTest::newRow("another, then this one")
        << QStringList{"other", "same"} << QStringList{} << "already stored"
        << "P5_2.csv"
        << "P5.csv";
    QTest::newRow("two others") << QStringList{"other", "other"} << QStringList{}
                                << "stored as P5_3.csv"
                                << "P5_3.csv"
                                << "P5.csv";
    QTest::newRow("identical backup") << QStringList{} << QStringList{"same"} << "stored"
                                      << "P5.csv"
                                      << "P5.csv";
    QTest::newRow("another backup") << QStringList{} << QStringList{"other"} << "stored"
                                    << "P5.csv"
                                    << "P5_2.csv";
    QTest::newRow("another, then identical backup")
        << QStringList{} << QStringList{"other", "same"} << "stored"
        << "P5.csv"
        << "P5_2.csv";
    QTest::newRow("others in both")
        << QStringList{"other"} << QStringList{"other"} << "stored as P5_2.csv"
        << "P5_2.csv"
        << "P5_2.csv";
}

void TestImport::nameCollisions()
{
    QFETCH(QStringList, inStore);
    QFETCH(QStringList, inBackup);
    QFETCH(QString, result);
    QFETCH(QString, storeName);
    QFETCH(QString, backupName);
    const QByteArray raw = cycleFile(ovenA);
    QByteArray other = cycleFile(ovenA);
    other.replace("21.5", "99.5");
    const QString ovenFolder = oven("012345672468");
    for (int i = 0; i < inStore.size(); ++i)
        writeFile(ovenFolder + "/" + numberedName("P5.csv", i + 1),
                  storedForm(inStore.at(i) == "same" ? raw : other));
    for (int i = 0; i < inBackup.size(); ++i)
        writeFile(backup() + "/" + numberedName("P5.csv", i + 1),
                  inBackup.at(i) == "same" ? raw : other);
    writeFile(drive() + "/P5.csv", raw);

    const ImportResult outcome = importFrom();

    QCOMPARE(outcome.files.size(), 1);
    QCOMPARE(outcome.files.first().resultText(), result);
    QVERIFY(!outcome.files.first().leftOnDrive);
    QVERIFY(outcome.allHandled());
    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta"}));
    QCOMPARE(readFile(ovenFolder + "/" + storeName), storedForm(raw));
    QCOMPARE(readFile(backup() + "/" + backupName), raw);
    // Nothing that was there before has changed.
    for (int i = 0; i < inStore.size(); ++i)
        QCOMPARE(readFile(ovenFolder + "/" + numberedName("P5.csv", i + 1)),
                 storedForm(inStore.at(i) == "same" ? raw : other));
    for (int i = 0; i < inBackup.size(); ++i)
        QCOMPARE(readFile(backup() + "/" + numberedName("P5.csv", i + 1)),
                 inBackup.at(i) == "same" ? raw : other);
    const bool written = result.startsWith("stored");
    QCOMPARE(entries(ovenFolder).size(), inStore.size() + (written ? 1 : 0));
    QCOMPARE(outcome.messages.isEmpty(), !result.startsWith("stored as"));
}

void TestImport::writeProtectedDriveKeepsEveryFile()
{
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));
    writeFile(drive() + "/P2.csv", cycleFile(ovenB));
    ReadOnlyBelow readOnly({drive()});
    for (const QString expected : {"stored", "already stored"}) {
        const ImportResult result = importFrom(&readOnly);
        QCOMPARE(result.files.size(), 2);
        for (const ImportedFile& f : result.files) {
            QCOMPARE(f.resultText(), expected);
            QVERIFY(f.leftOnDrive);
            QVERIFY(f.reason().contains("Read-only file system"));
        }
        // Stored is not done: the files are still at the root, to be imported again.
        QVERIFY(!result.allHandled());
        QCOMPARE(result.leftOnDrive(), 2);
        QCOMPARE(result.messages.size(), 1);
        QCOMPARE(result.messages.first().count('\n'), 2);
        QVERIFY(
            result.messages.first().endsWith("Files left on the drive " + drive() + ": 2 of 2."));
        QVERIFY(result.messages.first().startsWith(
            "P1.csv: stored for oven 012345672468, but it "
            "stays on the drive: the Backup folder cannot be created"));
        QCOMPARE(entries(drive()), (QStringList{"Kvaro.lerta", "P1.csv", "P2.csv"}));
        QCOMPARE(entries(oven("012345672468")), QStringList{"P1.csv"});
        QCOMPARE(entries(oven("987654320000")), QStringList{"P2.csv"});
    }
}

void TestImport::unwritableStoreLeavesTheDriveUntouched_data()
{
    QTest::addColumn<bool>("dataIsAFile");
    QTest::newRow("Data is a file, so no folder can be made") << true;
    QTest::newRow("writes fail") << false;
}

void TestImport::unwritableStoreLeavesTheDriveUntouched()
{
    QFETCH(bool, dataIsAFile);
    if (dataIsAFile)
        writeFile(store(), "not a folder");
    else
        QDir().mkpath(oven("012345672468"));
    ReadOnlyBelow readOnly({home()});
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));
    writeFile(drive() + "/P2.csv", cycleFile(ovenB));

    const ImportResult result = importFrom(dataIsAFile ? nullptr : &readOnly);

    QCOMPARE(result.files.size(), 2);
    for (const ImportedFile& f : result.files) {
        QCOMPARE(f.resultText(), "failed");
        QVERIFY(f.leftOnDrive);
        QVERIFY(!f.oven.isEmpty());
    }
    QVERIFY(!result.allHandled());
    QCOMPARE(result.messages.size(), 1);
    QVERIFY(result.messages.first().contains("P2.csv: the store folder"));
    QCOMPARE(entries(drive()), (QStringList{"Kvaro.lerta", "P1.csv", "P2.csv"}));
    if (!dataIsAFile)
        QVERIFY(entries(oven("012345672468")).isEmpty());
}

void TestImport::copyWhenTheDriveCannotRename_data()
{
    QTest::addColumn<NoRename::Fault>("fault");
    QTest::addColumn<QString>("reason"); // empty: the file leaves the drive
    QTest::newRow("copy checks out") << NoRename::Fault::None << QString();
    QTest::newRow("copy reads back different")
        << NoRename::Fault::CopyDiffers << "its copy in Backup does not read back the same";
    QTest::newRow("file changed meanwhile")
        << NoRename::Fault::SourceChanges << "it changed while it was being imported";
}

void TestImport::copyWhenTheDriveCannotRename()
{
    QFETCH(NoRename::Fault, fault);
    QFETCH(QString, reason);
    const QByteArray raw = cycleFile(ovenA);
    writeFile(drive() + "/P1.csv", raw);
    NoRename noRename(fault);
    const ImportResult result = importFrom(&noRename);
    const ImportedFile& file = result.files.first();
    QCOMPARE(file.resultText(), "stored");
    QCOMPARE(readFile(oven("012345672468") + "/P1.csv"), storedForm(raw));
    QCOMPARE(file.reason(), reason);
    QCOMPARE(file.leftOnDrive, !reason.isEmpty());
    QCOMPARE(result.allHandled(), reason.isEmpty());
    if (reason.isEmpty()) {
        QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta"}));
        QCOMPARE(readFile(backup() + "/P1.csv"), raw);
        return;
    }
    // Whatever went wrong, the drive keeps the file as it is now.
    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta", "P1.csv"}));
    if (fault == NoRename::Fault::SourceChanges) {
        QCOMPARE(readFile(drive() + "/P1.csv"), raw + "0,1,2\r\n");
        QCOMPARE(readFile(backup() + "/P1.csv"), raw);
    } else {
        QCOMPARE(readFile(drive() + "/P1.csv"), raw);
        QVERIFY(entries(backup()).isEmpty());
    }
}

void TestImport::storedCopyIsOnTheDiskBeforeTheDriveFileGoes_data()
{
    QTest::addColumn<bool>("renames");
    QTest::newRow("moved into Backup") << true;
    QTest::newRow("copied into Backup, then deleted") << false;
}

void TestImport::storedCopyIsOnTheDiskBeforeTheDriveFileGoes()
{
    QFETCH(bool, renames);
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));
    RecordingOps ops(renames);
    const ImportResult result = importFrom(&ops);
    QVERIFY(result.allHandled());
    const QString source = QDir(drive()).filePath("P1.csv");
    const qsizetype created = ops.indexOf("create " + oven("012345672468") + "/P1.csv");
    const qsizetype synced = ops.indexOf("sync " + oven("012345672468"));
    const qsizetype moved = ops.indexOf("move " + source);
    QVERIFY2(created >= 0 && synced > created && moved > synced, qPrintable(ops.log.join('\n')));
    if (!renames) {
        // The copy's name in Backup, too, is on the disk before the original goes.
        const qsizetype backupSynced = ops.indexOf("sync " + backup());
        const qsizetype removed = ops.indexOf("remove " + source);
        QVERIFY2(backupSynced > moved && removed > backupSynced, qPrintable(ops.log.join('\n')));
    }
}

void TestImport::storedFilesTakeTheUserModes_data()
{
    QTest::addColumn<int>("mask");
    QTest::addColumn<int>("fileMode");
    QTest::addColumn<int>("folderMode");
    QTest::newRow("022, the usual") << 022 << 0644 << 0755;
    QTest::newRow("002, a shared group") << 002 << 0664 << 0775;
    QTest::newRow("077, private") << 077 << 0600 << 0700;
}

void TestImport::storedFilesTakeTheUserModes()
{
    QFETCH(int, mask);
    QFETCH(int, fileMode);
    QFETCH(int, folderMode);
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));
    // A file the drive cannot rename is copied into Backup: that copy too.
    NoRename noRename;
    {
        const Umask umask{mode_t(mask)};
        QVERIFY(importFrom(&noRename).allHandled());
    }
    for (const QString& folder : {store(), oven("012345672468"), backup()})
        QCOMPARE(modeOf(folder), permissionsOf(folderMode));
    QCOMPARE(modeOf(oven("012345672468") + "/P1.csv"), permissionsOf(fileMode));
    QCOMPARE(modeOf(backup() + "/P1.csv"), permissionsOf(fileMode));
}

void TestImport::staleTemporaryFilesOfTheOvenGo()
{
    // Left behind by imports that were killed: one long ago, one a moment ago (perhaps an
    // import still running on another PC), and one in an oven this import does not touch.
    const QDateTime now = m_clock.now();
    const QString ovenFolder = oven("012345672468");
    writeFile(ovenFolder + "/.kvaro-old.part", "half a cyc");
    setAge(ovenFolder + "/.kvaro-old.part", now.addSecs(-11 * 60));
    writeFile(ovenFolder + "/.kvaro-young.part", "half a cyc");
    setAge(ovenFolder + "/.kvaro-young.part", now.addSecs(-9 * 60));
    writeFile(ovenFolder + "/notes.part", "someone else's");
    setAge(ovenFolder + "/notes.part", now.addDays(-30));
    writeFile(oven("987654320000") + "/.kvaro-old.part", "half a cyc");
    setAge(oven("987654320000") + "/.kvaro-old.part", now.addDays(-1));
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));

    QVERIFY(importFrom().allHandled());

    QCOMPARE(entries(ovenFolder), (QStringList{".kvaro-young.part", "P1.csv", "notes.part"}));
    QCOMPARE(entries(oven("987654320000")), QStringList{".kvaro-old.part"});
}

void TestImport::messagesFollowTheLanguage()
{
    Settings settings(QStringLiteral(KVARO_SOURCE_DIR "/assets"), QString());
    settings.load();
    settings.loadLanguage(m_language);
    writeFile(drive() + "/P1.csv", cycleFile(ovenA));
    writeFile(drive() + "/P2.csv", "");
    const ImportResult result = importFrom();
    QCOMPARE(result.messages, QStringList{"P2.csv: plik jest pusty. Plik zostaje na dysku.\n"
                                          "Pliki pozostawione na dysku " +
                                          drive() + ": 1 z 2."});
    // For scripts the reason stays the same in every language.
    QCOMPARE(result.files.at(1).reason(), "the file is empty");
    QCOMPARE(result.files.at(1).reason(m_language), "plik jest pusty");
}

void TestImport::ovenNameFromPathCharactersStaysInsideTheStore()
{
    const QStringList hostile{"3.3.", "3/3/", "3.3.", "3/3/", "1.", "1.", "1/", "1."};
    writeFile(drive() + "/P1.csv", cycleFile(hostile));
    const ImportResult result = importFrom();
    QCOMPARE(result.files.first().oven, "____________");
    QCOMPARE(entries(m_dir->path()), (QStringList{"drive", "home"}));
    QCOMPARE(entries(home()), QStringList{"Data"});
    QCOMPARE(entries(store()), QStringList{"____________"});
    QCOMPARE(entries(oven("____________")), QStringList{"P1.csv"});
}

void TestImport::generatedDriveTwice()
{
    const gen::DriveSpec spec = gen::mixedDrive(QDate(2024, 3, 14), 3, 4, 7);
    QDir(drive()).removeRecursively();
    const QStringList names = gen::writeDrive(drive(), spec);
    QCOMPARE(names.size(), 12);
    QHash<QString, QByteArray> raw;
    for (const QString& name : names)
        raw.insert(name, readFile(drive() + "/" + name));

    const ImportResult first = importFrom();
    QVERIFY(first.allHandled());
    QVERIFY(first.messages.isEmpty());
    QCOMPARE(first.newlyStored(), 12);
    QCOMPARE(first.ovensStoredTo(), 3);
    QCOMPARE(listOvens(store()), (QStringList{"10230001", "10230002", "10230003"}));
    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta"}));
    for (const ImportedFile& f : first.files) {
        QCOMPARE(readFile(backup() + "/" + f.file), raw.value(f.file));
        QCOMPARE(readFile(oven(f.oven) + "/" + f.file), storedForm(raw.value(f.file)));
    }

    // The same files once more: nothing new in the store, the drive's root emptied again,
    // Backup as it was.
    gen::writeDrive(drive(), spec);
    const ImportResult second = importFrom();
    QCOMPARE(second.files.size(), 12);
    QCOMPARE(second.newlyStored(), 0);
    for (const ImportedFile& f : second.files)
        QCOMPARE(f.resultText(), "already stored");
    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta"}));
    QCOMPARE(entries(backup()).size(), 12);
    int stored = 0;
    for (const QString& ovenName : listOvens(store()))
        stored += int(entries(oven(ovenName)).size());
    QCOMPARE(stored, 12);
}

void TestImport::stopLeavesTheFilesNotBegunAlone()
{
    for (const char* name : {"P1.csv", "P2.csv", "P3.csv"})
        writeFile(drive() + "/" + name, cycleFile(ovenA));
    FakeDrives drives({drive()});
    Importer importer(drives, StorePaths(home()), '.');
    int asked = 0;
    importer.setStopRequested([&asked] { return ++asked > 1; });
    const ImportResult result = importer.run();
    QCOMPARE(result.files.size(), 1);
    QCOMPARE(entries(drive()), (QStringList{"Backup", "Kvaro.lerta", "P2.csv", "P3.csv"}));
    QCOMPARE(entries(oven("012345672468")), QStringList{"P1.csv"});
}

void TestImport::mountTableWatch()
{
    // Nothing to watch: no notifier, and no error either.
    MountTableWatch missing(m_dir->filePath("no-such-table"));
    QVERIFY(!missing.isWatching());
    MountTableWatch mounts;
    QVERIFY(mounts.isWatching());
}

QTEST_GUILESS_MAIN(TestImport)
#include "test_import.moc"
