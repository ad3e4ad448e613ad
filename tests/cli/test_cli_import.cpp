#include "tests/testfiles.h"
#include "tools/cyclegen.h"

#include <QDir>
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

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

} // namespace

class TestCliImport : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void generatedDriveImportedOnceAndOnlyOnce();
    void folderWithoutMarkerImportsNothing();
    void badFileFailsTheRunButNotTheOthers();
    void filesLeftOnTheDriveFailTheRun_data();
    void filesLeftOnTheDriveFailTheRun();
    void driveIsRequired();

private:
    Run kvaro(const QStringList& args)
    {
        QProcess process;
        process.setWorkingDirectory(m_work);
        process.start(KVARO_CLI, QStringList{"import", "--home", m_home} + args);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    std::unique_ptr<QTemporaryDir> m_dir;
    QString m_drive;
    QString m_home;
    QString m_work;
};

void TestCliImport::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_drive = m_dir->filePath("stick");
    m_home = m_dir->filePath("home");
    m_work = m_dir->filePath("work");
    QDir().mkpath(m_home);
    QDir().mkpath(m_work);
    // The language the message comes from: PL, as no Data.dat says otherwise.
    QStringList texts;
    for (int i = 0; i < 46; ++i)
        texts << QString("tekst %1").arg(i);
    writeFile(m_work + "/PL.dat", texts.join("\r\n").toUtf8() + "\r\n");
}

void TestCliImport::generatedDriveImportedOnceAndOnlyOnce()
{
    const QStringList names =
        kvaro::gen::writeDrive(m_drive, kvaro::gen::mixedDrive(QDate(2024, 3, 14), 2, 3, 5));

    const Run first = kvaro({"--drive", m_drive, "--json"});
    QCOMPARE(first.exitCode, 0);
    const QJsonObject json = first.json();
    QCOMPARE(json.value("driveFound").toBool(), true);
    QCOMPARE(json.value("messages").toArray().size(), 0);
    QCOMPARE(json.value("ovens").toArray(), QJsonArray({"10230001", "10230002"}));
    const QJsonArray files = json.value("files").toArray();
    QCOMPARE(files.size(), names.size());
    for (const QJsonValue& value : files) {
        const QJsonObject file = value.toObject();
        QVERIFY(names.contains(file.value("file").toString()));
        QVERIFY(file.value("oven").toString().startsWith("1023000"));
        QCOMPARE(file.value("result").toString(), "stored");
        QVERIFY(file.value("reason").isNull());
        QCOMPARE(file.value("leftOnDrive").toBool(), false);
        QVERIFY(QFileInfo::exists(m_home + "/Data/" + file.value("oven").toString() + "/" +
                                  file.value("file").toString()));
    }
    QCOMPARE(entries(m_drive), (QStringList{"Backup", "Kvaro.lerta"}));
    QCOMPARE(entries(m_drive + "/Backup").size(), names.size());

    const Run second = kvaro({"--drive", m_drive, "--json"});
    QCOMPARE(second.exitCode, 0);
    QCOMPARE(second.json().value("files").toArray().size(), 0);
    QCOMPARE(second.json().value("ovens").toArray().size(), 2);
}

void TestCliImport::folderWithoutMarkerImportsNothing()
{
    writeFile(m_drive + "/P1.csv", "typ\r\n0,1,2\r\n");
    const Run run = kvaro({"--drive", m_drive, "--json"});
    QCOMPARE(run.exitCode, 1);
    const QJsonObject json = run.json();
    QCOMPARE(json.value("driveFound").toBool(), false);
    QCOMPARE(json.value("messages").toArray(), QJsonArray({"tekst 44"}));
    QCOMPARE(json.value("files").toArray().size(), 0);
    QCOMPARE(json.value("ovens").toArray().size(), 0);
    QCOMPARE(entries(m_drive), QStringList{"P1.csv"});

    const Run plain = kvaro({"--drive", m_drive});
    QCOMPARE(plain.exitCode, 1);
    QVERIFY(plain.err.endsWith("\ntekst 44\n") || plain.err == "tekst 44\n");
}

void TestCliImport::badFileFailsTheRunButNotTheOthers()
{
    kvaro::gen::CycleSpec spec;
    spec.ovenId = kvaro::gen::ovenIdFields("7654321");
    spec.durationSeconds = 600;
    writeFile(m_drive + "/Kvaro.lerta", "");
    writeFile(m_drive + "/P1.csv", kvaro::gen::writeCycle(spec));
    writeFile(m_drive + "/P2.csv", "");

    const Run json = kvaro({"--drive", m_drive, "--json"});
    QCOMPARE(json.exitCode, 1);
    const QJsonArray files = json.json().value("files").toArray();
    QCOMPARE(files.size(), 2);
    QCOMPARE(files.at(0).toObject().value("result").toString(), "stored");
    QCOMPARE(files.at(0).toObject().value("oven").toString(), "7654321");
    const QJsonObject bad = files.at(1).toObject();
    QCOMPARE(bad.value("result").toString(), "failed");
    QVERIFY(bad.value("oven").isNull());
    QCOMPARE(bad.value("reason").toString(), "the file is empty");
    QCOMPARE(bad.value("leftOnDrive").toBool(), true);
    QCOMPARE(json.json().value("messages").toArray().size(), 1);

    const Run plain = kvaro({"--drive", m_drive});
    QCOMPARE(plain.exitCode, 1);
    QCOMPARE(plain.out, QByteArray("P2.csv\t-\tfailed\tleft on the drive\n"));
    QVERIFY(plain.err.contains("P2.csv: the file is empty"));
}

void TestCliImport::filesLeftOnTheDriveFailTheRun_data()
{
    QTest::addColumn<QString>("blocked"); // a file where this folder should be
    QTest::addColumn<QString>("result");
    QTest::addColumn<QString>("reason");
    QTest::newRow("drive without Backup") << "stick/Backup"
                                          << "stored"
                                          << "the Backup folder cannot be created (";
    QTest::newRow("store cannot be made") << "home/Data"
                                          << "failed"
                                          << "the store folder ";
}

void TestCliImport::filesLeftOnTheDriveFailTheRun()
{
    QFETCH(QString, blocked);
    QFETCH(QString, result);
    QFETCH(QString, reason);
    // The interface is Polish: the messages follow it, the JSON values do not.
    writeFile(m_work + "/PL.dat", readFile(KVARO_SOURCE_DIR "/assets/PL.dat"));
    kvaro::gen::CycleSpec spec;
    spec.ovenId = kvaro::gen::ovenIdFields("7654321");
    spec.durationSeconds = 600;
    writeFile(m_drive + "/Kvaro.lerta", "");
    writeFile(m_drive + "/P1.csv", kvaro::gen::writeCycle(spec));
    writeFile(m_dir->filePath(blocked), "in the way");

    const Run run = kvaro({"--drive", m_drive, "--json"});
    QCOMPARE(run.exitCode, 1);
    const QJsonObject file = run.json().value("files").toArray().first().toObject();
    QCOMPARE(file.value("result").toString(), result);
    QVERIFY2(file.value("reason").toString().startsWith(reason),
             qPrintable(file.value("reason").toString()));
    QCOMPARE(file.value("leftOnDrive").toBool(), true);
    const QString message = run.json().value("messages").toArray().first().toString();
    QVERIFY2(message.endsWith("Pliki pozostawione na dysku " + m_drive + ": 1 z 1."),
             qPrintable(message));
    QVERIFY(entries(m_drive).contains("P1.csv"));
}

void TestCliImport::driveIsRequired()
{
    QCOMPARE(kvaro({"--json"}).exitCode, 2);
    QCOMPARE(kvaro({"--drive"}).exitCode, 2);
}

QTEST_GUILESS_MAIN(TestCliImport)
#include "test_cli_import.moc"
