// Files no controller should write, through every command that reads a file from outside.
// None may crash kvaro-cli; each failure names the file; nothing on the drive or in the
// store loses a byte.
#include "tests/testfiles.h"
#include "tools/cyclegen.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using kvaro::testing::readFile;
using kvaro::testing::writeFile;

namespace {

// Every file below root by relative path, with a digest of its bytes.
QMap<QString, QByteArray> snapshot(const QString& root)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        if (file.open(QIODevice::ReadOnly))
            files.insert(QDir(root).relativeFilePath(path),
                         QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha1));
    }
    return files;
}

QByteArray digest(const QByteArray& bytes)
{
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha1);
}

struct Run {
    bool crashed = true;
    int exitCode = -1;
    QString err;
    QJsonObject json;
};

QByteArray goodCycle(int number)
{
    kvaro::gen::CycleSpec spec;
    spec.number = number;
    spec.seed = quint64(number);
    spec.durationSeconds = 600;
    spec.samplePeriodSeconds = 30;
    spec.start = QDateTime(QDate(2024, 3, 14), QTime(8, 0));
    spec.ovenId = kvaro::gen::ovenIdFields(QStringLiteral("12345678"));
    return kvaro::gen::writeCycle(spec);
}

// The good cycle with one record line changed by edit.
QByteArray editedCycle(const std::function<void(QList<QByteArray>&)>& edit)
{
    QList<QByteArray> lines = goodCycle(1).split('\n');
    edit(lines);
    return lines.join('\n');
}

QByteArray withField(int line, int field, const QByteArray& value)
{
    return editedCycle([=](QList<QByteArray>& lines) {
        QList<QByteArray> fields = lines[line].split(',');
        fields[field] = value;
        lines[line] = fields.join(',');
    });
}

} // namespace

class TestCliBadInput : public QObject
{
    Q_OBJECT

private slots:
    void badFiles_data();
    void badFiles();
    void importedCopy_data();
    void importedCopy();

private:
    // locale: the LC_ALL the program runs under; empty for the test's own.
    Run kvaro(const QString& home, const QStringList& args, const QString& locale = {})
    {
        QProcess process;
        process.setWorkingDirectory(home);
        if (!locale.isEmpty()) {
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("LC_ALL"), locale);
            process.setProcessEnvironment(environment);
        }
        process.start(QStringLiteral(KVARO_CLI), args + QStringList{"--home", home, "--json"});
        Run run;
        if (!process.waitForFinished(120000)) {
            process.kill();
            return run;
        }
        run.crashed = process.exitStatus() != QProcess::NormalExit;
        run.exitCode = process.exitCode();
        run.err = QString::fromUtf8(process.readAllStandardError());
        run.json = QJsonDocument::fromJson(process.readAllStandardOutput()).object();
        return run;
    }
};

void TestCliBadInput::badFiles_data()
{
    QTest::addColumn<QByteArray>("bytes");
    // Whether drawing the file can run to its end.
    QTest::addColumn<bool>("draws");

    const QByteArray good = goodCycle(1);
    QTest::newRow("truncated mid-line") << good.left(good.size() * 3 / 5) << true;
    QTest::newRow("truncated in the first record") << good.left(good.indexOf('\n') + 40) << false;
    // A line reads as its first 4096 characters; the fields after them are never needed.
    QTest::newRow("line of 100 000 characters") << editedCycle([](QList<QByteArray>& lines) {
        lines[3] = lines[3].trimmed() + QByteArray(100000, '7') + '\r';
    }) << true;
    QByteArray garbage;
    quint32 state = 12345;
    for (int i = 0; i < 5000; ++i) {
        state = state * 1103515245u + 12345u;
        garbage.append(char(state >> 24));
    }
    QTest::newRow("binary garbage") << garbage << false;
    QTest::newRow("utf-16 with an odd byte")
        << QByteArray("\xFF\xFE\x30\x00\x2C\x00\x31", 7) << false;
    QTest::newRow("one line") << QByteArray("typ,t1,t2\r\n") << false;
    QTest::newRow("letters in a temperature") << withField(3, 1, "abc") << false;
    QTest::newRow("letters in an hour") << withField(3, 3, "ab") << false;
    QTest::newRow("time 24:00:00") << withField(3, 3, "24") << false;
    QTest::newRow("time 12:61:00") << withField(3, 4, "61") << false;
    // Numbers far beyond any oven still convert; nothing derived from them may overflow.
    QTest::newRow("temperature of 1e90") << withField(3, 1, "1e90") << true;
    QTest::newRow("set temperature of 1e90") << withField(1, 48, "1e90") << true;
    QTest::newRow("programmed minutes of 2e9") << withField(1, 44, "2000000000") << true;
    QTest::newRow("100 000 empty lines") << QByteArray(200000, '\n') << false;
    QTest::newRow("missing end record") << editedCycle([](QList<QByteArray>& lines) {
        while (!lines.isEmpty() && lines.last().trimmed().isEmpty())
            lines.removeLast();
        lines.last() = "koniec\r";
    }) << true;
}

void TestCliBadInput::badFiles()
{
    QFETCH(QByteArray, bytes);
    QFETCH(bool, draws);
    QTemporaryDir home;
    for (const char* name : {"PL.dat", "Data.dat"})
        QVERIFY(QFile::copy(QStringLiteral(KVARO_SOURCE_DIR "/assets/") + QLatin1String(name),
                            home.filePath(QLatin1String(name))));

    // chart: the picked file is read, never written.
    const QString picked = home.filePath(QStringLiteral("picked/P1.csv"));
    writeFile(picked, bytes);
    const Run chart = kvaro(home.path(), {"chart", picked});
    QVERIFY2(!chart.crashed, qPrintable(chart.err));
    QCOMPARE(chart.exitCode, draws ? 0 : 1);
    if (!draws)
        QVERIFY2(chart.err.contains(QStringLiteral("P1.csv")) ||
                     chart.json.value(QStringLiteral("messages")).toArray().size() == 1,
                 qPrintable(chart.err));

    // cycles: the bad file beside a good one in the store.
    const QString oven = home.filePath(QStringLiteral("Data/12345678"));
    // Stored copies hold the normalised text.
    writeFile(oven + QStringLiteral("/P1.csv"), QByteArray(bytes).replace(',', ';'));
    writeFile(oven + QStringLiteral("/P2.csv"), goodCycle(2).replace(',', ';'));
    const auto storeBefore = snapshot(home.filePath(QStringLiteral("Data")));
    const Run cycles =
        kvaro(home.path(), {"cycles", "12345678", "--today", "2024-03-14", "--from", "2024-03-14"});
    QVERIFY2(!cycles.crashed, qPrintable(cycles.err));
    QVERIFY(cycles.exitCode == 0 || cycles.exitCode == 1);
    QCOMPARE(snapshot(home.filePath(QStringLiteral("Data"))), storeBefore);
    // The good cycle is listed whatever its neighbour holds.
    const QJsonArray items = cycles.json.value(QStringLiteral("items")).toArray();
    QVERIFY(std::any_of(items.begin(), items.end(), [](const QJsonValue& item) {
        return item.toObject().value(QStringLiteral("file")).toString() == QLatin1String("P2.csv");
    }));

    // import: the bad file beside a good one on a drive.
    QTemporaryDir driveDir;
    const QString drive = driveDir.path();
    writeFile(drive + QStringLiteral("/Kvaro.lerta"), QByteArray());
    writeFile(drive + QStringLiteral("/P1.csv"), bytes);
    writeFile(drive + QStringLiteral("/P3.csv"), goodCycle(3));
    QTemporaryDir importHome;
    QVERIFY(QFile::copy(home.filePath(QStringLiteral("PL.dat")),
                        importHome.filePath(QStringLiteral("PL.dat"))));
    const Run import = kvaro(importHome.path(), {"import", "--drive", drive});
    QVERIFY2(!import.crashed, qPrintable(import.err));
    QVERIFY(import.exitCode == 0 || import.exitCode == 1);
    // The bad file's bytes are still on the drive, at its root or in Backup.
    const auto after = snapshot(drive);
    QVERIFY(after.value(QStringLiteral("P1.csv")) == digest(bytes) ||
            after.value(QStringLiteral("Backup/P1.csv")) == digest(bytes));
    if (import.exitCode == 1)
        QVERIFY2(import.err.contains(QStringLiteral("P1.csv")), qPrintable(import.err));
    // And the good one was stored and backed up.
    QVERIFY(QFileInfo::exists(importHome.filePath(QStringLiteral("Data/12345678/P3.csv"))));
    QCOMPARE(after.value(QStringLiteral("Backup/P3.csv")), digest(goodCycle(3)));
}

// What the store keeps of a drive's file: its oven found from the right fields, and every
// byte the normalisation does not rewrite kept as it was.
void TestCliBadInput::importedCopy_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QByteArray>("stored");

    const QByteArray controller = goodCycle(1);
    const auto lowered = [](QByteArray bytes) { return bytes.toLower(); };
    const auto normalised = [&](const QByteArray& raw, char separator) {
        return lowered(raw).replace(',', ';').replace('.', separator);
    };
    // A header in Windows-1250, which no UTF-8 locale decodes.
    const QByteArray codePage =
        "Piec nr 1 \xB3\xF3\x64\xBC" + controller.mid(controller.indexOf('\r'));
    QTest::newRow("code-page header") << codePage << "C.UTF-8" << normalised(codePage, '.');
    QByteArray cut = controller;
    cut.replace(',', ';').replace('.', ',');
    QTest::newRow("cut at ';' with decimal commas, comma locale")
        << cut << "pl_PL.UTF-8" << lowered(cut);
    QTest::newRow("cut at ';' with decimal commas, point locale")
        << cut << "C.UTF-8" << lowered(cut).replace(',', '.');
}

void TestCliBadInput::importedCopy()
{
    QFETCH(QByteArray, raw);
    QFETCH(QString, locale);
    QFETCH(QByteArray, stored);
    QTemporaryDir driveDir;
    const QString drive = driveDir.path();
    writeFile(drive + QStringLiteral("/Kvaro.lerta"), QByteArray());
    writeFile(drive + QStringLiteral("/P1.csv"), raw);
    QTemporaryDir home;
    const Run import = kvaro(home.path(), {"import", "--drive", drive}, locale);
    QVERIFY2(!import.crashed, qPrintable(import.err));
    QCOMPARE(import.exitCode, 0);
    QCOMPARE(
        QDir(home.filePath(QStringLiteral("Data"))).entryList(QDir::Dirs | QDir::NoDotAndDotDot),
        QStringList{QStringLiteral("12345678")});
    QCOMPARE(readFile(home.filePath(QStringLiteral("Data/12345678/P1.csv"))), stored);
}

QTEST_GUILESS_MAIN(TestCliBadInput)
#include "test_cli_badinput.moc"
