#include "base/failure.h"
#include "store/naturalorder.h"
#include "store/settings.h"
#include "store/storepaths.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kvaro::testing::readFile;
using kvaro::testing::writeFile;

using namespace kvaro;

namespace {

} // namespace

class TestStorePaths : public QObject
{
    Q_OBJECT

private slots:
    void naturalOrder_data();
    void naturalOrder();
    void ovenListTakesEveryVisibleFolder();
    void ovenListOfMissingStoreIsEmpty();
    void cycleFilesMatchCsvInAnyCase();

    void settingsLookup_data();
    void settingsLookup();
    void languageButtonRewritesOnlyLineZero();
    void missingLanguageFileFailsNamingIt();
    void shortLanguageFileLeavesLaterTextsEmpty();
    void cycleCountWords_data();
    void cycleCountWords();
};

void TestStorePaths::naturalOrder_data()
{
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("sorted");
    QTest::newRow("numbers") << QStringList{"P10.csv", "P2.csv", "P1.csv"}
                             << QStringList{"P1.csv", "P2.csv", "P10.csv"};
    QTest::newRow("case blind") << QStringList{"p3.csv", "P2.CSV", "P1.csv"}
                                << QStringList{"P1.csv", "P2.CSV", "p3.csv"};
    QTest::newRow("leading zeros")
        << QStringList{"P010", "P9", "P0011"} << QStringList{"P9", "P010", "P0011"};
    QTest::newRow("longer than 64 bits") << QStringList{"P123456789012345678901234567890", "P99"}
                                         << QStringList{"P99", "P123456789012345678901234567890"};
    QTest::newRow("ovens") << QStringList{"1234567", "0", "012345672468"}
                           << QStringList{"0", "1234567", "012345672468"};
}

void TestStorePaths::naturalOrder()
{
    QFETCH(QStringList, names);
    QFETCH(QStringList, sorted);
    sortNaturally(names);
    QCOMPARE(names, sorted);
}

void TestStorePaths::ovenListTakesEveryVisibleFolder()
{
    QTemporaryDir home;
    const StorePaths paths(home.path());
    QDir().mkpath(paths.ovenFolder(QStringLiteral("1234567")));
    QDir().mkpath(paths.ovenFolder(QStringLiteral("0")));
    QDir().mkpath(paths.ovenFolder(QStringLiteral(".hidden")));
    writeFile(QDir(paths.storeRoot()).filePath(QStringLiteral("x.csv")), "0;1");
    // A read-only folder is still an oven: its data is there.
    QFile::setPermissions(paths.ovenFolder(QStringLiteral("1234567")),
                          QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const QStringList expected{QStringLiteral("0"), QStringLiteral("1234567")};
    QCOMPARE(listOvens(paths.storeRoot()), expected);
    QCOMPARE(listOvens(paths.storeRoot()), expected);
    QFile::setPermissions(paths.ovenFolder(QStringLiteral("1234567")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

void TestStorePaths::ovenListOfMissingStoreIsEmpty()
{
    QTemporaryDir home;
    QVERIFY(listOvens(StorePaths(home.path()).storeRoot()).isEmpty());
}

void TestStorePaths::cycleFilesMatchCsvInAnyCase()
{
    QTemporaryDir dir;
    for (const char* name : {"P10.csv", "P2.CSV", "p1.csv", "notes.txt", "P3.csv.bak"})
        writeFile(dir.filePath(QLatin1String(name)), "x");
    QDir().mkpath(dir.filePath(QStringLiteral("P4.csv")));
    QCOMPARE(listCycleFiles(dir.path()),
             (QStringList{QStringLiteral("p1.csv"), QStringLiteral("P2.CSV"),
                          QStringLiteral("P10.csv")}));
}

void TestStorePaths::settingsLookup_data()
{
    QTest::addColumn<QByteArray>("working");
    QTest::addColumn<QByteArray>("program");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("foundInWorking");
    QTest::newRow("working folder wins")
        << QByteArray("EN\r\n") << QByteArray("PL") << "EN" << true;
    QTest::newRow("program folder as fallback")
        << QByteArray() << QByteArray("EN") << "EN" << false;
    QTest::newRow("none means Polish") << QByteArray() << QByteArray() << "PL" << true;
    QTest::newRow("empty file means Polish") << QByteArray("\r\n") << QByteArray() << "PL" << true;
}

void TestStorePaths::settingsLookup()
{
    QFETCH(QByteArray, working);
    QFETCH(QByteArray, program);
    QFETCH(QString, code);
    QFETCH(bool, foundInWorking);
    QTemporaryDir work, prog;
    if (!working.isEmpty())
        writeFile(work.filePath(QStringLiteral("Data.dat")), working);
    if (!program.isEmpty())
        writeFile(prog.filePath(QStringLiteral("Data.dat")), program);
    Settings settings(work.path(), prog.path());
    settings.load();
    QCOMPARE(settings.languageCode(), code);
    // Written back where it was found; into the working folder when there was none.
    settings.setLanguageCode(QStringLiteral("XX"));
    const QString written = (foundInWorking ? work : prog).filePath(QStringLiteral("Data.dat"));
    QVERIFY(readFile(written).startsWith("XX\r\n"));
}

void TestStorePaths::languageButtonRewritesOnlyLineZero()
{
    QTemporaryDir work;
    writeFile(work.filePath(QStringLiteral("Data.dat")), "PL\nline one\nline two\n");
    Settings settings(work.path(), QString());
    settings.load();
    settings.setLanguageCode(QStringLiteral("EN"));
    QCOMPARE(readFile(work.filePath(QStringLiteral("Data.dat"))),
             QByteArray("EN\r\nline one\r\nline two\r\n"));
    Settings again(work.path(), QString());
    again.load();
    QCOMPARE(again.languageCode(), QStringLiteral("EN"));
}

void TestStorePaths::missingLanguageFileFailsNamingIt()
{
    QTemporaryDir work;
    writeFile(work.filePath(QStringLiteral("Data.dat")), "EN");
    Settings settings(work.path(), QString());
    settings.load();
    Language language(QStringList{QStringLiteral("kept")});
    try {
        settings.loadLanguage(language);
        QFAIL("a missing language file must be reported");
    } catch (const Failure& failure) {
        QVERIFY(failure.message().contains(QStringLiteral("EN.dat")));
    }
    QCOMPARE(language.text(Text::ExportTab), QStringLiteral("kept"));
}

void TestStorePaths::shortLanguageFileLeavesLaterTextsEmpty()
{
    QTemporaryDir work;
    QByteArray twenty("\xEF\xBB\xBF");
    for (int i = 0; i < 20; ++i)
        twenty += "tekst " + QByteArray::number(i) + "\r\n";
    writeFile(work.filePath(QStringLiteral("PL.dat")), twenty);
    Settings settings(work.path(), QString());
    settings.load();
    Language language;
    settings.loadLanguage(language);
    QCOMPARE(language.text(Text::HeldFor), QStringLiteral("tekst 19"));
    for (int n = 20; n <= 45; ++n)
        QCOMPARE(language.text(Text(n)), QString());
    // The lines after the specified ones never leave a message or a caption empty.
    for (int n = FirstNamedText; n <= LastNamedText; ++n)
        QVERIFY(!language.text(Text(n)).isEmpty() || language.text(Text::Cycles).isEmpty());
    QCOMPARE(language.text(Text::ImportSummary), QStringLiteral("Cycles: %1, ovens: %2"));
}

void TestStorePaths::cycleCountWords_data()
{
    QTest::addColumn<QString>("language"); // a shipped file, or "old": lines 0 to 46 only
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("footer");
    const QList<std::pair<int, const char*>> polish{
        {0, "0 cykli"},     {1, "1 cykl"},      {2, "2 cykle"},    {4, "4 cykle"},
        {5, "5 cykli"},     {11, "11 cykli"},   {12, "12 cykli"},  {14, "14 cykli"},
        {21, "21 cykli"},   {22, "22 cykle"},   {24, "24 cykle"},  {25, "25 cykli"},
        {101, "101 cykli"}, {112, "112 cykli"}, {122, "122 cykle"}};
    for (const auto& [count, footer] : polish)
        QTest::addRow("PL %d", count) << "PL.dat" << count << QString::fromUtf8(footer);
    const QList<std::pair<int, const char*>> english{
        {0, "0 cycles"}, {1, "1 cycle"}, {2, "2 cycles"}, {12, "12 cycles"}, {22, "22 cycles"}};
    for (const auto& [count, footer] : english)
        QTest::addRow("EN %d", count) << "EN.dat" << count << QString::fromUtf8(footer);
    // Without the forms a file shows what it always showed: the count and the Cycles line.
    QTest::newRow("old 1") << "old" << 1 << "1 cykli";
    QTest::newRow("old 2") << "old" << 2 << "2 cykli";
}

void TestStorePaths::cycleCountWords()
{
    QFETCH(QString, language);
    QFETCH(int, count);
    QFETCH(QString, footer);
    Language texts;
    if (language == QLatin1String("old")) {
        QStringList lines(47);
        lines[9] = QStringLiteral("cykli");
        texts = Language(lines);
    } else {
        texts.buffer().loadFile(QStringLiteral(KVARO_SOURCE_DIR "/assets/") + language);
    }
    QCOMPARE(texts.cycleCount(count), footer);
}

QTEST_GUILESS_MAIN(TestStorePaths)
#include "test_storepaths.moc"
