// kvaro-cli export run as a real process on small files written by the test, with a
// language file whose text N reads "LN".
#include "tests/chart/cyclefixture.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kvaro;
using namespace kvaro::test;

namespace {

struct Run {
    int status = -1;
    QString stdOut;
    QString stdErr;
};

} // namespace

class TestCliExport : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_dir;

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString write(const QString& name, const QStringList& lines)
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(lines.join(QStringLiteral("\r\n")).toUtf8() + "\r\n");
        return file.fileName();
    }

    static QByteArray read(const QString& file)
    {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // locale: the LC_ALL the program runs under.
    Run run(const QStringList& arguments, const QString& locale = QStringLiteral("C.UTF-8"))
    {
        return runCli(QStringList{"export", "--home", m_dir.path()} + arguments, locale);
    }
    Run runCli(const QStringList& arguments, const QString& locale = QStringLiteral("C.UTF-8"))
    {
        QProcess process;
        process.setWorkingDirectory(m_dir.path());
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("LC_ALL"), locale);
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(KVARO_CLI), arguments);
        Run result;
        if (!process.waitForFinished(30000))
            return result;
        result.status = process.exitCode();
        result.stdOut = QString::fromUtf8(process.readAllStandardOutput());
        result.stdErr = QString::fromUtf8(process.readAllStandardError());
        return result;
    }

    static QString text(Text name) { return QStringLiteral("L%1").arg(int(name)); }

private slots:
    void initTestCase()
    {
        QVERIFY(m_dir.isValid());
        QStringList texts;
        for (int n = 0; n <= LastNamedText; ++n)
            texts.append(QStringLiteral("L%1").arg(n));
        QVERIFY(!write(QStringLiteral("EN.dat"), texts).isEmpty());
        QVERIFY(!write(QStringLiteral("Data.dat"), {QStringLiteral("EN")}).isEmpty());
    }

    // The locale picks the decimal separator and with it the field separator; the header
    // comes from the language file.
    void writesTheTable_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QByteArray>("separator");
        QTest::addColumn<QByteArray>("t1");
        QTest::newRow("point locale") << "C.UTF-8" << QByteArray(",") << QByteArray("20.5");
        QTest::newRow("comma locale") << "pl_PL.UTF-8" << QByteArray(";") << QByteArray("20,5");
    }
    void writesTheTable()
    {
        QFETCH(QString, locale);
        QFETCH(QByteArray, separator);
        QFETCH(QByteArray, t1);
        QList<Rec> list = records(3);
        list[1].t1 = QStringLiteral("20.5");
        const QString file = write(QStringLiteral("P1.csv"), cycle(list).lines());
        const QString csv = path(QStringLiteral("P1-table.csv"));
        QFile::remove(csv);
        const Run r = run({file, QStringLiteral("--csv"), csv}, locale);
        QCOMPARE(r.status, 0);
        QVERIFY2(r.stdErr.isEmpty(), qPrintable(r.stdErr));
        QVERIFY2(r.stdOut.contains(QStringLiteral(": 3 records")), qPrintable(r.stdOut));
        const QByteArray bytes = read(csv);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QByteArray> rows = bytes.mid(3).split('\n');
        QCOMPARE(rows.size(), 5); // four rows, each ended by CR LF
        const QList<QByteArray> header = rows.at(0).chopped(1).split(separator.at(0));
        QCOMPARE(header.size(), 15);
        QCOMPARE(QString::fromUtf8(header.at(0)), text(Text::CsvClockTime));
        QCOMPARE(QString::fromUtf8(header.at(7)), text(Text::CursorFuelUsed));
        QCOMPARE(QString::fromUtf8(header.at(14)), text(Text::CsvEvent));
        const QList<QByteArray> second = rows.at(2).chopped(1).split(separator.at(0));
        QCOMPARE(second.at(0), QByteArray("10:00:01"));
        QCOMPARE(second.at(2), t1);
    }

    // A controller file with "," between its fields reads as a cycle once normalised; taken
    // as a stored copy, it is none.
    void storedCopiesAreNotNormalised()
    {
        QStringList lines = cycle(records(3)).lines();
        lines.replaceInStrings(QStringLiteral(";"), QStringLiteral(","));
        const QString file = write(QStringLiteral("P4.csv"), lines);
        const QString csv = path(QStringLiteral("P4-table.csv"));
        QCOMPARE(run({file, QStringLiteral("--csv"), csv}).status, 0);
        QFile::remove(csv);
        const Run stored = run({file, QStringLiteral("--stored"), QStringLiteral("--csv"), csv});
        QCOMPARE(stored.status, 1);
        QVERIFY2(stored.stdErr.contains(QStringLiteral("P4.csv, line 2")),
                 qPrintable(stored.stdErr));
        QVERIFY(!QFile::exists(csv));
    }

    // A file the chart cannot draw, or a table that cannot be written: status 1, the
    // reason on standard error, and no table left behind.
    void failures_data()
    {
        QTest::addColumn<QStringList>("lines"); // empty: the file does not exist
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("message");
        const QStringList good = cycle(records(3)).lines();
        QStringList bad = good;
        bad[2].replace(QStringLiteral("0;20;20;"), QStringLiteral("0;2x;20;"));
        QTest::newRow("a field that does not convert")
            << bad << "P9.csv.csv"
            << "'2x' is not a valid floating point value\nP9.csv, line 3";
        QTest::newRow("two lines") << good.mid(0, 2) << "P9.csv.csv" << text(Text::NotDrawable);
        QTest::newRow("heating type 7")
            << cycle(records(3, QStringLiteral("7"))).lines() << "P9.csv.csv"
            << text(Text::NotDrawable) + QStringLiteral("\nP9.csv, line 2");
        QTest::newRow("no such file") << QStringList() << "P9.csv.csv"
                                      << "P9.csv";
        // Worded by the interface language's line.
        QTest::newRow("no such folder for the table")
            << good << "missing/P9.csv" << text(Text::CannotWrite);
    }
    void failures()
    {
        QFETCH(QStringList, lines);
        QFETCH(QString, out);
        QFETCH(QString, message);
        QString file = path(QStringLiteral("P9.csv"));
        QFile::remove(file);
        if (!lines.isEmpty())
            QCOMPARE(write(QStringLiteral("P9.csv"), lines), file);
        const QString csv = path(out);
        const Run r = run({file, QStringLiteral("--csv"), csv});
        QCOMPARE(r.status, 1);
        QVERIFY2(r.stdErr.contains(message), qPrintable(r.stdErr));
        QVERIFY(r.stdOut.isEmpty());
        QVERIFY(!QFile::exists(csv));
    }

    void badArguments_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("error"); // the line above the usage line
        QTest::newRow("no file") << QStringList{"--csv", "a.csv"} << "export needs a cycle file";
        QTest::newRow("no table") << QStringList{"P1.csv"} << "export needs --csv OUT.csv";
        QTest::newRow("table without a name")
            << QStringList{"P1.csv", "--csv"} << "--csv needs a value";
        QTest::newRow("two files")
            << QStringList{"P1.csv", "P2.csv", "--csv", "a.csv"} << "unexpected argument P2.csv";
        QTest::newRow("unknown option")
            << QStringList{"P1.csv", "--csv", "a.csv", "--json"} << "unexpected argument --json";
    }
    void badArguments()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, error);
        const Run r = run(arguments);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.stdErr.startsWith(error + QLatin1Char('\n')), qPrintable(r.stdErr));
        QVERIFY(r.stdErr.contains(QStringLiteral("usage: kvaro-cli export FILE --csv OUT.csv")));
        QVERIFY(!QFile::exists(path(QStringLiteral("a.csv"))));
    }

    void help()
    {
        const Run r = run({QStringLiteral("--help")});
        QCOMPARE(r.status, 0);
        QVERIFY(r.stdOut.startsWith(QStringLiteral("usage: kvaro-cli export FILE --csv OUT.csv")));
        QVERIFY(r.stdOut.contains(QStringLiteral("--stored")));
        // The list of every command names it.
        QVERIFY(runCli({QStringLiteral("--help")})
                    .stdOut.contains(QStringLiteral("\n  export FILE --csv OUT.csv [--stored]\n")));
    }
};

QTEST_GUILESS_MAIN(TestCliExport)
#include "test_cli_export.moc"
