#include "base/failure.h"
#include "chart/openedcycle.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace kvaro;

class TestOpenedCycle : public QObject
{
    Q_OBJECT

private slots:
    // The file dialog, a click on a listed cycle and kvaro-cli all open a cycle this way.
    void openCycle_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QChar>("decimalSeparator");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<bool>("drawable");
        const QByteArray controller = "M,A\r\n0,1.5\r\n0,2.5\r\n";
        QTest::newRow("picked, as the controller writes it")
            << controller << false << QChar(u',') << QStringList{"m;a", "0;1,5", "0;2,5"} << true;
        QTest::newRow("picked, a stored copy")
            << QByteArray("M;A\r\n0;1,5\r\n0;2,5") << false << QChar(u'.')
            << QStringList{"m;a", "0;1.5", "0;2.5"} << true;
        // The store normalised it when it imported it; doing so again would change it.
        QTest::newRow("stored is taken as it stands")
            << controller << true << QChar(u',') << QStringList{"m,a", "0,1.5", "0,2.5"} << true;
        QTest::newRow("two lines") << QByteArray("M;A\n0;1\n") << true << QChar(u'.')
                                   << QStringList{"m;a", "0;1"} << false;
        // An editor's blank lines after the last record do not make a cycle.
        QTest::newRow("two lines and blank ones")
            << QByteArray("M;A\n0;1\n\n\r\n") << false << QChar(u'.')
            << QStringList{"m;a", "0;1", "", ""} << false;
        QTest::newRow("three lines and a blank one")
            << QByteArray("M;A\n0;1\n0;2\n\n") << true << QChar(u'.')
            << QStringList{"m;a", "0;1", "0;2", ""} << true;
        QTest::newRow("empty file")
            << QByteArray() << false << QChar(u'.') << QStringList{} << false;
    }
    void openCycle()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, stored);
        QFETCH(QChar, decimalSeparator);
        QFETCH(QStringList, lines);
        QFETCH(bool, drawable);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("P7.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        file.close();
        const OpenedCycle opened = kvaro::openCycle(
            path, stored ? CycleSource::Stored : CycleSource::Picked, decimalSeparator);
        QCOMPARE(opened.lines.lines(), lines);
        QCOMPARE(opened.lines.fileName(), path);
        QCOMPARE(opened.drawable, drawable);
    }
    void openCycleNamesAFileItCannotRead()
    {
        QTemporaryDir dir;
        try {
            (void)kvaro::openCycle(dir.filePath(QStringLiteral("P8.csv")), CycleSource::Picked,
                                   QLatin1Char('.'));
            QFAIL("a missing file was opened");
        } catch (const Failure& failure) {
            QVERIFY2(failure.message().contains(QStringLiteral("P8.csv")),
                     qPrintable(failure.message()));
        }
    }
};

int runOpenedCycleTests(int argc, char** argv)
{
    TestOpenedCycle test;
    return QTest::qExec(&test, argc, argv);
}

#include "test_openedcycle.moc"
