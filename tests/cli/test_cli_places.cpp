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

#include <memory>

using kvaro::testing::numberedText;
using kvaro::testing::writeFile;

namespace {

struct Run {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
    QJsonObject json() const { return QJsonDocument::fromJson(out).object(); }
};

// A language file whose line N reads the pattern with N.
QByteArray numberedLanguage(const QString& pattern)
{
    QByteArray bytes("\xEF\xBB\xBF");
    for (int n = 0; n < 46; ++n)
        bytes += (pattern.arg(n) + QStringLiteral("\r\n")).toUtf8();
    return bytes;
}

} // namespace

// kvaro-cli installed as prefix/bin/kvaro-cli beside prefix/share/kvaro, run without --home:
// where its store and its texts come from.
class TestCliPlaces : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void storeFollowsTheProgramAndTheUser_data();
    void storeFollowsTheProgramAndTheUser();
    void textsFollowTheInstalledLayout_data();
    void textsFollowTheInstalledLayout();

private:
    QString path(const QString& relative) const { return m_row->filePath(relative); }
    QString program() const { return m_prefix.filePath(QStringLiteral("bin")); }
    QString shared() const { return m_prefix.filePath(QStringLiteral("share/kvaro")); }

    // Runs the copied kvaro-cli from the row's working folder with HOME in the row's folder
    // and the XDG variables only as given.
    Run cli(const QStringList& arguments, const QString& xdgData = {},
            const QString& xdgConfig = {})
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("XDG_DATA_HOME"));
        environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
        environment.insert(QStringLiteral("HOME"), path(QStringLiteral("home")));
        if (!xdgData.isEmpty())
            environment.insert(QStringLiteral("XDG_DATA_HOME"), path(xdgData));
        if (!xdgConfig.isEmpty())
            environment.insert(QStringLiteral("XDG_CONFIG_HOME"), path(xdgConfig));
        QProcess process;
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(path(QStringLiteral("work")));
        process.start(QDir(program()).filePath(QStringLiteral("kvaro-cli")), arguments);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitCode(), process.readAllStandardOutput(),
                process.readAllStandardError()};
    }

    QTemporaryDir m_prefix;
    std::unique_ptr<QTemporaryDir> m_row; // home, work, the XDG folders, the drive
};

void TestCliPlaces::initTestCase()
{
    QVERIFY(m_prefix.isValid());
    QDir().mkpath(program());
    const QString copy = QDir(program()).filePath(QStringLiteral("kvaro-cli"));
    QVERIFY(QFile::copy(QStringLiteral(KVARO_CLI), copy));
    QVERIFY(QFile::setPermissions(copy, QFile::permissions(QStringLiteral(KVARO_CLI))));
}

void TestCliPlaces::init()
{
    m_row = std::make_unique<QTemporaryDir>();
    QVERIFY(m_row->isValid());
    QDir(QDir(program()).filePath(QStringLiteral("Data"))).removeRecursively();
    QDir(shared()).removeRecursively();
    QDir().mkpath(path(QStringLiteral("home")));
    QDir().mkpath(path(QStringLiteral("work")));
    writeFile(shared() + QStringLiteral("/PL.dat"), numberedLanguage(QStringLiteral("tekst %1")));
}

void TestCliPlaces::storeFollowsTheProgramAndTheUser_data()
{
    QTest::addColumn<bool>("dataBeside"); // a Data/ beside the program before the first run
    QTest::addColumn<QString>("xdgData"); // below the row's folder; "" leaves it unset
    QTest::addColumn<QString>("store");   // "prefix" for the program's, else below the row's

    QTest::newRow("XDG_DATA_HOME") << false << "xdg-data"
                                   << "xdg-data/kvaro/Data";
    QTest::newRow("only HOME") << false << ""
                               << "home/.local/share/kvaro/Data";
    QTest::newRow("a store beside the program") << true << "xdg-data"
                                                << "prefix";
}

void TestCliPlaces::storeFollowsTheProgramAndTheUser()
{
    QFETCH(bool, dataBeside);
    QFETCH(QString, xdgData);
    QFETCH(QString, store);
    const QString beside = QDir(program()).filePath(QStringLiteral("Data"));
    if (dataBeside)
        QDir().mkpath(beside);
    const QString root = store == QLatin1String("prefix") ? beside : path(store);

    // Listing a store that is not there yet is an empty list, and makes nothing.
    const Run before = cli({QStringLiteral("ovens")}, xdgData);
    QCOMPARE(before.exitCode, 0);
    QCOMPARE(before.out, QByteArray());
    QCOMPARE(QFileInfo::exists(root), dataBeside);

    const QString drive = path(QStringLiteral("stick"));
    const QStringList names =
        kvaro::gen::writeDrive(drive, kvaro::gen::mixedDrive(QDate(2024, 3, 14), 2, 2, 5));
    const Run import =
        cli({QStringLiteral("import"), QStringLiteral("--drive"), drive, QStringLiteral("--json")},
            xdgData);
    QCOMPARE(import.exitCode, 0);
    const QJsonArray files = import.json().value(QStringLiteral("files")).toArray();
    QCOMPARE(files.size(), names.size());
    for (const QJsonValue& value : files) {
        const QJsonObject file = value.toObject();
        const QString stored = root + QLatin1Char('/') +
                               file.value(QStringLiteral("oven")).toString() + QLatin1Char('/') +
                               file.value(QStringLiteral("file")).toString();
        QVERIFY2(QFileInfo::exists(stored), qPrintable(stored));
    }
    // Never a new store under the install prefix.
    QCOMPARE(QFileInfo::exists(beside), dataBeside);

    const Run after = cli({QStringLiteral("ovens")}, xdgData);
    QCOMPARE(after.exitCode, 0);
    QCOMPARE(after.out, QByteArray("10230001\n10230002\n"));
}

void TestCliPlaces::textsFollowTheInstalledLayout_data()
{
    // Data.dat saying EN in the user's configuration folder, EN.dat in share/kvaro.
    QTest::addColumn<bool>("userCopy");
    QTest::addColumn<bool>("home"); // --home with a PL.dat of its own
    QTest::addColumn<QString>("message");

    QTest::newRow("share/kvaro of the installed program")
        << false << false
        << numberedText(kvaro::Text::NoControllerDrive, QStringLiteral("tekst %1"));
    QTest::newRow("the user's Data.dat")
        << true << false << numberedText(kvaro::Text::NoControllerDrive, QStringLiteral("text %1"));
    // --home names the store, not where the texts are: found as without it.
    QTest::newRow("--home: the user's Data.dat still counts")
        << true << true << numberedText(kvaro::Text::NoControllerDrive, QStringLiteral("text %1"));
    QTest::newRow("--home: the installed texts, not the store folder's")
        << false << true
        << numberedText(kvaro::Text::NoControllerDrive, QStringLiteral("tekst %1"));
}

void TestCliPlaces::textsFollowTheInstalledLayout()
{
    QFETCH(bool, userCopy);
    QFETCH(bool, home);
    QFETCH(QString, message);
    writeFile(shared() + QStringLiteral("/EN.dat"), numberedLanguage(QStringLiteral("text %1")));
    if (userCopy)
        writeFile(path(QStringLiteral("home/.config/kvaro/Data.dat")), "EN\r\n");
    QStringList arguments{QStringLiteral("import"), QStringLiteral("--drive"),
                          path(QStringLiteral("work")), QStringLiteral("--json")};
    if (home) {
        const QString folder = path(QStringLiteral("elsewhere"));
        writeFile(folder + QStringLiteral("/PL.dat"), numberedLanguage(QStringLiteral("dom %1")));
        arguments << QStringLiteral("--home") << folder;
    }
    // A folder without the marker file: nothing to import, said in the interface language.
    const Run run = cli(arguments);
    QCOMPARE(run.exitCode, 1);
    QCOMPARE(run.json().value(QStringLiteral("messages")).toArray(), QJsonArray({message}));
}

QTEST_GUILESS_MAIN(TestCliPlaces)
#include "test_cli_places.moc"
