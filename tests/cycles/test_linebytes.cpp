#include "base/linebuffer.h"
#include "cycles/fields.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kvaro;

namespace {

QByteArray utf16(const QString& text, bool littleEndian)
{
    QByteArray bytes = littleEndian ? QByteArray("\xFF\xFE", 2) : QByteArray("\xFE\xFF", 2);
    for (const QChar c : text) {
        const char low = char(c.unicode() & 0xFF), high = char(c.unicode() >> 8);
        bytes.append(littleEndian ? low : high).append(littleEndian ? high : low);
    }
    return bytes;
}

// The lines as the whole text, decoded and cut with the string rules, gives them.
QStringList expectedLines(const QByteArray& bytes, LineBuffer::Case letterCase)
{
    QString text = LineBuffer::decode(bytes);
    if (letterCase == LineBuffer::Case::Lower)
        text = text.toLower();
    return LineBuffer::splitLines(text);
}

} // namespace

// The buffer keeps bytes, not strings: every way in and out must give the lines the
// string rules give, whatever the characters and wherever a line break falls.
class TestLineBytes : public QObject
{
    Q_OBJECT

private slots:
    void sameLinesAsText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("ASCII, every kind of break")
            << QByteArray("Typ,T1\r\n1,20.5\n2,21\r3,22\n\r\n\nEnd\r\n");
        QTest::newRow("UTF-8 without a mark")
            << QByteArray("Piec \xC5\xBB\x41R,1\r\n\xC3\x93\x41,2\r\n");
        QTest::newRow("bytes no UTF-8 reads") << QByteArray("Piec \xB3\xF3\x64\xBC\r\nA,1\n");
        QTest::newRow("UTF-8 with a mark") << QByteArray("\xEF\xBB\xBF\xC5\xBB"
                                                         "AR;1\r\nB;\xE2\x82\xAC\rC");
        const QString wide = QStringLiteral("Żar;1\r\n") + QChar(0xD83D) + QChar(0xDE00) +
                             QStringLiteral("A;2\nB") + QChar(0xDC00) + QStringLiteral("C\r\n");
        QTest::newRow("UTF-16 LE, a pair and a lone half") << utf16(wide, true);
        QTest::newRow("UTF-16 BE, a pair and a lone half") << utf16(wide, false);
        // Upper-case ASCII before the first byte beyond it, so a fast pass that gives up
        // there has lower-cased part of the bytes already.
        QTest::newRow("ASCII, then a letter beyond it late")
            << QByteArray(200, 'A') + "\r\nBCD,1\r\n\xC5\xBB" + "EF\r\n";
    }
    void sameLinesAsText()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("P1.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();

        for (const auto letterCase : {LineBuffer::Case::Keep, LineBuffer::Case::Lower}) {
            const QStringList lines = expectedLines(bytes, letterCase);
            const QByteArray kept(bytes.constData(), bytes.size()); // not shared
            LineBuffer given(letterCase);
            given.loadBytes(bytes);
            QCOMPARE(bytes, kept); // the caller's bytes are not lower-cased
            LineBuffer read(letterCase);
            read.loadFile(path);
            for (const LineBuffer* buffer : {&given, &read}) {
                QCOMPARE(buffer->lines(), lines);
                QCOMPARE(buffer->count(), lines.size());
                for (int i = 0; i < lines.size(); ++i) {
                    QCOMPARE(buffer->line(i), lines.at(i));
                    QCOMPARE(LineBuffer::fromLineBytes(buffer->lineBytes(i)), lines.at(i));
                }
                QVERIFY(buffer->lineBytes(int(lines.size())).isEmpty());
            }
            // Text put in directly reads back the same.
            LineBuffer set(letterCase);
            set.setText(LineBuffer::decode(bytes));
            QCOMPARE(set.lines(), lines);
        }
    }

    // Breaks at every position of an eight-byte word, a CR LF split between two words too.
    void breaksAtEveryOffset()
    {
        for (int pad = 0; pad < 20; ++pad) {
            const QByteArray bytes =
                QByteArray(pad, 'X') + "\r\n" + QByteArray(pad % 9, 'Y') + "\r\r\nZ\n\n";
            LineBuffer buffer(LineBuffer::Case::Lower);
            buffer.loadBytes(bytes);
            QVERIFY2(buffer.lines() == expectedLines(bytes, LineBuffer::Case::Lower),
                     qPrintable(QStringLiteral("padded by %1").arg(pad)));
        }
    }

    void longLinesCutAt4096Units_data()
    {
        QTest::addColumn<QString>("line");
        QTest::newRow("two-byte letters") << QString(5000, QChar(0x17C));
        QTest::newRow("three-byte signs") << QStringLiteral("a") + QString(4500, QChar(0x20AC));
        // The cut keeps the first half of a pair, as a string cut does.
        QString pair = QString(4095, QLatin1Char('a'));
        for (int i = 0; i < 10; ++i)
            pair += QString::fromUcs4(U"\U0001F600");
        QTest::newRow("a pair across the cut") << pair;
    }
    void longLinesCutAt4096Units()
    {
        QFETCH(QString, line);
        LineBuffer buffer;
        buffer.setText(line + QStringLiteral("\r\nnext"));
        QCOMPARE(buffer.line(0), line.first(LineBuffer::MaxLineLength));
        QCOMPARE(LineBuffer::fromLineBytes(buffer.lineBytes(0)),
                 line.first(LineBuffer::MaxLineLength));
        QCOMPARE(buffer.lines().first(), line);
        QCOMPARE(buffer.line(1), QStringLiteral("next"));
    }

    // Lines given whole keep what they hold, line breaks too, through a replacement.
    void givenLinesKeepTheirBreaks()
    {
        LineBuffer buffer;
        const QStringList lines{QStringLiteral("a\nb,c"), QString(), QStringLiteral("d\r,")};
        buffer.setLines(lines);
        QCOMPARE(buffer.lines(), lines);
        QCOMPARE(buffer.trimmedCount(), 3);
        buffer.replaceInLines(QLatin1Char('\n'), QLatin1Char('|'));
        buffer.replaceInLines(QLatin1Char(','), QLatin1Char(';'));
        QCOMPARE(buffer.lines(), (QStringList{"a|b;c", "", "d\r;"}));
    }

    void normalisedToAnySeparator_data()
    {
        QTest::addColumn<QChar>("separator");
        QTest::addColumn<QString>("normalised");
        QTest::newRow("point") << QChar('.') << QStringLiteral("1;21.5;ż;x.y");
        QTest::newRow("comma") << QChar(',') << QStringLiteral("1;21,5;ż;x,y");
        QTest::newRow("beyond ASCII") << QChar(0x066B) << QStringLiteral("1;21\u066B5;ż;x\u066By");
    }
    void normalisedToAnySeparator()
    {
        QFETCH(QChar, separator);
        QFETCH(QString, normalised);
        LineBuffer buffer(LineBuffer::Case::Lower);
        buffer.loadBytes(QByteArray("H\xC3\x93,1.5\r\n1,21.5,\xC5\xBB,X.Y\r\n"));
        normalise(buffer, separator);
        QCOMPARE(buffer.line(1), normalised);
        QCOMPARE(buffer.line(0).at(1), QChar(0xF3));
    }
};

QTEST_GUILESS_MAIN(TestLineBytes)
#include "test_linebytes.moc"
