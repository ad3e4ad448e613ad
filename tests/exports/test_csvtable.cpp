// The spreadsheet table: which separator a locale gets, which fields are quoted, how numbers
// are written, and that a saved file is the table's bytes.
#include "base/failure.h"
#include "exports/csvtable.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kvaro;

class TestCsvTable : public QObject
{
    Q_OBJECT

private slots:
    void rows_data();
    void rows();
    void numbers_data();
    void numbers();
    void decimalFields_data();
    void decimalFields();
    void saved();
};

void TestCsvTable::rows_data()
{
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<QByteArray>("row");
    QTest::newRow("comma locale") << QChar(',') << QStringList{"T1 [°C]", "12,5"}
                                  << QByteArray("T1 [\xC2\xB0"
                                                "C];12,5\r\n");
    QTest::newRow("point locale") << QChar('.') << QStringList{"a", "12.5"}
                                  << QByteArray("a,12.5\r\n");
    QTest::newRow("separator inside")
        << QChar('.') << QStringList{"a,b", "c;d"} << QByteArray("\"a,b\",c;d\r\n");
    QTest::newRow("quote inside") << QChar(',') << QStringList{"say \"hi\""}
                                  << QByteArray("\"say \"\"hi\"\"\"\r\n");
    QTest::newRow("line break inside")
        << QChar(',') << QStringList{"a\nb", ""} << QByteArray("\"a\nb\";\r\n");
    // A spreadsheet ends a row at a carriage return of its own as well.
    QTest::newRow("lone carriage return inside")
        << QChar('.') << QStringList{"a\rb", "c"} << QByteArray("\"a\rb\",c\r\n");
}

void TestCsvTable::rows()
{
    QFETCH(QChar, decimal);
    QFETCH(QStringList, fields);
    QFETCH(QByteArray, row);
    CsvTable table(decimal);
    table.addRow(fields);
    QCOMPARE(table.rowCount(), 1);
    QCOMPARE(table.bytes(), QByteArray("\xEF\xBB\xBF") + row);
}

void TestCsvTable::numbers_data()
{
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("text");
    QTest::newRow("comma") << QChar(',') << 12.5 << 3 << "12,5";
    QTest::newRow("point") << QChar('.') << 12.5 << 3 << "12.5";
    QTest::newRow("whole") << QChar(',') << 180.0 << 1 << "180";
    QTest::newRow("rounded") << QChar('.') << 0.123456 << 2 << "0.12";
    QTest::newRow("negative zero") << QChar('.') << -0.0001 << 2 << "0";
    QTest::newRow("negative") << QChar(',') << -0.25 << 2 << "-0,25";
    QTest::newRow("not a number") << QChar('.') << qQNaN() << 2 << "";
}

void TestCsvTable::numbers()
{
    QFETCH(QChar, decimal);
    QFETCH(double, value);
    QFETCH(int, decimals);
    QFETCH(QString, text);
    QCOMPARE(CsvTable(decimal).number(value, decimals), text);
}

void TestCsvTable::decimalFields_data()
{
    QTest::addColumn<QChar>("decimal");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("text");
    QTest::newRow("a written zero decimal stays") << QChar('.') << "22.0"
                                                  << "22.0";
    QTest::newRow("whole stays whole") << QChar(',') << "180"
                                       << "180";
    QTest::newRow("comma field, point table") << QChar('.') << "1,50"
                                              << "1.50";
    QTest::newRow("point field, comma table") << QChar(',') << "-7.125"
                                              << "-7,125";
}

void TestCsvTable::decimalFields()
{
    QFETCH(QChar, decimal);
    QFETCH(QString, field);
    QFETCH(QString, text);
    // The value as a reader apart from the table takes it from the field.
    const double value = QString(field).replace(QLatin1Char(','), QLatin1Char('.')).toDouble();
    QCOMPARE(CsvTable(decimal).decimalField(value, field), text);
}

void TestCsvTable::saved()
{
    QTemporaryDir dir;
    CsvTable table(QLatin1Char(','));
    table.addRow({"a", "1,5"});
    const QString path = dir.filePath("t.csv");
    table.save(path);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), table.bytes());
    QVERIFY_THROWS_EXCEPTION(Failure, table.save(dir.filePath("missing/t.csv")));
}

QTEST_GUILESS_MAIN(TestCsvTable)
#include "test_csvtable.moc"
