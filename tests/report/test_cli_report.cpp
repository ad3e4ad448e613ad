#include "pdftext.h"

#include "base/failure.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kvaro::testing;

namespace {

struct Run {
    int exitCode = -1;
    QString out;
    QString err;
};

} // namespace

class TestCliReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void reportsCycleFiles();
    void reportsAnOvensListedCycles();
    void refusesAndFails_data();
    void refusesAndFails();
    void hasHelp();

private:
    Run run(const QStringList& arguments);
    QTemporaryDir m_home;
};

void TestCliReport::initTestCase()
{
    QVERIFY(m_home.isValid());
    writeFile(m_home.filePath(QStringLiteral("Data.dat")), "\xEF\xBB\xBF"
                                                           "EN\r\n");
    writeFile(m_home.filePath(QStringLiteral("EN.dat")),
              readFile(QStringLiteral(KVARO_SOURCE_DIR "/assets/EN.dat")));
    writeCycleFile(m_home.filePath(QStringLiteral("Data/PIEC1/P1.csv")), smallCycleLines());
    writeCycleFile(m_home.filePath(QStringLiteral("Data/PIEC1/P2.csv")), smallCycleLines());
    writeCycleFile(m_home.filePath(QStringLiteral("short.csv")), smallCycleLines().mid(0, 2));
}

Run TestCliReport::run(const QStringList& arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // Qt's note about a missing runtime folder would be mistaken for the command's output.
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home.path());
    process.setProcessEnvironment(environment);
    // Data.dat and the language file are looked up in the working folder first.
    process.setWorkingDirectory(m_home.path());
    QStringList line{QStringLiteral("report"), QStringLiteral("--home"), m_home.path()};
    process.start(QStringLiteral(KVARO_CLI), line + arguments);
    if (!process.waitForFinished(120000))
        return {};
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()),
            QString::fromUtf8(process.readAllStandardError())};
}

void TestCliReport::reportsCycleFiles()
{
    const QString pdf = m_home.filePath(QStringLiteral("files.pdf"));
    const Run result =
        run({m_home.filePath(QStringLiteral("Data/PIEC1/P1.csv")),
             m_home.filePath(QStringLiteral("Data/PIEC1/P2.csv")), "--stored", "--pdf", pdf});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.err.isEmpty(), qPrintable(result.err));
    // Each cycle on two pages, its sign-off on the second, counted on their own.
    QCOMPARE(pdfPages(pdf), 4);
    QVERIFY(pdfText(pdf, 1, 1).contains("Oven PIEC1 Cycle 1"));
    QVERIFY(pdfText(pdf, 3, 3).contains("Oven PIEC1 Cycle 2"));
    QVERIFY(pdfText(pdf, 3, 3).contains("Page 1 of 2"));
    QVERIFY(pdfText(pdf, 4, 4).contains("Page 2 of 2"));

    // A file picked from anywhere names no oven.
    const QString picked = m_home.filePath(QStringLiteral("picked.pdf"));
    QCOMPARE(run({m_home.filePath(QStringLiteral("Data/PIEC1/P1.csv")), "--pdf", picked}).exitCode,
             0);
    QVERIFY(pdfText(picked).contains("File P1.csv"));
}

void TestCliReport::reportsAnOvensListedCycles()
{
    const QString pdf = m_home.filePath(QStringLiteral("batch.pdf"));
    const Run result = run({"--oven", "PIEC1", "--from", "2024-05-01", "--to", "2024-05-31",
                            "--today", "2024-05-20", "--pdf", pdf});
    QCOMPARE(result.exitCode, 0);
    QVERIFY2(result.err.isEmpty(), qPrintable(result.err));
    QCOMPARE(pdfPages(pdf), 5);
    const QString cover = pdfText(pdf, 1, 1);
    QVERIFY2(cover.contains("Batch report: oven PIEC1, 2024-05-01 – 2024-05-31"),
             qPrintable(cover));
    QVERIFY(cover.contains("Total 5.500 kg"));

    // A range without cycles writes nothing and says so.
    const QString empty = m_home.filePath(QStringLiteral("empty.pdf"));
    const Run none =
        run({"--oven", "PIEC1", "--from", "2024-04-01", "--to", "2024-04-02", "--pdf", empty});
    QCOMPARE(none.exitCode, 1);
    QCOMPARE(none.err, QStringLiteral("Oven PIEC1 has no cycles from 2024-04-01 to 2024-04-02: "
                                      "nothing was written.\n"));
    QVERIFY(!QFile::exists(empty));
}

void TestCliReport::refusesAndFails_data()
{
    const QString usage =
        "usage: kvaro-cli report FILE... [--stored] --pdf OUT.pdf | report --oven OVEN "
        "[--from YYYY-MM-DD] [--to YYYY-MM-DD] [--today YYYY-MM-DD] --pdf OUT.pdf\n";
    const QString out = m_home.filePath(QStringLiteral("refused.pdf"));
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("error");
    QTest::newRow("no --pdf") << QStringList{"x.csv"} << 2
                              << "report needs --pdf OUT.pdf\n" + usage;
    QTest::newRow("nothing to report")
        << QStringList{"--pdf", out} << 2 << "report needs cycle files or --oven\n" + usage;
    QTest::newRow("files and an oven")
        << QStringList{"x.csv", "--oven", "PIEC1", "--pdf", out} << 2
        << "report takes either cycle files or --oven, not both\n" + usage;
    QTest::newRow("bad date") << QStringList{"--oven", "PIEC1", "--from", "1.5.2024", "--pdf", out}
                              << 2 << "not a date YYYY-MM-DD: 1.5.2024\n" + usage;
    QTest::newRow("unknown oven") << QStringList{"--oven", "nope", "--pdf", out} << 1
                                  << "no oven \"nope\" in " +
                                         m_home.filePath(QStringLiteral("Data")) + "\n";
    QTest::newRow("file too short")
        << QStringList{m_home.filePath(QStringLiteral("short.csv")), "--pdf", out} << 1
        << kvaro::Failure(shippedLanguage("EN.dat").text(kvaro::Text::NotDrawable),
                          m_home.filePath(QStringLiteral("short.csv")))
                   .message() +
               "\n";
    // The whole path and the system's reason, in the interface language.
    QTest::newRow("unwritable pdf")
        << QStringList{m_home.filePath(QStringLiteral("Data/PIEC1/P1.csv")), "--pdf",
                       m_home.filePath(QStringLiteral("no/such/r.pdf"))}
        << 1
        << "Cannot write " + m_home.filePath(QStringLiteral("no/such/r.pdf")) +
               ": No such file or directory\n";
    QTest::newRow("unwritable batch")
        << QStringList{"--oven", "PIEC1",
                       "--from", "2024-05-01",
                       "--to",   "2024-05-31",
                       "--pdf",  m_home.filePath(QStringLiteral("no/such/b.pdf"))}
        << 1
        << "Cannot write " + m_home.filePath(QStringLiteral("no/such/b.pdf")) +
               ": No such file or directory\n";
}

void TestCliReport::refusesAndFails()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, error);
    const Run result = run(arguments);
    QCOMPARE(result.exitCode, exitCode);
    QCOMPARE(result.err, error);
    QVERIFY(!QFile::exists(m_home.filePath(QStringLiteral("refused.pdf"))));
}

void TestCliReport::hasHelp()
{
    const Run result = run({"--help"});
    QCOMPARE(result.exitCode, 0);
    for (const char* option : {"--pdf", "--stored", "--oven", "--from", "--to", "--today"})
        QVERIFY2(result.out.contains(QLatin1String(option)), qPrintable(result.out));
}

QTEST_MAIN(TestCliReport)
#include "test_cli_report.moc"
