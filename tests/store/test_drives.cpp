#include "tests/testfiles.h"
#include "store/drives.h"
#include "store/importer.h"
#include "store/ovenname.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kvaro::testing::writeFile;
using kvaro::testing::readFile;

using namespace kvaro;

namespace {

const QStringList ovenA{"3130", "3332", "3534", "3736", "12", "34", "56", "78"}; // 012345672468

} // namespace

// Which drive the import reads, and which oven folder a file goes to.
class TestDrives : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void ovenNameFromIdentifierFields_data();
    void ovenNameFromIdentifierFields();
    void ovenNameNeedsFieldEightyTwo();

    void mountFieldEscapes_data();
    void mountFieldEscapes();
    void linuxDrivesListRemovableVolumesInPathOrder();

    void driveScan_data();
    void driveScan();

private:
    QString home() const { return m_dir->filePath("home"); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestDrives::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestDrives::ovenNameFromIdentifierFields_data()
{
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QString>("name");
    QTest::newRow("controller form") << ovenA << "012345672468";
    QTest::newRow("all 00 is too short") << QStringList(8, "00") << "0";
    QTest::newRow("seven characters are enough")
        << QStringList{"3130", "3332", "3534", "", "12", "", "", ""} << "0123452";
    QTest::newRow("three characters give the 2nd only")
        << QStringList{"313", "333", "353", "373", "123", "345", "567", "789"} << "13572468";
    QTest::newRow("short first four give nothing")
        << QStringList{"31", "3", "", "3736", "1234", "3456", "5678", "7890"} << "6742648608";
    QTest::newRow("path characters become _")
        << QStringList{"3.3.", "3/3/", "3\\3\\", "3.3.", "1.", "1/", "1.", "1\n"}
        << "____________";
    QTest::newRow("ASCII letters, - and _ are kept")
        << QStringList{"3a3b", "3-3_", "3\u01053z", "3 3 ", "12", "34", "56", "78"}
        << QString("ba_-z_") + "__" + "2468";
}

void TestDrives::ovenNameFromIdentifierFields()
{
    QFETCH(QStringList, ids);
    QFETCH(QString, name);
    QStringList fields(90, "1");
    for (int i = 0; i < 8; ++i)
        fields[75 + i] = ids.at(i);
    QCOMPARE(ovenName(fields), name);
}

void TestDrives::ovenNameNeedsFieldEightyTwo()
{
    QStringList fields(83, "1");
    for (int i = 0; i < 8; ++i)
        fields[75 + i] = ovenA.at(i);
    QCOMPARE(ovenName(fields), "012345672468");
    fields.removeLast();
    QCOMPARE(ovenName(fields), "0");
}

void TestDrives::mountFieldEscapes_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("path");
    QTest::newRow("plain") << "/media/STICK" << "/media/STICK";
    QTest::newRow("blank") << "/media/MY\\040STICK" << "/media/MY STICK";
    QTest::newRow("tab and backslash") << "/m/a\\011b\\134c" << "/m/a\tb\\c";
    QTest::newRow("not an escape") << "/m/a\\9x\\04" << "/m/a\\9x\\04";
}

void TestDrives::mountFieldEscapes()
{
    QFETCH(QString, field);
    QFETCH(QString, path);
    QCOMPARE(LinuxDrives::unescapeMountField(field), path);
}

void TestDrives::linuxDrivesListRemovableVolumesInPathOrder()
{
    // A made-up device tree: class/block entries link into devices/, where a partition
    // is a sub-folder of its disk and only the disk carries the removable flag.
    const QString sys = m_dir->filePath("sys");
    auto disk = [&](const QString& name, const char* removable, const QStringList& parts) {
        writeFile(sys + "/devices/" + name + "/removable", removable);
        QVERIFY(QFile::link("../../devices/" + name, sys + "/class/block/" + name));
        for (const QString& part : parts) {
            writeFile(sys + "/devices/" + name + "/" + part + "/partition", "1");
            QVERIFY(QFile::link("../../devices/" + name + "/" + part, sys + "/class/block/" + part));
        }
    };
    QDir().mkpath(sys + "/class/block");
    disk("sda", "0", {"sda1", "sda2"});
    disk("sdb", "1", {"sdb1"});
    disk("sdc", "1", {"sdc1"});
    disk("sdd", "1", {});
    disk("loop0", "1", {});
    disk("dm-0", "1", {});

    const QString mnt = m_dir->filePath("mnt");
    for (const char* name : {"STICK ONE", "card10", "card9", "whole", "snap", "crypt", "hidden", "gone"})
        QDir().mkpath(mnt + "/" + name);
    const QString m = mnt + "/";
    const QByteArray table = ("/dev/sda2 / ext4 rw 0 0\n"
                              "proc /proc proc rw 0 0\n"
                              "/dev/sdb1 " + m + "STICK\\040ONE vfat rw 0 0\n"
                              "/dev/sdc1 " + m + "card10 vfat rw 0 0\n"
                              "/dev/sdc1 " + m + "card9 vfat rw 0 0\n"
                              "/dev/sdd " + m + "whole vfat rw 0 0\n"
                              "/dev/loop0 " + m + "snap squashfs ro 0 0\n"
                              "/dev/mapper/crypt " + m + "crypt ext4 rw 0 0\n"
                              "/dev/sdb1 " + m + "hidden vfat rw 0 0\n"
                              "/dev/sda1 " + m + "hidden ext4 rw 0 0\n"
                              "/dev/sdb1 " + m + "missing vfat rw 0 0\n"
                              "tmpfs /run tmpfs rw 0 0\n").toUtf8();
    writeFile(m_dir->filePath("mounts"), table);

    LinuxDrives drives(m_dir->filePath("mounts"), sys + "/class/block");
    QVERIFY(drives.isRemovableDevice("sdb1"));
    QVERIFY(drives.isRemovableDevice("sdd"));
    QVERIFY(!drives.isRemovableDevice("sda2"));
    QVERIFY(!drives.isRemovableDevice("loop0"));
    QVERIFY(!drives.isRemovableDevice("dm-0"));
    QVERIFY(!drives.isRemovableDevice("nvme0n1"));
    // "hidden" was mounted over by a fixed disk; "missing" has no folder.
    QCOMPARE(drives.removableRoots(),
             (QStringList{m + "card9", m + "card10", m + "STICK ONE", m + "whole"}));

    QVERIFY(LinuxDrives(m_dir->filePath("no such table"), sys).removableRoots().isEmpty());
}

void TestDrives::driveScan_data()
{
    QTest::addColumn<QStringList>("markers"); // the marker's name on each drive, "" for none
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("root");
    QTest::newRow("no removable drive") << QStringList{} << false << -1;
    QTest::newRow("one drive without marker") << QStringList{""} << false << -1;
    QTest::newRow("marked drive") << QStringList{"Kvaro.lerta"} << true << 0;
    QTest::newRow("marked drive first, another after it") << QStringList{"Kvaro.lerta", ""} << true << 0;
    QTest::newRow("marked drive second") << QStringList{"", "Kvaro.lerta"} << true << 1;
    QTest::newRow("two marked: the last") << QStringList{"Kvaro.lerta", "Kvaro.lerta", ""} << true << 1;
    QTest::newRow("marker in other case") << QStringList{"KVARO.LERTA"} << true << 0;
    QTest::newRow("a folder is no marker") << QStringList{"Kvaro.lerta/"} << false << -1;
}

void TestDrives::driveScan()
{
    QFETCH(QStringList, markers);
    QFETCH(bool, found);
    QFETCH(int, root);
    QStringList roots;
    for (int i = 0; i < markers.size(); ++i) {
        const QString r = m_dir->filePath(QString("stick%1").arg(i));
        QDir().mkpath(r);
        if (markers.at(i).endsWith('/'))
            QDir().mkpath(r + "/" + markers.at(i));
        else if (!markers.at(i).isEmpty())
            writeFile(r + "/" + markers.at(i), "");
        roots.append(r);
    }
    FakeDrives drives(roots);
    const DriveScan scan = Importer(drives, StorePaths(home()), '.').scan();
    QCOMPARE(scan.found, found);
    QCOMPARE(scan.root, root < 0 ? QString() : roots.at(root));
}

QTEST_GUILESS_MAIN(TestDrives)
#include "test_drives.moc"
