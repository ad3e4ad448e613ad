#include "base/failure.h"
#include "chart/recordfields.h"
#include "cycles/fields.h"

#include <QTest>

using namespace kvaro;

namespace {

// The result of a conversion or its failure text, so both readers compare as one value.
template <typename Read> QString outcome(Read read)
{
    try {
        return QString::number(read(), 'g', 17);
    } catch (const Failure& failure) {
        return failure.text() + QStringLiteral(" @%1").arg(failure.line());
    }
}

} // namespace

// The loader's allocation-free reader must cut and convert exactly as Record does.
class TestRecordFields : public QObject
{
    Q_OBJECT

private slots:
    void sameAsRecord_data()
    {
        QTest::addColumn<QString>("line");
        for (const char* line :
             {"", "a", "a;b", "a;", ";a", "a;;b", ";", "a;;", ";;", ";;;", "3;7;", "3;7;;", "3;;7"})
            QTest::newRow(line[0] ? line : "empty") << QString::fromLatin1(line);
        for (const char* field :
             {"12", " 12", "12 ", "-7", "+7", "-", "", "21.5", "21,5", "-0.25", ".5", "5.", "1e3",
              "1.2.3", "2o", "99999999999", "1,5e-2", "0007"})
            QTest::newRow(field[0] ? field : "empty field")
                << QStringLiteral("0;") + QString::fromLatin1(field) + QStringLiteral(";x");
        // Fields beyond ASCII: their text and failure texts come from the line's bytes.
        for (const char* field :
             {"\xC5\xBC\x31\x32", "12\xE2\x82\xAC", "\xF0\x9F\x98\x80", "1,\xD9\xAB"})
            QTest::newRow(field) << QStringLiteral("0;") + QString::fromUtf8(field) +
                                        QString::fromUtf8(";\xC5\x81");
    }
    void sameAsRecord()
    {
        QFETCH(QString, line);
        const Record record(line, QStringLiteral("P1.csv"), 4);
        RecordFields fields(QStringLiteral("P1.csv"));
        fields.assign(line, 4);
        QCOMPARE(fields.size(), record.size());
        for (int i = 0; i <= record.size(); ++i) {
            QCOMPARE(outcome([&] { return fields.integer(i); }),
                     outcome([&] { return record.integer(i); }));
            QCOMPARE(outcome([&] { return fields.decimal(i); }),
                     outcome([&] { return record.decimal(i); }));
            if (i < record.size())
                QCOMPARE(fields.text(i), record.field(i));
        }
    }
};

int runRecordFieldsTests(int argc, char** argv)
{
    TestRecordFields test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_recordfields.moc"
