#include "base/failure.h"
#include "base/linebuffer.h"
#include "base/platform.h"
#include "cycles/cycleformat.h"
#include "cycles/fields.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kvaro;

class TestCycles : public QObject
{
    Q_OBJECT

private slots:
    void split_data();
    void split();
    void splitClearsTheList();

    void normalisation_data();
    void normalisation();
    void storedCopy_data();
    void storedCopy();

    void lineRules_data();
    void lineRules();
    void longLineReadsAsItsFirst4096Characters();
    void byteOrderMarks_data();
    void byteOrderMarks();
    void lowerCasingBuffer();
    void writtenCopyKeepsEncodingWithCrLf_data();
    void writtenCopyKeepsEncodingWithCrLf();
    void unreadableFileFailsNamingIt();

    void integers_data();
    void integers();
    void decimals_data();
    void decimals();
    void recordFailuresNameFileAndLine();
    void recordLineTest_data();
    void recordLineTest();
    void flagsCompareExactly();
    void timeOfDay_data();
    void timeOfDay();

    void guardShowsFailureWithPlace();
    void generalNumberForm_data();
    void generalNumberForm();
};

void TestCycles::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("fields");
    const QString e;
    QTest::newRow("empty") << QString() << QStringList();
    QTest::newRow("a") << "a" << QStringList{"a"};
    QTest::newRow("a;b") << "a;b" << QStringList{"a", "b"};
    QTest::newRow("a;") << "a;" << QStringList{"a", e};
    QTest::newRow(";a") << ";a" << QStringList{e, "a"};
    QTest::newRow("a;;b") << "a;;b" << QStringList{"a", e, "b"};
    QTest::newRow(";") << ";" << QStringList{e};
    QTest::newRow("a;;") << "a;;" << QStringList{"a", e};
    QTest::newRow(";;") << ";;" << QStringList{e, e};
    QTest::newRow(";;;") << ";;;" << QStringList{e, e, e};
    QTest::newRow("3;7;") << "3;7;" << QStringList{"3", "7", e};
    QTest::newRow("3;7;;") << "3;7;;" << QStringList{"3", "7", e};
    QTest::newRow("3;;7") << "3;;7" << QStringList{"3", e, "7"};
}

void TestCycles::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, fields);
    QCOMPARE(Split(text, QStringLiteral(";")), fields);
}

void TestCycles::splitClearsTheList()
{
    QStringList list{"old", "fields"};
    Split(QString(), QStringLiteral(";"), list);
    QVERIFY(list.isEmpty());
    Split(QStringLiteral("x"), QStringLiteral(";"), list);
    QCOMPARE(list, QStringList{"x"});
}

void TestCycles::normalisation_data()
{
    QTest::addColumn<QString>("raw");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("normalised");
    QTest::addColumn<int>("fieldCount");
    QTest::newRow("comma locale") << "3,21.5,20.0,19,44,17" << QChar(',') << "3;21,5;20,0;19;44;17"
                                  << 6;
    QTest::newRow("point locale") << "3,21.5,20.0,19,44,17" << QChar('.') << "3;21.5;20.0;19;44;17"
                                  << 6;
    // A file already cut at ";" (a stored copy, or a controller set to ";") keeps its
    // fields whatever its decimal point.
    QTest::newRow("cut at ';', decimal commas, comma locale")
        << "3;21,5;20,0" << QChar(',') << "3;21,5;20,0" << 3;
    QTest::newRow("cut at ';', decimal commas, point locale")
        << "3;21,5;20,0" << QChar('.') << "3;21.5;20.0" << 3;
    QTest::newRow("cut at ';', decimal points, comma locale")
        << "3;21.5;20.0" << QChar(',') << "3;21,5;20,0" << 3;
    QTest::newRow("the header does not decide") << "3,21.5" << QChar(',') << "3;21,5" << 2;
    QTest::newRow("a code alone is not cut at ';'") << "3" << QChar(',') << "3" << 1;
    QTest::newRow("no record line: as the controller writes")
        << "x;1,5" << QChar(',') << "x;1;5" << 3;
}

void TestCycles::normalisation()
{
    QFETCH(QString, raw);
    QFETCH(QChar, separator);
    QFETCH(QString, normalised);
    QFETCH(int, fieldCount);
    LineBuffer buffer(LineBuffer::Case::Lower);
    buffer.setText(QStringLiteral("M;1;2\r\n") + raw + QStringLiteral("\r\n"));
    normalise(buffer, separator);
    QCOMPARE(buffer.line(0), QStringLiteral("m;1;2"));
    QCOMPARE(buffer.line(1), normalised);
    QCOMPARE(Split(buffer.line(1)).size(), fieldCount);
    // A normalised text is judged cut at ";": normalising it again changes nothing.
    normalise(buffer, separator);
    QCOMPARE(buffer.line(1), normalised);

    // The copy the import stores follows the same rule.
    const QByteArray copy = normalisedCopy(("M;1;2\r\n" + raw).toLatin1(), separator);
    QCOMPARE(copy, ("m;1;2\r\n" + normalised + "\r\n").toLatin1());
}

void TestCycles::storedCopy_data()
{
    QTest::addColumn<QByteArray>("raw");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QByteArray>("stored");
    // Bytes no locale decodes: a Windows-1250 header ("łódź" in its upper half).
    QTest::newRow("code-page header keeps its bytes")
        << QByteArray("Piec nr 1 \xB3\xF3\x64\xBC,X\n3,21.5,AB") << QChar(',')
        << QByteArray("piec nr 1 \xB3\xF3\x64\xBC;x\r\n3;21,5;ab\r\n");
    QTest::newRow("UTF-8 without a mark: only ASCII letters are lowered")
        << QByteArray("\xC5\xBB\x41R,1.5\r\n3,1\r\n") << QChar('.')
        << QByteArray("\xC5\xBB\x61r;1.5\r\n3;1\r\n");
    QTest::newRow("UTF-8 with a mark is decoded and written back")
        << QByteArray("\xEF\xBB\xBF\xC5\xBB\x41R,1.5\r3,1") << QChar('.')
        << QByteArray("\xEF\xBB\xBF\xC5\xBC\x61r;1.5\r\n3;1\r\n");
    QTest::newRow("UTF-16 with a mark, already cut at ';'")
        << QByteArray("\xFF\xFEM\0\n\0003\0;\0001\0,\0005\0", 16) << QChar('.')
        << QByteArray("\xFF\xFEm\0\r\0\n\0003\0;\0001\0.\0005\0\r\0\n\0", 22);
    QTest::newRow("a separator beyond ASCII in the locale's encoding")
        << QByteArray("h\n3,1.5") << QChar(0x066B) << QByteArray("h\r\n3;1\xD9\xAB\x35\r\n");
}

void TestCycles::storedCopy()
{
    QFETCH(QByteArray, raw);
    QFETCH(QChar, separator);
    QFETCH(QByteArray, stored);
    QCOMPARE(normalisedCopy(raw, separator), stored);
}

void TestCycles::lineRules_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QStringList>("lines");
    QTest::newRow("no text") << QByteArray() << QStringList();
    QTest::newRow("no final break") << QByteArray("a\r\nb") << QStringList{"a", "b"};
    QTest::newRow("one final break") << QByteArray("a\r\nb\r\n") << QStringList{"a", "b"};
    QTest::newRow("two final breaks") << QByteArray("a\nb\n\n") << QStringList{"a", "b", ""};
    QTest::newRow("CR only") << QByteArray("a\rb\r") << QStringList{"a", "b"};
    QTest::newRow("mixed ends") << QByteArray("a\r\nb\nc\rd") << QStringList{"a", "b", "c", "d"};
    QTest::newRow("LF CR is two breaks") << QByteArray("a\n\rb") << QStringList{"a", "", "b"};
    QTest::newRow("CR LF CR at the end") << QByteArray("a\r\n\r") << QStringList{"a", ""};
}

void TestCycles::lineRules()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QStringList, lines);
    LineBuffer buffer;
    buffer.loadBytes(bytes);
    QCOMPARE(buffer.count(), lines.size());
    for (int i = 0; i < lines.size(); ++i)
        QCOMPARE(buffer.line(i), lines.at(i));
    QCOMPARE(buffer.line(int(lines.size())), QString());
    QCOMPARE(buffer.line(-1), QString());

    // A reader that gets the text in two pieces, cut anywhere (between CR and LF too),
    // sees the same lines.
    const QString text = QString::fromLatin1(bytes);
    for (qsizetype cut = 0; cut <= text.size(); ++cut) {
        QStringList pieces;
        const qsizetype used = LineBuffer::cutLines(QStringView(text).first(cut), false, pieces);
        const QString rest = text.first(cut).sliced(used) + text.sliced(cut);
        QCOMPARE(LineBuffer::cutLines(rest, true, pieces), rest.size());
        QVERIFY2(pieces == lines, qPrintable(QStringLiteral("cut at %1").arg(cut)));
    }
}

void TestCycles::longLineReadsAsItsFirst4096Characters()
{
    LineBuffer buffer;
    const QString longLine = QString(5000, QLatin1Char('x')) + QStringLiteral(";1");
    buffer.setText(longLine + QStringLiteral("\nshort"));
    QCOMPARE(buffer.line(0).size(), 4096);
    QCOMPARE(buffer.line(1), QStringLiteral("short"));
    // The whole line survives in a written copy: truncation is a reading rule only.
    QVERIFY(buffer.text().contains(longLine));
}

void TestCycles::byteOrderMarks_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<int>("encoding");
    const QString text = QStringLiteral("Żar;1\r\n2;3\r\n");
    QTest::newRow("utf-8") << QByteArray("\xEF\xBB\xBF") + text.toUtf8()
                           << int(LineBuffer::Encoding::Utf8);
    QByteArray le("\xFF\xFE", 2), be("\xFE\xFF", 2);
    for (QChar c : text) {
        le.append(char(c.unicode() & 0xFF)).append(char(c.unicode() >> 8));
        be.append(char(c.unicode() >> 8)).append(char(c.unicode() & 0xFF));
    }
    QTest::newRow("utf-16 le") << le << int(LineBuffer::Encoding::Utf16LE);
    QTest::newRow("utf-16 be") << be << int(LineBuffer::Encoding::Utf16BE);
}

void TestCycles::byteOrderMarks()
{
    QFETCH(QByteArray, bytes);
    QFETCH(int, encoding);
    LineBuffer buffer;
    buffer.loadBytes(bytes);
    QCOMPARE(int(buffer.encoding()), encoding);
    QCOMPARE(buffer.count(), 2);
    QCOMPARE(buffer.line(0), QStringLiteral("Żar;1"));
    QCOMPARE(buffer.line(1), QStringLiteral("2;3"));
}

void TestCycles::lowerCasingBuffer()
{
    LineBuffer lower(LineBuffer::Case::Lower);
    lower.loadBytes(QByteArray("M;1;2\nAbC;-1.5E3\n"));
    QCOMPARE(lower.line(0), QStringLiteral("m;1;2"));
    QCOMPARE(lower.line(1), QStringLiteral("abc;-1.5e3"));
    lower.setText(QStringLiteral("ŻÓŁW"));
    QCOMPARE(lower.line(0), QStringLiteral("żółw"));

    LineBuffer keep;
    keep.loadBytes(QByteArray("M;1;2\n"));
    QCOMPARE(keep.line(0), QStringLiteral("M;1;2"));
}

void TestCycles::writtenCopyKeepsEncodingWithCrLf_data()
{
    QTest::addColumn<QByteArray>("bom");
    QTest::addColumn<QByteArray>("expected");
    QTest::newRow("no mark") << QByteArray() << QByteArray("h\r\n1;2\r\n");
    QTest::newRow("utf-8") << QByteArray("\xEF\xBB\xBF") << QByteArray("\xEF\xBB\xBFh\r\n1;2\r\n");
    QTest::newRow("utf-16 le") << QByteArray("\xFF\xFE", 2)
                               << QByteArray("\xFF\xFEh\0\r\0\n\0001\0;\0002\0\r\0\n\0", 18);
}

void TestCycles::writtenCopyKeepsEncodingWithCrLf()
{
    QFETCH(QByteArray, bom);
    QFETCH(QByteArray, expected);
    QByteArray input = bom;
    const QByteArray text("H\n1,2");
    if (bom.startsWith("\xFF\xFE")) {
        for (char c : text)
            input.append(c).append('\0');
    } else {
        input += text;
    }
    LineBuffer buffer(LineBuffer::Case::Lower);
    buffer.loadBytes(input);
    normalise(buffer, QLatin1Char('.'));
    QCOMPARE(buffer.toBytes(), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("P1.csv"));
    buffer.saveFile(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), expected);
}

void TestCycles::unreadableFileFailsNamingIt()
{
    QTemporaryDir dir;
    LineBuffer buffer;
    try {
        buffer.loadFile(dir.filePath(QStringLiteral("P404.csv")));
        QFAIL("a missing file must fail");
    } catch (const Failure& failure) {
        QVERIFY(failure.message().contains(QStringLiteral("P404.csv")));
    }
}

void TestCycles::integers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("value");
    QTest::newRow("plain") << "12" << true << 12;
    QTest::newRow("leading blank") << " 12" << true << 12;
    QTest::newRow("signs") << "-7" << true << -7;
    QTest::newRow("plus") << "+7" << true << 7;
    QTest::newRow("max") << "2147483647" << true << 2147483647;
    QTest::newRow("min") << "-2147483648" << true << int(-2147483648LL);
    QTest::newRow("trailing blank") << "12 " << false << 0;
    QTest::newRow("empty") << "" << false << 0;
    QTest::newRow("sign only") << "-" << false << 0;
    QTest::newRow("decimal") << "1.5" << false << 0;
    QTest::newRow("letters") << "1a" << false << 0;
    QTest::newRow("overflow") << "2147483648" << false << 0;
}

void TestCycles::integers()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, value);
    try {
        QCOMPARE(toInteger(text), value);
        QVERIFY(valid);
    } catch (const Failure& failure) {
        QVERIFY(!valid);
        QCOMPARE(failure.text(), QStringLiteral("'%1' is not a valid integer value").arg(text));
    }
}

void TestCycles::decimals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<double>("value");
    QTest::newRow("integer") << "175" << true << 175.0;
    QTest::newRow("point") << "21.5" << true << 21.5;
    QTest::newRow("comma") << "21,5" << true << 21.5;
    QTest::newRow("negative") << "-0,25" << true << -0.25;
    QTest::newRow("exponent") << "1.5e2" << true << 150.0;
    QTest::newRow("leading blank") << " 3" << true << 3.0;
    QTest::newRow("two points") << "1.2.3" << false << 0.0;
    QTest::newRow("grouping") << "1.234,5" << false << 0.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("letters") << "abc" << false << 0.0;
    QTest::newRow("bare exponent") << "1e" << false << 0.0;
    QTest::newRow("trailing blank") << "3 " << false << 0.0;
    QTest::newRow("infinite") << "1e999" << false << 0.0;
}

void TestCycles::decimals()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(double, value);
    try {
        QCOMPARE(toDecimal(text), value);
        QVERIFY(valid);
    } catch (const Failure& failure) {
        QVERIFY(!valid);
        QCOMPARE(failure.text(),
                 QStringLiteral("'%1' is not a valid floating point value").arg(text));
    }
}

void TestCycles::recordFailuresNameFileAndLine()
{
    const Record record(QStringLiteral("0;x;;5"), QStringLiteral("/store/oven/P123.csv"), 56);
    QCOMPARE(record.integer(3), 5);
    struct Case {
        std::function<void()> read;
        QString text;
    };
    const Case cases[] = {
        {[&] { record.field(36); }, QStringLiteral("List index out of bounds (36)")},
        {[&] { record.integer(1); }, QStringLiteral("'x' is not a valid integer value")},
        {[&] { record.decimal(2); }, QStringLiteral("'' is not a valid floating point value")},
    };
    for (const Case& c : cases) {
        try {
            c.read();
            QFAIL("expected a failure");
        } catch (const Failure& failure) {
            QCOMPARE(failure.text(), c.text);
            QCOMPARE(failure.place(), QStringLiteral("P123.csv, line 57"));
            QCOMPARE(failure.message(), c.text + QStringLiteral("\nP123.csv, line 57"));
        }
    }
    // The place is the file's name alone while the line is not known.
    const Failure unread(QStringLiteral("Cannot open"), QStringLiteral("/media/usb/P9.csv"));
    QCOMPARE(unread.place(), QStringLiteral("P9.csv"));
    QCOMPARE(unread.message(), QStringLiteral("Cannot open\nP9.csv"));
    try {
        Record(QString()).field(0);
        QFAIL("an empty line has no field 0");
    } catch (const Failure& failure) {
        QCOMPARE(failure.message(), QStringLiteral("List index out of bounds (0)"));
    }
}

void TestCycles::recordLineTest_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<bool>("record");
    QTest::newRow("oil") << "0;1" << true;
    QTest::newRow("gas 1") << "1;1" << true;
    QTest::newRow("gas 2") << "2" << true;
    QTest::newRow("electric") << "3;;" << true;
    QTest::newRow("4") << "4;1" << false;
    QTest::newRow("header") << "typ;t1" << false;
    QTest::newRow("blank before") << " 0;1" << false;
    QTest::newRow("two digits") << "00;1" << false;
    QTest::newRow("empty field 0") << ";0" << false;
}

void TestCycles::recordLineTest()
{
    QFETCH(QString, line);
    QFETCH(bool, record);
    QCOMPARE(Record(line).isRecordLine(), record);
}

void TestCycles::flagsCompareExactly()
{
    const Record record(QStringLiteral("1; 1;1 ;0"));
    QVERIFY(record.flag(0));
    QVERIFY(!record.flag(1));
    QVERIFY(!record.flag(2));
    QVERIFY(!record.flag(3));
}

void TestCycles::timeOfDay_data()
{
    QTest::addColumn<QString>("line");
    QTest::addColumn<int>("seconds");
    QTest::newRow("morning") << "0;1;2;8;5;7" << 8 * 3600 + 5 * 60 + 7;
    QTest::newRow("midnight") << "0;1;2;0;0;0" << 0;
    QTest::newRow("last second") << "0;1;2;23;59;59" << 86399;
    QTest::newRow("hour 24") << "0;1;2;24;0;0" << -1;
    QTest::newRow("minute 61") << "0;1;2;12;61;0" << -1;
    QTest::newRow("negative second") << "0;1;2;12;0;-1" << -1;
}

void TestCycles::timeOfDay()
{
    QFETCH(QString, line);
    QFETCH(int, seconds);
    try {
        QCOMPARE(Record(line).timeOfDay(), seconds);
        QVERIFY(seconds >= 0);
    } catch (const Failure& failure) {
        QCOMPARE(seconds, -1);
        QCOMPARE(failure.text(), QStringLiteral("Invalid argument to time encode"));
    }
}

void TestCycles::guardShowsFailureWithPlace()
{
    RecordingMessages messages;
    bool before = false, after = false;
    const bool ok = guarded(messages, [&] {
        before = true;
        Record(QStringLiteral("0;a"), QStringLiteral("P123.csv"), 56).integer(1);
        after = true;
    });
    QVERIFY(!ok);
    QVERIFY(before);
    QVERIFY(!after);
    QCOMPARE(messages.texts(),
             QStringList{QStringLiteral("'a' is not a valid integer value\nP123.csv, line 57")});
    QVERIFY(guarded(messages, [] {}));
    QCOMPARE(messages.texts().size(), 1);
}

void TestCycles::generalNumberForm_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QChar>("separator");
    QTest::addColumn<QString>("text");
    QTest::newRow("sum on comma locale") << 1.5 + 2.27 << QChar(',') << "3,77";
    QTest::newRow("zero") << 0.0 << QChar(',') << "0";
    QTest::newRow("whole") << 12.0 << QChar('.') << "12";
    QTest::newRow("point") << 0.1 + 0.2 << QChar('.') << "0.3";
}

void TestCycles::generalNumberForm()
{
    QFETCH(double, value);
    QFETCH(QChar, separator);
    QFETCH(QString, text);
    QCOMPARE(formatGeneral(value, separator), text);
}

QTEST_GUILESS_MAIN(TestCycles)
#include "test_cycles.moc"
