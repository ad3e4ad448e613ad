#include "base/failure.h"
#include "store/places.h"
#include "store/settings.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <optional>

#include <unistd.h>

using kvaro::testing::readFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace {

// An installed program's tree and a user's folders in one temporary folder:
//   pfx/bin (the program folder), pfx/share/kvaro, work (the working folder),
//   home (HOME), xdg-data, xdg-config.
struct Machine {
    QTemporaryDir root;

    QString path(const QString& relative) const
    {
        return relative.isEmpty() ? QString() : QDir::cleanPath(root.filePath(relative));
    }
    QString program() const { return path(QStringLiteral("pfx/bin")); }
    QString shared() const { return path(QStringLiteral("pfx/share/kvaro")); }
    QString work() const { return path(QStringLiteral("work")); }
    QString config() const { return path(QStringLiteral("xdg-config/kvaro")); }

    // The places a test names, as in the lookup tables below.
    QString folder(const QString& place) const
    {
        if (place == QLatin1String("work"))
            return work();
        if (place == QLatin1String("program"))
            return program();
        if (place == QLatin1String("share"))
            return shared();
        if (place == QLatin1String("config"))
            return config();
        qFatal("unknown place %s", qPrintable(place));
    }

    Settings settings() const { return Settings(settingsFolders(work(), program()), config()); }
};

// Makes writing below folder fail. Permissions do that for a user; root writes through them,
// so there the folder is replaced by a plain file: every path below it then fails the same
// way for anyone. What was read before stays in memory, as after a real start.
class WriteBlock
{
public:
    explicit WriteBlock(QString folder) : m_folder(std::move(folder))
    {
        if (geteuid() != 0) {
            for (const QString& name : QDir(m_folder).entryList(QDir::Files))
                QFile::setPermissions(QDir(m_folder).filePath(name), QFileDevice::ReadOwner);
            QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        } else {
            QDir(m_folder).removeRecursively();
            writeFile(m_folder, "a file where a folder was");
        }
    }
    ~WriteBlock()
    {
        // The temporary folder must be removable again.
        if (geteuid() == 0)
            return;
        QFile::setPermissions(m_folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ExeOwner);
        for (const QString& name : QDir(m_folder).entryList(QDir::Files))
            QFile::setPermissions(QDir(m_folder).filePath(name),
                                  QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }
    WriteBlock(const WriteBlock&) = delete;
    WriteBlock& operator=(const WriteBlock&) = delete;

private:
    QString m_folder;
};

} // namespace

class TestPlaces : public QObject
{
    Q_OBJECT

private slots:
    void storeAndConfigFolders_data();
    void storeAndConfigFolders();
    void lookupOrder_data();
    void lookupOrder();
    void languageSwitchWritesWhereItCan_data();
    void languageSwitchWritesWhereItCan();
    void languageSwitchFailsWhenNothingCanBeWritten_data();
    void languageSwitchFailsWhenNothingCanBeWritten();
};

void TestPlaces::storeAndConfigFolders_data()
{
    // Paths are relative to the machine's root; "" leaves the variable unset.
    QTest::addColumn<QString>("beside");       // what is named Data in the program folder
    QTest::addColumn<bool>("readOnlyProgram"); // the program folder as an install prefix
    QTest::addColumn<QString>("xdgData");
    QTest::addColumn<QString>("xdgConfig");
    QTest::addColumn<QString>("home");
    QTest::addColumn<QString>("store");  // the folder whose Data/ is the store
    QTest::addColumn<QString>("config"); // "" for none

    QTest::newRow("a portable copy keeps its store") << "folder" << false << "xdg-data"
                                                     << "xdg-config"
                                                     << "home"
                                                     << "pfx/bin"
                                                     << "xdg-config/kvaro";
    QTest::newRow("installed: the XDG folders") << "" << false << "xdg-data"
                                                << "xdg-config"
                                                << "home"
                                                << "xdg-data/kvaro"
                                                << "xdg-config/kvaro";
    QTest::newRow("installed without XDG variables: below HOME") << "" << false << ""
                                                                 << ""
                                                                 << "home"
                                                                 << "home/.local/share/kvaro"
                                                                 << "home/.config/kvaro";
    QTest::newRow("relative XDG folders are ignored") << "" << false << "@relative/data"
                                                      << "@relative/config"
                                                      << "home"
                                                      << "home/.local/share/kvaro"
                                                      << "home/.config/kvaro";
    QTest::newRow("read-only install prefix, as root would run it") << "" << true << ""
                                                                    << ""
                                                                    << "root"
                                                                    << "root/.local/share/kvaro"
                                                                    << "root/.config/kvaro";
    QTest::newRow("a file named Data is no store") << "file" << false << "xdg-data"
                                                   << ""
                                                   << "home"
                                                   << "xdg-data/kvaro"
                                                   << "home/.config/kvaro";
    QTest::newRow("no variable at all: the program folder") << "" << false << ""
                                                            << ""
                                                            << ""
                                                            << "pfx/bin"
                                                            << "";
}

void TestPlaces::storeAndConfigFolders()
{
    QFETCH(QString, beside);
    QFETCH(bool, readOnlyProgram);
    QFETCH(QString, xdgData);
    QFETCH(QString, xdgConfig);
    QFETCH(QString, home);
    QFETCH(QString, store);
    QFETCH(QString, config);
    Machine machine;
    QDir().mkpath(machine.program());
    const QString data = QDir(machine.program()).filePath(QStringLiteral("Data"));
    const bool dataBeside = beside == QLatin1String("folder");
    if (dataBeside)
        QDir().mkpath(data);
    else if (beside == QLatin1String("file"))
        writeFile(data, "not a folder");
    // "@" marks a value given as it is, not below the machine's root.
    const auto value = [&](const QString& v) {
        return v.startsWith(QLatin1Char('@')) ? v.mid(1) : machine.path(v);
    };
    const Environment environment{value(xdgData), value(xdgConfig), value(home)};
    std::optional<WriteBlock> block;
    if (readOnlyProgram)
        block.emplace(machine.program());

    QCOMPARE(storeHome(machine.program(), environment), machine.path(store));
    QCOMPARE(configFolder(environment), machine.path(config));
    // Deciding makes nothing: the import makes the store when it first needs it.
    QCOMPARE(QFileInfo(data).isDir(), dataBeside);
    QVERIFY(!QFileInfo::exists(machine.path(store) + QStringLiteral("/Data")) || dataBeside);
}

void TestPlaces::lookupOrder_data()
{
    // Data.dat, EN.dat and PL.dat are written in each named place; line 1 of each Data.dat
    // names its place.
    QTest::addColumn<QStringList>("dataAt");
    QTest::addColumn<QStringList>("languageAt");
    QTest::addColumn<QString>("blocked");      // a place the user cannot write; "" for none
    QTest::addColumn<QString>("dataFrom");     // "" when none is found
    QTest::addColumn<QString>("languageFrom"); // "" when none is found

    const QStringList installed{"work", "program", "share"};
    const QStringList everywhere = installed + QStringList{"config"};
    QTest::newRow("working folder first") << installed << installed << ""
                                          << "work"
                                          << "work";
    QTest::newRow("program folder next")
        << QStringList{"program", "share"} << QStringList{"program", "share"} << ""
        << "program"
        << "program";
    QTest::newRow("share/kvaro of an installed program")
        << QStringList{"share"} << QStringList{"share"} << ""
        << "share"
        << "share";
    // A leftover copy of an installed kvaro must not take a portable copy's language.
    QTest::newRow("the working folder's Data.dat before the user's copy")
        << everywhere << QStringList{"share"} << ""
        << "work"
        << "share";
    QTest::newRow("the program folder's Data.dat before the user's copy")
        << QStringList{"program", "share", "config"} << QStringList{"program"} << ""
        << "program"
        << "program";
    QTest::newRow("the user's copy before share/kvaro")
        << QStringList{"share", "config"} << QStringList{"share"} << ""
        << "config"
        << "share";
    // The switch could not write it and wrote the user's copy: that choice holds.
    QTest::newRow("a Data.dat the user cannot write yields to the user's copy")
        << QStringList{"program", "share", "config"} << QStringList{"program"} << "program"
        << "config"
        << "program";
    QTest::newRow("language files are never read from the configuration folder")
        << QStringList{"config"} << QStringList{"config"} << ""
        << "config"
        << "";
    QTest::newRow("nothing anywhere") << QStringList{} << QStringList{} << ""
                                      << ""
                                      << "";
}

void TestPlaces::lookupOrder()
{
    QFETCH(QStringList, dataAt);
    QFETCH(QStringList, languageAt);
    QFETCH(QString, blocked);
    QFETCH(QString, dataFrom);
    QFETCH(QString, languageFrom);
    Machine machine;
    for (const QString& place : dataAt)
        writeFile(machine.folder(place) + QStringLiteral("/Data.dat"),
                  "EN\r\n" + place.toUtf8() + "\r\n");
    for (const QString& place : languageAt)
        writeFile(machine.folder(place) + QStringLiteral("/EN.dat"), "\xEF\xBB\xBF"
                                                                     "EN\r\n");
    // For root the blocked folder is gone altogether, and the copy wins all the same; the
    // language file is then left out of the comparison.
    std::optional<WriteBlock> block;
    if (!blocked.isEmpty())
        block.emplace(machine.folder(blocked));
    if (!languageFrom.isEmpty() &&
        !QFileInfo::exists(machine.folder(languageFrom) + QStringLiteral("/EN.dat")))
        languageFrom.clear();

    Settings settings = machine.settings();
    settings.load();
    const QString dataPath =
        dataFrom.isEmpty() ? QString() : machine.folder(dataFrom) + QStringLiteral("/Data.dat");
    QCOMPARE(settings.dataFilePath(), dataPath);
    QCOMPARE(settings.languageCode(), dataFrom.isEmpty() ? QStringLiteral("PL") : "EN");
    if (!dataFrom.isEmpty())
        QCOMPARE(settings.dataMemo().line(1), dataFrom);
    const QString languagePath = languageFrom.isEmpty()
                                     ? QString()
                                     : machine.folder(languageFrom) + QStringLiteral("/EN.dat");
    QCOMPARE(settings.languageFilePath(), languagePath);
}

void TestPlaces::languageSwitchWritesWhereItCan_data()
{
    QTest::addColumn<QString>("readFrom");  // where the only Data.dat is; "" for none
    QTest::addColumn<QString>("blocked");   // a place whose folder cannot be written; "" for none
    QTest::addColumn<QString>("writtenTo"); // where the switch writes Data.dat

    QTest::newRow("a writable Data.dat is written in place") << "program"
                                                             << ""
                                                             << "program";
    QTest::newRow("installed read-only in share/kvaro") << "share"
                                                        << "share"
                                                        << "config";
    QTest::newRow("share/kvaro writable, as it is for root") << "share"
                                                             << ""
                                                             << "config";
    QTest::newRow("a program folder the user may not write") << "program"
                                                             << "program"
                                                             << "config";
    QTest::newRow("none found and the working folder not writable") << ""
                                                                    << "work"
                                                                    << "config";
}

void TestPlaces::languageSwitchWritesWhereItCan()
{
    QFETCH(QString, readFrom);
    QFETCH(QString, blocked);
    QFETCH(QString, writtenTo);
    Machine machine;
    for (const char* place : {"work", "program", "share"})
        QDir().mkpath(machine.folder(QLatin1String(place)));
    const QByteArray installed("PL\r\nline one\r\nline two\r\n");
    if (!readFrom.isEmpty())
        writeFile(machine.folder(readFrom) + QStringLiteral("/Data.dat"), installed);

    Settings settings = machine.settings();
    settings.load();
    {
        std::optional<WriteBlock> block;
        if (!blocked.isEmpty())
            block.emplace(machine.folder(blocked));
        settings.setLanguageCode(QStringLiteral("EN"));
    }
    const QString written = machine.folder(writtenTo) + QStringLiteral("/Data.dat");
    QCOMPARE(settings.dataFilePath(), written);
    QCOMPARE(settings.languageCode(), QStringLiteral("EN"));
    // Every other line of the one that was read goes along.
    QCOMPARE(readFile(written), readFrom.isEmpty() ? QByteArray("EN\r\n")
                                                   : QByteArray("EN\r\nline one\r\nline two\r\n"));
    if (writtenTo != QLatin1String("config"))
        QVERIFY(!QFileInfo::exists(machine.config()));
    if (readFrom == QLatin1String("share") && blocked.isEmpty())
        QCOMPARE(readFile(machine.shared() + QStringLiteral("/Data.dat")), installed);
    if (!readFrom.isEmpty() && readFrom != blocked)
        return;

    // The next start, the place still not writable, reads the user's copy (even where a
    // Data.dat it could not write still stands), and a switch then writes it in place.
    {
        std::optional<WriteBlock> block;
        if (!blocked.isEmpty())
            block.emplace(machine.folder(blocked));
        Settings next = machine.settings();
        next.load();
        QCOMPARE(next.languageCode(), QStringLiteral("EN"));
        QCOMPARE(next.dataFilePath(), written);
        next.setLanguageCode(QStringLiteral("PL"));
        QVERIFY(readFile(written).startsWith("PL\r\n"));
    }

    // A Data.dat the user writes in the working folder goes before the copy.
    if (blocked == QLatin1String("work"))
        QFile::remove(machine.work()); // the file that stood in for a read-only folder
    writeFile(machine.work() + QStringLiteral("/Data.dat"), "EN\r\n");
    Settings last = machine.settings();
    last.load();
    QCOMPARE(last.languageCode(), QStringLiteral("EN"));
    QCOMPARE(last.dataFilePath(), machine.work() + QStringLiteral("/Data.dat"));
}

void TestPlaces::languageSwitchFailsWhenNothingCanBeWritten_data()
{
    QTest::addColumn<QString>("readFrom");
    QTest::addColumn<QString>("named"); // the file the message names
    // The message of the place it was read from, as before there was a second place.
    QTest::newRow("a program folder") << "program"
                                      << "program";
    // The package's default is never tried: the user's copy is the only place to write.
    QTest::newRow("share/kvaro") << "share"
                                 << "config";
}

void TestPlaces::languageSwitchFailsWhenNothingCanBeWritten()
{
    QFETCH(QString, readFrom);
    QFETCH(QString, named);
    Machine machine;
    const QString read = machine.folder(readFrom) + QStringLiteral("/Data.dat");
    writeFile(read, "PL\r\nline one\r\n");
    // The configuration folder's parent is a file: it cannot be made, not even by root.
    writeFile(machine.path(QStringLiteral("xdg-config")), "not a folder");
    Settings settings = machine.settings();
    settings.load();
    WriteBlock block(machine.folder(readFrom));
    try {
        settings.setLanguageCode(QStringLiteral("EN"));
        QFAIL("a Data.dat that cannot be written anywhere must be reported");
    } catch (const Failure& failure) {
        QVERIFY2(failure.message().contains(QStringLiteral("Data.dat")),
                 qPrintable(failure.message()));
        QCOMPARE(failure.file(), machine.folder(named) + QStringLiteral("/Data.dat"));
    }
    QCOMPARE(settings.languageCode(), QStringLiteral("PL"));
    QCOMPARE(settings.dataFilePath(), read);
}

QTEST_GUILESS_MAIN(TestPlaces)
#include "test_places.moc"
