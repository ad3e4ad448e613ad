// The quick ways of reading a store must say what the plain ways say: the folder listing
// what listCycleFiles says, a failed open what QFile says, the field views what Split cuts.
#include "fixtures.h"

#include "base/failure.h"
#include "base/linebuffer.h"
#include "cycles/fields.h"
#include "cycles/fieldviews.h"
#include "cycles/rawfile.h"
#include "store/cyclefolder.h"
#include "store/storepaths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace kvaro;

namespace {

QString failureOf(const std::function<void()>& work)
{
    try {
        work();
    } catch (const Failure& failure) {
        return failure.message();
    }
    return {};
}

} // namespace

class TestFileReading : public QObject
{
    Q_OBJECT

private slots:
    void folderListsWhatListCycleFilesLists();
    void knownOrderIsTakenOnlyWhenItHolds_data();
    void knownOrderIsTakenOnlyWhenItHolds();
    void stamps();
    void openFailsAsQFileDoes_data();
    void openFailsAsQFileDoes();
    void readsPiecesAndToTheEnd();
    void fieldViewsCutAsSplitDoes_data();
    void fieldViewsCutAsSplitDoes();
};

void TestFileReading::folderListsWhatListCycleFilesLists()
{
    QTemporaryDir dir;
    const auto touch = [&](const QString& name) {
        QVERIFY(fixtures::write(dir.filePath(name), "x"));
    };
    for (const char* name : {"P1.csv", "P10.csv", "P2.CSV", "p3.Csv", ".hidden.csv", ".csv",
                             "notes.txt", "csv", "P4.csv.bak", "P 5.csv", "Pó6.csv"})
        touch(name);
    QVERIFY(QDir(dir.path()).mkdir("folder.csv"));
    QVERIFY(QFile::link(dir.filePath("P1.csv"), dir.filePath("link.csv")));
    QVERIFY(QFile::link(dir.filePath("folder.csv"), dir.filePath("linked folder.csv")));
    QVERIFY(QFile::link(dir.filePath("gone"), dir.filePath("broken link.csv")));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath("pipe.csv")).constData(), 0644), 0);

    const QStringList expected = listCycleFiles(dir.path());
    QVERIFY(expected.contains("broken link.csv"));
    QVERIFY(!expected.contains("folder.csv"));
    QCOMPARE(CycleFolder(dir.path()).cycleFiles(), expected);
    QCOMPARE(CycleFolder(dir.filePath("missing")).cycleFiles(), QStringList());
}

void TestFileReading::knownOrderIsTakenOnlyWhenItHolds_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("known");
    // Plain cycle numbers, and names of every kind.
    const QStringList plain{"P1.csv", "P2.csv", "P9.csv", "P10.csv", "P11.csv"};
    const QStringList mixed{"P01.csv", "P1.csv", "P2.csv", "p3.csv", "P10.csv"};
    QTest::newRow("none") << mixed << QStringList();
    QTest::newRow("the same") << mixed << mixed;
    QTest::newRow("plain, the same") << plain << plain;
    QTest::newRow("one missing") << mixed << QStringList{"P01.csv", "P1.csv", "P2.csv", "P10.csv"};
    QTest::newRow("plain, one missing") << plain << QStringList{"P1.csv", "P2.csv", "P10.csv"};
    QTest::newRow("one more") << mixed << QStringList{"P01.csv", "P1.csv", "P2.csv",
                                                      "p3.csv",  "P4.csv", "P10.csv"};
    QTest::newRow("one other") << mixed
                               << QStringList{"P01.csv", "P1.csv", "P2.csv", "p3.csv", "P11.csv"};
    QTest::newRow("plain, one other")
        << plain << QStringList{"P1.csv", "P2.csv", "P9.csv", "P10.csv", "P12.csv"};
    QTest::newRow("numbers out of order")
        << mixed << QStringList{"P01.csv", "P1.csv", "P10.csv", "P2.csv", "p3.csv"};
    QTest::newRow("plain, numbers out of order")
        << plain << QStringList{"P1.csv", "P2.csv", "P10.csv", "P9.csv", "P11.csv"};
    QTest::newRow("numbers of a length out of order")
        << mixed << QStringList{"P01.csv", "P2.csv", "P1.csv", "p3.csv", "P10.csv"};
    QTest::newRow("plain, numbers of a length out of order")
        << plain << QStringList{"P2.csv", "P1.csv", "P9.csv", "P10.csv", "P11.csv"};
    QTest::newRow("leading zero out of order")
        << mixed << QStringList{"P1.csv", "P01.csv", "P2.csv", "p3.csv", "P10.csv"};
    QTest::newRow("letter case out of order")
        << mixed << QStringList{"P01.csv", "P1.csv", "p3.csv", "P2.csv", "P10.csv"};
    QTest::newRow("one twice") << mixed
                               << QStringList{"P01.csv", "P1.csv", "P1.csv", "p3.csv", "P10.csv"};
    QTest::newRow("plain, one twice")
        << plain << QStringList{"P1.csv", "P2.csv", "P2.csv", "P10.csv", "P11.csv"};
}

void TestFileReading::knownOrderIsTakenOnlyWhenItHolds()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, known);
    QTemporaryDir dir;
    for (const QString& name : files)
        QVERIFY(fixtures::write(dir.filePath(name), "x"));
    const QStringList natural = listCycleFiles(dir.path());
    QCOMPARE(natural, files);
    const CycleFolder folder(dir.path());
    QCOMPARE(folder.cycleFiles(known), natural);
    QCOMPARE(folder.cycleFiles(known, [&](const QString& name) { return known.contains(name); }),
             natural);
}

void TestFileReading::stamps()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("P1.csv");
    QVERIFY(fixtures::write(path, "12345"));
    const QDateTime time(QDate(2022, 2, 3), QTime(4, 5, 6, 789), Qt::UTC);
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadWrite));
        QVERIFY(file.setFileTime(time, QFileDevice::FileModificationTime));
    }
    const FileStamp expected{5, time.toMSecsSinceEpoch() * 1000000};
    const CycleFolder folder(dir.path());
    QCOMPARE(folder.stamp("P1.csv"), std::optional(expected));
    QCOMPARE(RawFile::open(path).stamp(), expected);
    QVERIFY(QDir(dir.path()).mkdir("sub.csv"));
    QCOMPARE(folder.stamp("sub.csv"), std::nullopt);
    QCOMPARE(folder.stamp("P2.csv"), std::nullopt);
}

void TestFileReading::openFailsAsQFileDoes_data()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("missing") << "P9.csv";
    QTest::newRow("a folder") << "folder.csv";
    QTest::newRow("in a missing folder") << "none/P1.csv";
}

void TestFileReading::openFailsAsQFileDoes()
{
    QFETCH(QString, name);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("folder.csv"));
    const QString path = dir.filePath(name);
    const QString expected = failureOf([&] { LineBuffer().loadFile(path); });
    QVERIFY(expected.startsWith(QStringLiteral("Cannot open file")));
    QCOMPARE(failureOf([&] { RawFile::open(path); }), expected);
}

void TestFileReading::readsPiecesAndToTheEnd()
{
    QTemporaryDir dir;
    const QString path = dir.filePath("P1.csv");
    QByteArray bytes;
    for (int i = 0; i < 100000; ++i)
        bytes += char('a' + i % 26);
    QVERIFY(fixtures::write(path, bytes));
    const RawFile file = RawFile::open(path);
    QCOMPARE(file.size(), bytes.size());
    QCOMPARE(file.read(0, 10), bytes.left(10));
    QCOMPARE(file.read(99995, 10), bytes.right(5));
    QCOMPARE(file.read(200000, 10), QByteArray());
    // A file that grew since it was opened is read to its new end.
    QFile more(path);
    QVERIFY(more.open(QIODevice::Append));
    more.write("tail");
    more.close();
    QCOMPARE(file.readToEnd(0), bytes + "tail");
}

void TestFileReading::fieldViewsCutAsSplitDoes_data()
{
    QTest::addColumn<QString>("line");
    QTest::newRow("empty") << "";
    QTest::newRow("one field") << "abc";
    QTest::newRow("separator only") << ";";
    QTest::newRow("two separators") << ";;";
    QTest::newRow("empty field last") << "a;";
    QTest::newRow("empty field before the last separator") << "a;;";
    QTest::newRow("empty fields inside") << "a;;b;";
    QTest::newRow("leading separator") << ";a;b";
    QTest::newRow("record") << fixtures::record({{3, "10"}, {6, "1.5"}});
}

void TestFileReading::fieldViewsCutAsSplitDoes()
{
    QFETCH(QString, line);
    const QStringList fields = Split(line);
    for (const int most : {1, 2, 3, 6, 71, 1000}) {
        const FieldViews views(line, most);
        const QStringList expected = fields.mid(0, most);
        QCOMPARE(views.size(), int(expected.size()));
        for (int i = 0; i < views.size(); ++i)
            QCOMPARE(views.at(i).toString(), expected.at(i));
        for (int count = 0; count <= views.size() + 1; ++count)
            QCOMPARE(views.joined(count).toString(), expected.mid(0, count).join(';'));
    }
}

QTEST_GUILESS_MAIN(TestFileReading)
#include "test_filereading.moc"
