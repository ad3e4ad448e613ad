#include "base/failure.h"
#include "base/linebuffer.h"
#include "cycles/cycleformat.h"
#include "cycles/fields.h"
#include "tools/cyclegen.h"

#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace kvaro;
using gen::CycleSpec;

Q_DECLARE_METATYPE(kvaro::gen::CycleSpec)

namespace {

// The file as the import sees it: the lower-casing cycle buffer, normalised for `separator`.
LineBuffer load(const QByteArray& bytes, QChar separator = QLatin1Char('.'))
{
    LineBuffer buffer(LineBuffer::Case::Lower);
    buffer.loadBytes(bytes, QStringLiteral("P1.csv"));
    normalise(buffer, separator);
    return buffer;
}

Record record(const LineBuffer& buffer, int line)
{
    return Record(buffer.line(line), buffer.fileName(), line);
}

// How the import names an oven from the first record: the 4th then the 2nd character of
// fields 75..78 when they have 3 or more, likewise for 79..82 or else their 2nd alone.
QString ovenName(const Record& first)
{
    if (first.size() < field::OvenIdRecordSize)
        return QStringLiteral("0");
    QString name;
    for (int f = field::OvenIdFirst; f <= field::OvenIdLast; ++f) {
        const QString& text = first.field(f);
        if (text.size() >= 3)
            name += text.mid(3, 1) + text.mid(1, 1);
        else if (f >= field::OvenIdFirst + 4)
            name += text.mid(1, 1);
    }
    return name.size() < 7 ? QStringLiteral("0") : name;
}

int secondsOfDay(const QDateTime& start, int elapsed)
{
    return (start.time().msecsSinceStartOfDay() / 1000 + elapsed) % 86400;
}

CycleSpec spec(int type, int burners, int duration = 3600, int period = 30)
{
    CycleSpec s;
    s.heatingType = type;
    s.burnerCount = burners;
    s.durationSeconds = duration;
    s.samplePeriodSeconds = period;
    return s;
}

} // namespace

class TestCycleGen : public QObject
{
    Q_OBJECT

private slots:
    void everyLineReadsBack_data();
    void everyLineReadsBack();
    void curvesAreBelievable_data();
    void curvesAreBelievable();
    void timesWrapAtMidnight();
    void sameSeedSameBytes();
    void encodings_data();
    void encodings();
    void ovenNameFromIdentifierFields_data();
    void ovenNameFromIdentifierFields();
    void ovenIdentifierOfImpossibleLengthFails();
    void demoDrive();
    void mixedDrive();
    void commandLine_data();
    void commandLine();
};

void TestCycleGen::everyLineReadsBack_data()
{
    QTest::addColumn<CycleSpec>("spec");
    QTest::addColumn<QChar>("separator");

    CycleSpec regulated = spec(heating::Gas, 2);
    regulated.powerRegulation = true;
    regulated.powerRegulationLevel = 65;
    regulated.secondChannel = true;
    regulated.airing = true;
    CycleSpec electric = spec(heating::Electric, 4, 7200, 60);
    electric.powerRegulation = true;
    electric.powerRegulationLevel = 40;
    electric.secondChannel = true;
    CycleSpec noDate = spec(heating::Oil, 1, 600, 7);
    noDate.start = QDateTime();
    CycleSpec fractional = spec(heating::Gas2, 3, 900, 10);
    fractional.setTemperature = 182.5;
    fractional.programmedMinutes = 5;
    fractional.programmedSeconds = 7;

    QTest::newRow("oil, two burners") << spec(heating::Oil, 2) << QChar(u'.');
    QTest::newRow("oil, two burners, decimal comma") << spec(heating::Oil, 2) << QChar(u',');
    QTest::newRow("oil, no burner") << spec(heating::Oil, 0) << QChar(u'.');
    QTest::newRow("gas, regulated, second channel") << regulated << QChar(u',');
    QTest::newRow("gas 2, eight burners") << spec(heating::Gas2, 8, 5400, 15) << QChar(u'.');
    QTest::newRow("electric, regulated") << electric << QChar(u'.');
    QTest::newRow("period not dividing the duration") << noDate << QChar(u'.');
    QTest::newRow("fractional set temperature") << fractional << QChar(u',');
    QTest::newRow("zero duration") << spec(heating::Oil, 2, 0, 10) << QChar(u'.');
}

void TestCycleGen::everyLineReadsBack()
{
    QFETCH(CycleSpec, spec);
    QFETCH(QChar, separator);
    const LineBuffer buffer = load(gen::writeCycle(spec), separator);
    const bool electric = spec.heatingType == heating::Electric;

    QCOMPARE(buffer.count(), spec.durationSeconds / spec.samplePeriodSeconds + 4);
    QCOMPARE(buffer.count(), gen::sampleCount(spec) + 3);
    QVERIFY(!record(buffer, 0).isRecordLine());
    QVERIFY(record(buffer, 0).size() >= 5);

    const Record first = record(buffer, 1);
    QVERIFY(first.size() >= field::OvenIdRecordSize);
    QCOMPARE(first.decimal(field::SetTemperature), spec.setTemperature);
    QCOMPARE(first.integer(field::BurnerCount), electric ? 0 : spec.burnerCount);
    const int programmed =
        first.integer(field::ProgrammedMinutes) * 60 + first.integer(field::ProgrammedSeconds);
    if (spec.programmedMinutes >= 0)
        QCOMPARE(programmed, spec.programmedMinutes * 60 + spec.programmedSeconds);
    else
        QVERIFY(programmed > 0 || spec.durationSeconds == 0);
    const QDate date = spec.start.date();
    QCOMPARE(first.integer(field::StartYear), date.isValid() ? date.year() % 100 : 0);
    QCOMPARE(first.integer(field::StartMonth), date.isValid() ? date.month() : 0);
    QCOMPARE(first.integer(field::StartDay), date.isValid() ? date.day() : 0);
    QCOMPARE(first.flag(field::SecondChannelOption), spec.secondChannel);
    QCOMPARE(first.flag(field::AiringOption), spec.airing);
    QCOMPARE(first.flag(field::PowerRegulationOption), spec.powerRegulation);
    if (spec.powerRegulation)
        QCOMPARE(first.integer(field::PowerRegulationLevel), spec.powerRegulationLevel);

    const int last = buffer.count() - 1;
    for (int i = 1; i <= last; ++i) {
        const Record r = record(buffer, i);
        QVERIFY2(r.isRecordLine(), qPrintable(buffer.line(i)));
        QVERIFY(r.size() >= field::OvenIdRecordSize);
        QCOMPARE(r.integer(field::HeatingType), spec.heatingType);
        for (int f : {field::T1, field::T2, field::WorkingTemperature, field::Fuel})
            r.decimal(f);
        r.integer(field::ProbeCount);
        for (int b = 0; b < field::MaxBurners; ++b) {
            if (electric && field::burnerEvent(b) == field::Energy)
                continue;
            const int code = r.integer(field::burnerEvent(b));
            QVERIFY(code >= 0 && code <= 7);
            if (b >= spec.burnerCount)
                QCOMPARE(code, 0);
        }
        if (electric) {
            r.decimal(field::Energy);
            r.decimal(field::Power);
        } else {
            for (int b = 0; b < spec.burnerCount; ++b)
                r.decimal(field::burnerTemperature(b));
        }
        for (int f : {field::OutputBurner1, field::OutputFan, field::OutputAiring,
                      field::OutputBurner2, field::OutputFan2})
            QVERIFY(r.is(f, QStringLiteral("1")) || r.is(f, QStringLiteral("0")));
        const int elapsed =
            i < last - 1 ? (i - 1) * spec.samplePeriodSeconds : spec.durationSeconds;
        QCOMPARE(r.timeOfDay(), secondsOfDay(spec.start, elapsed));
    }
}

void TestCycleGen::curvesAreBelievable_data()
{
    QTest::addColumn<CycleSpec>("spec");
    CycleSpec cold = spec(heating::Gas, 2, 7200, 20);
    cold.reachSetTemperature = false;
    CycleSpec electric = spec(heating::Electric, 0, 7200, 20);
    electric.secondChannel = true;
    electric.airing = true;
    QTest::newRow("oil, one burner") << spec(heating::Oil, 1, 7200, 20);
    QTest::newRow("gas, eight burners") << spec(heating::Gas2, 8, 7200, 20);
    QTest::newRow("never reaches the set temperature") << cold;
    QTest::newRow("electric, second channel, airing") << electric;
}

void TestCycleGen::curvesAreBelievable()
{
    QFETCH(CycleSpec, spec);
    const LineBuffer buffer = load(gen::writeCycle(spec));
    const bool electric = spec.heatingType == heating::Electric;
    const int drawn = buffer.count() - 3; // lines 1 .. count - 3

    double hottest = 0;
    double consumed = 0;
    int events = 0;
    int zeroEvents = 0;
    QSet<QString> flagsSeen[36];
    for (int i = 1; i <= drawn; ++i) {
        const Record r = record(buffer, i);
        QVERIFY(std::abs(r.decimal(field::T1) - r.decimal(field::T2)) < 5);
        hottest = std::max(hottest, r.decimal(field::WorkingTemperature));
        const double used = r.decimal(electric ? field::Energy : field::Fuel);
        QVERIFY2(used >= consumed, "consumption never falls");
        consumed = used;
        for (int b = 0; b < (electric ? 0 : spec.burnerCount); ++b)
            (r.integer(field::burnerEvent(b)) == 0 ? zeroEvents : events)++;
        for (int f : {field::OutputBurner1, field::OutputFan, field::OutputAiring,
                      field::OutputBurner2, field::OutputFan2})
            flagsSeen[f].insert(r.field(f));
    }
    // Heated up, then cooled well down by the end.
    const double end = record(buffer, drawn).decimal(field::WorkingTemperature);
    if (spec.reachSetTemperature)
        QVERIFY(hottest >= spec.setTemperature);
    else
        QVERIFY(hottest < spec.setTemperature - 5);
    QVERIFY(end < hottest - 30);

    QVERIFY(consumed > 0);
    const Record closing = record(buffer, buffer.count() - 1);
    QCOMPARE(closing.decimal(electric ? field::Energy : field::Fuel), consumed);

    if (!electric) {
        QVERIFY(events > 2);
        QVERIFY2(zeroEvents > 5 * events, "events are rare");
    }
    // Outputs switch on and off during a cycle.
    QCOMPARE(flagsSeen[field::OutputBurner1].size(), 2);
    QCOMPARE(flagsSeen[field::OutputFan].size(), 2);
    QCOMPARE(flagsSeen[field::OutputBurner2].size(),
             (spec.burnerCount > 1 || spec.secondChannel) ? 2 : 1);
    QCOMPARE(flagsSeen[field::OutputAiring].size(), spec.airing ? 2 : 1);
    QCOMPARE(flagsSeen[field::OutputFan2].size(), spec.secondChannel ? 2 : 1);
}

void TestCycleGen::timesWrapAtMidnight()
{
    CycleSpec s = spec(heating::Oil, 2, 1200, 60);
    s.start = QDateTime(QDate(2024, 12, 31), QTime(23, 50, 0));
    const LineBuffer buffer = load(gen::writeCycle(s));
    QStringList times;
    for (int i = 9; i <= 12; ++i) {
        const Record r = record(buffer, i);
        times << QStringLiteral("%1:%2:%3")
                     .arg(r.field(field::Hour), r.field(field::Minute), r.field(field::Second));
    }
    QCOMPARE(times, QStringList({"23:58:0", "23:59:0", "0:0:0", "0:1:0"}));
    QCOMPARE(record(buffer, buffer.count() - 1).timeOfDay(), 10 * 60);
    // The start date stays the day the cycle began.
    QCOMPARE(record(buffer, 1).integer(field::StartDay), 31);
}

void TestCycleGen::sameSeedSameBytes()
{
    CycleSpec s = spec(heating::Gas, 3, 7200, 10);
    const QByteArray once = gen::writeCycle(s);
    QCOMPARE(gen::writeCycle(s), once);
    s.seed = 2;
    const QByteArray other = gen::writeCycle(s);
    QVERIFY(other != once);
    QCOMPARE(other.count('\n'), once.count('\n'));
}

void TestCycleGen::encodings_data()
{
    QTest::addColumn<int>("encoding");
    QTest::addColumn<QByteArray>("bom");
    QTest::addColumn<int>("detected");
    QTest::addColumn<bool>("finalLineBreak");
    QTest::newRow("plain") << int(gen::Encoding::Plain) << QByteArray()
                           << int(LineBuffer::Encoding::Locale) << true;
    QTest::newRow("plain, no final break")
        << int(gen::Encoding::Plain) << QByteArray() << int(LineBuffer::Encoding::Locale) << false;
    QTest::newRow("utf-8") << int(gen::Encoding::Utf8Bom) << QByteArray("\xEF\xBB\xBF")
                           << int(LineBuffer::Encoding::Utf8) << true;
    QTest::newRow("utf-16") << int(gen::Encoding::Utf16LeBom) << QByteArray("\xFF\xFE")
                            << int(LineBuffer::Encoding::Utf16LE) << true;
    QTest::newRow("utf-16, no final break")
        << int(gen::Encoding::Utf16LeBom) << QByteArray("\xFF\xFE")
        << int(LineBuffer::Encoding::Utf16LE) << false;
}

void TestCycleGen::encodings()
{
    QFETCH(int, encoding);
    QFETCH(QByteArray, bom);
    QFETCH(int, detected);
    QFETCH(bool, finalLineBreak);
    CycleSpec s = spec(heating::Oil, 2, 600, 10);
    const QString plainText = LineBuffer::decode(gen::writeCycle(s));
    s.encoding = gen::Encoding(encoding);
    s.finalLineBreak = finalLineBreak;
    const QByteArray bytes = gen::writeCycle(s);

    QVERIFY(bytes.startsWith(bom));
    QCOMPARE(bytes.at(bom.size()), 'T'); // one mark, then the header
    QCOMPARE(int(LineBuffer::detectEncoding(bytes)), detected);
    const QString text = LineBuffer::decode(bytes);
    QCOMPARE(text.endsWith(QStringLiteral("\r\n")), finalLineBreak);
    QCOMPARE(finalLineBreak ? text : text + QStringLiteral("\r\n"), plainText);
    QCOMPARE(load(bytes).count(), gen::sampleCount(s) + 3);
}

void TestCycleGen::ovenNameFromIdentifierFields_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("shortFields"); // fields 79..82 written with two characters
    QTest::newRow("seven") << "1234567" << 3;
    QTest::newRow("eight") << "10230001" << 4;
    QTest::newRow("twelve, like a controller") << "012345672468" << 4;
    QTest::newRow("thirteen") << "0123456789012" << 3;
    QTest::newRow("sixteen") << "9876543210123456" << 0;
    QTest::newRow("letters and signs") << "kvaro-01" << 4;
}

void TestCycleGen::ovenNameFromIdentifierFields()
{
    QFETCH(QString, name);
    QFETCH(int, shortFields);
    const QStringList fields = gen::ovenIdFields(name);
    QCOMPARE(fields.size(), 8);
    int twoCharacters = 0;
    for (int i = 4; i < 8; ++i)
        twoCharacters += fields.at(i).size() == 2 ? 1 : 0;
    QCOMPARE(twoCharacters, shortFields);

    CycleSpec s = spec(heating::Gas, 1, 60, 10);
    s.ovenId = fields;
    QCOMPARE(ovenName(record(load(gen::writeCycle(s)), 1)), name);
}

void TestCycleGen::ovenIdentifierOfImpossibleLengthFails()
{
    QVERIFY_THROWS_EXCEPTION(Failure, gen::ovenIdFields(QStringLiteral("123")));
    QVERIFY_THROWS_EXCEPTION(Failure, gen::ovenIdFields(QStringLiteral("12345678901234567")));
    // The derivation used above agrees with the controller's own example.
    QStringList fields(75, QStringLiteral("0"));
    fields << QStringList{"3130", "3332", "3534", "3736", "12", "34", "56", "78"};
    QCOMPARE(ovenName(Record(fields, {}, 1)), QStringLiteral("012345672468"));
}

void TestCycleGen::demoDrive()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QDate today(2024, 5, 10);
    const QString folder = dir.filePath(QStringLiteral("drive"));
    const QStringList written = gen::writeDrive(folder, gen::demoDrive(today));

    QVERIFY(QFile::exists(QDir(folder).filePath(QStringLiteral("Kvaro.lerta"))));
    QCOMPARE(written.size(), 20);
    QStringList expected;
    for (int n = 1; n <= 20; ++n)
        expected << gen::cycleFileName(n);
    QCOMPARE(written, expected);
    QCOMPARE(QDir(folder).entryList({QStringLiteral("*.csv")}, QDir::Files).size(), 20);

    QMap<QString, QSet<int>> ovens; // name -> heating types
    QMap<QString, QSet<int>> burners;
    int todays = 0;
    int pastMidnight = 0;
    bool regulated = false;
    bool secondChannel = false;
    for (const QString& name : written) {
        LineBuffer buffer(LineBuffer::Case::Lower);
        buffer.loadFile(QDir(folder).filePath(name));
        normalise(buffer, QLatin1Char('.'));
        const Record first = record(buffer, 1);
        const Record end = record(buffer, buffer.count() - 1);
        const QString oven = ovenName(first);
        ovens[oven] << first.integer(field::HeatingType);
        burners[oven] << first.integer(field::BurnerCount);
        const QDate date(2000 + first.integer(field::StartYear), first.integer(field::StartMonth),
                         first.integer(field::StartDay));
        QVERIFY(date >= today.addDays(-6) && date <= today);
        todays += date == today ? 1 : 0;
        pastMidnight += end.timeOfDay() < first.timeOfDay() ? 1 : 0;
        regulated |= first.flag(field::PowerRegulationOption);
        secondChannel |= first.flag(field::SecondChannelOption);
    }
    QCOMPARE(ovens.size(), 3);
    QCOMPARE(ovens.value(QStringLiteral("10230001")), QSet<int>{heating::Oil});
    QCOMPARE(burners.value(QStringLiteral("10230001")), QSet<int>{2});
    QCOMPARE(ovens.value(QStringLiteral("10230002")), QSet<int>{heating::Gas});
    QCOMPARE(ovens.value(QStringLiteral("10230003")), QSet<int>{heating::Electric});
    QVERIFY(regulated && secondChannel);
    QVERIFY(todays >= 2);
    QCOMPARE(pastMidnight, 1);

    // The same drive again: the same bytes.
    const QString again = dir.filePath(QStringLiteral("again"));
    gen::writeDrive(again, gen::demoDrive(today));
    for (const QString& name : written) {
        QFile a(QDir(folder).filePath(name)), b(QDir(again).filePath(name));
        QVERIFY(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
        QVERIFY2(a.readAll() == b.readAll(), qPrintable(name));
    }
}

void TestCycleGen::mixedDrive()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    gen::DriveSpec spec = gen::mixedDrive(QDate(2023, 1, 3), 5, 4, 9);
    spec.firstNumber = 100;
    const QStringList written = gen::writeDrive(dir.path(), spec);
    QCOMPARE(written.size(), 20);
    QCOMPARE(written.first(), QStringLiteral("P100.csv"));
    QCOMPARE(written.last(), QStringLiteral("P119.csv"));
    QVERIFY(QFile::exists(QDir(dir.path()).filePath(QStringLiteral("Kvaro.lerta"))));
    QSet<QString> names;
    QSet<int> types;
    for (const QString& name : written) {
        LineBuffer buffer(LineBuffer::Case::Lower);
        buffer.loadFile(QDir(dir.path()).filePath(name));
        normalise(buffer, QLatin1Char('.'));
        const Record first = record(buffer, 1);
        names << ovenName(first);
        types << first.integer(field::HeatingType);
    }
    QCOMPARE(names.size(), 5);
    QVERIFY(!names.contains(QStringLiteral("0")));
    QCOMPARE(types, (QSet<int>{0, 1, 2, 3}));
}

void TestCycleGen::commandLine_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<int>("lines"); // of OUT for a cycle, -1 otherwise
    QTest::newRow("nothing") << QStringList{} << 2 << -1;
    QTest::newRow("unknown command") << QStringList{"bake", "OUT"} << 2 << -1;
    QTest::newRow("cycle without target") << QStringList{"cycle"} << 2 << -1;
    QTest::newRow("unknown option") << QStringList{"cycle", "OUT", "--colour", "red"} << 2 << -1;
    QTest::newRow("type out of range") << QStringList{"cycle", "OUT", "--type", "4"} << 2 << -1;
    QTest::newRow("option without value") << QStringList{"cycle", "OUT", "--seed"} << 2 << -1;
    QTest::newRow("duration and records")
        << QStringList{"cycle", "OUT", "--duration", "60", "--records", "5"} << 2 << -1;
    QTest::newRow("bad start") << QStringList{"cycle", "OUT", "--start", "2024-02-30 10:00:00"} << 2
                               << -1;
    QTest::newRow("bad encoding") << QStringList{"cycle", "OUT", "--encoding", "latin2"} << 2 << -1;
    QTest::newRow("bad today") << QStringList{"drive", "OUT", "--today", "10.05.2024"} << 2 << -1;
    QTest::newRow("records") << QStringList{"cycle",  "OUT", "--records", "50",
                                            "--type", "3",   "--period",  "5"}
                             << 0 << 53;
    QTest::newRow("duration across midnight")
        << QStringList{"cycle",      "OUT",   "--duration", "600",
                       "--period",   "60",    "--start",    "2024-01-01 23:55:00",
                       "--encoding", "utf16", "--oven",     "55501234"}
        << 0 << 14;
    QTest::newRow("drive") << QStringList{"drive",    "OUT", "--ovens", "2",
                                          "--cycles", "2",   "--today", "2024-05-10"}
                           << 0 << -1;
    // Help goes to standard output; an option is never taken for the file to write.
    QTest::newRow("help") << QStringList{"--help"} << 0 << -1;
    QTest::newRow("help, short") << QStringList{"-h"} << 0 << -1;
    QTest::newRow("help of cycle") << QStringList{"cycle", "--help"} << 0 << -1;
    QTest::newRow("help of drive after its target")
        << QStringList{"drive", "OUT", "--demo", "--help"} << 0 << -1;
    QTest::newRow("option where the target belongs")
        << QStringList{"cycle", "--type", "3"} << 2 << -1;
    QTest::newRow("unknown option where the target belongs")
        << QStringList{"drive", "--colour"} << 2 << -1;
    QTest::newRow("a lone dash is no target") << QStringList{"cycle", "-"} << 2 << -1;
}

void TestCycleGen::commandLine()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(int, lines);
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString out = dir.filePath(QStringLiteral("out"));
    arguments.replaceInStrings(QRegularExpression(QStringLiteral("^OUT$")), out);

    QProcess gen;
    gen.setWorkingDirectory(dir.path());
    gen.start(QStringLiteral(KVARO_GEN), arguments);
    QVERIFY(gen.waitForFinished(60000));
    QCOMPARE(gen.exitCode(), exitCode);
    const bool help =
        arguments.contains(QStringLiteral("--help")) || arguments.contains(QStringLiteral("-h"));
    if (exitCode == 2)
        QVERIFY(gen.readAllStandardError().contains("usage:"));
    if (help) {
        QVERIFY(gen.readAllStandardOutput().startsWith("usage:"));
        QVERIFY(!QFileInfo::exists(out));
    }
    // Nothing but the target is ever written: no file named after an option.
    const QStringList written = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    QVERIFY2(written.isEmpty() || written == QStringList{QStringLiteral("out")},
             qPrintable(written.join(u' ')));
    if (lines >= 0) {
        QFile file(out);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const LineBuffer buffer = load(file.readAll());
        QCOMPARE(buffer.count(), lines);
        if (arguments.contains(QStringLiteral("--oven")))
            QCOMPARE(ovenName(record(buffer, 1)), QStringLiteral("55501234"));
    }
    if (!arguments.isEmpty() && arguments.first() == QLatin1String("drive") && exitCode == 0 &&
        !help)
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 5);
}

QTEST_GUILESS_MAIN(TestCycleGen)
#include "test_cyclegen.moc"
