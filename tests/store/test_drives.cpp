#include "cycles/cyclename.h"
#include "store/drives.h"
#include "store/importer.h"
#include "tests/testfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using kvaro::testing::readFile;
using kvaro::testing::writeFile;

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
    void removableDevice_data();
    void removableDevice();
    void linuxDrivesListRemovableVolumesInPathOrder();

    void driveScan_data();
    void driveScan();

private:
    QString home() const { return m_dir->filePath("home"); }
    QString fakeDeviceTree() const;
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
        << QStringList{"3.3.", "3/3/", "3\\3\\", "3.3.", "1.", "1/", "1.", "1\n"} << "____________";
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
    QTest::newRow("plain") << "/media/STICK"
                           << "/media/STICK";
    QTest::newRow("blank") << "/media/MY\\040STICK"
                           << "/media/MY STICK";
    QTest::newRow("tab and backslash") << "/m/a\\011b\\134c"
                                       << "/m/a\tb\\c";
    QTest::newRow("not an escape") << "/m/a\\9x\\04"
                                   << "/m/a\\9x\\04";
}

void TestDrives::mountFieldEscapes()
{
    QFETCH(QString, field);
    QFETCH(QString, path);
    QCOMPARE(LinuxDrives::unescapeMountField(field), path);
}

// A made-up device tree shaped like the kernel's: class/block entries link into devices/,
// where a disk hangs below its bus, a partition is a sub-folder of its disk and only the
// disk carries the removable flag. Returns the class/block folder.
QString TestDrives::fakeDeviceTree() const
{
    const QString sys = m_dir->filePath("sys");
    QDir().mkpath(sys + "/class/block");
    const auto disk = [&](const QString& at, const char* removable, const QStringList& parts) {
        const QString name = at.section('/', -1);
        const QString device = sys + "/devices/" + at;
        writeFile(device + "/removable", removable);
        QFile::link(device, sys + "/class/block/" + name);
        for (const QString& part : parts) {
            writeFile(device + "/" + part + "/partition", "1");
            QFile::link(device + "/" + part, sys + "/class/block/" + part);
        }
    };
    const QString pci = "pci0000:00/0000:00:";
    disk(pci + "17.0/ata1/host0/target0:0:0/0:0:0:0/block/sda", "0", {"sda1", "sda2"});
    disk(pci + "14.0/usb1/1-1/1-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb", "1", {"sdb1"});
    disk(pci + "14.0/usb1/1-2/1-2:1.0/host7/target7:0:0/7:0:0:0/block/sdc", "1", {"sdc1"});
    disk(pci + "14.0/usb1/1-3/1-3:1.0/host8/target8:0:0/8:0:0:0/block/sdd", "1", {});
    // A USB card reader and a USB disk that leave the flag unset.
    disk(pci + "14.0/usb2/2-1/2-1:1.0/host9/target9:0:0/9:0:0:0/block/sde", "0", {"sde1"});
    // The card slot built into a laptop, and a flagged disk on no removable bus.
    disk(pci + "1c.0/0000:02:00.0/rtsx_pci_sdmmc.0/mmc_host/mmc0/mmc0:aaaa/block/mmcblk0", "0",
         {"mmcblk0p1"});
    disk(pci + "1d.0/ata2/host1/target1:0:0/1:0:0:0/block/sdf", "1", {});
    disk(pci + "1b.0/nvme/nvme0/nvme0n1", "0", {"nvme0n1p1"});
    disk("virtual/block/loop0", "1", {});
    disk("virtual/block/dm-0", "1", {});
    return sys + "/class/block";
}

void TestDrives::removableDevice_data()
{
    QTest::addColumn<QString>("device");
    QTest::addColumn<bool>("removable");
    QTest::newRow("partition of a flagged USB stick") << "sdb1" << true;
    QTest::newRow("flagged disk without partitions") << "sdd" << true;
    QTest::newRow("flagged disk on a fixed bus") << "sdf" << true;
    QTest::newRow("unflagged USB disk") << "sde1" << true;
    QTest::newRow("memory card in a built-in reader") << "mmcblk0p1" << true;
    QTest::newRow("the card's whole disk") << "mmcblk0" << true;
    QTest::newRow("fixed SATA partition") << "sda2" << false;
    QTest::newRow("fixed NVMe partition") << "nvme0n1p1" << false;
    QTest::newRow("loop file, though flagged") << "loop0" << false;
    QTest::newRow("device mapper, though flagged") << "dm-0" << false;
    QTest::newRow("no such device") << "sdz1" << false;
    QTest::newRow("a path, not a name") << "../sdb1" << false;
}

void TestDrives::removableDevice()
{
    QFETCH(QString, device);
    QFETCH(bool, removable);
    QCOMPARE(LinuxDrives(m_dir->filePath("mounts"), fakeDeviceTree()).isRemovableDevice(device),
             removable);
}

void TestDrives::linuxDrivesListRemovableVolumesInPathOrder()
{
    const QString blocks = fakeDeviceTree();
    const QString mnt = m_dir->filePath("mnt");
    for (const char* name : {"STICK ONE", "card10", "card9", "whole", "snap", "crypt", "hidden",
                             "gone", "SDCARD", "reader"})
        QDir().mkpath(mnt + "/" + name);
    const QString m = mnt + "/";
    const QByteArray table = ("/dev/sda2 / ext4 rw 0 0\n"
                              "proc /proc proc rw 0 0\n"
                              "/dev/sdb1 " +
                              m +
                              "STICK\\040ONE vfat rw 0 0\n"
                              "/dev/sdc1 " +
                              m +
                              "card10 vfat rw 0 0\n"
                              "/dev/sdc1 " +
                              m +
                              "card9 vfat rw 0 0\n"
                              "/dev/sdd " +
                              m +
                              "whole vfat rw 0 0\n"
                              "/dev/loop0 " +
                              m +
                              "snap squashfs ro 0 0\n"
                              "/dev/mapper/crypt " +
                              m +
                              "crypt ext4 rw 0 0\n"
                              "/dev/sdb1 " +
                              m +
                              "hidden vfat rw 0 0\n"
                              "/dev/sda1 " +
                              m +
                              "hidden ext4 rw 0 0\n"
                              "/dev/sdb1 " +
                              m +
                              "missing vfat rw 0 0\n"
                              "/dev/mmcblk0p1 " +
                              m +
                              "SDCARD vfat rw 0 0\n"
                              "/dev/sde1 " +
                              m +
                              "reader exfat rw 0 0\n"
                              "/dev/nvme0n1p1 /boot/efi vfat rw 0 0\n"
                              "tmpfs /run tmpfs rw 0 0\n")
                                 .toUtf8();
    writeFile(m_dir->filePath("mounts"), table);

    // "hidden" was mounted over by a fixed disk; "missing" has no folder.
    QCOMPARE(LinuxDrives(m_dir->filePath("mounts"), blocks).removableRoots(),
             (QStringList{m + "card9", m + "card10", m + "reader", m + "SDCARD", m + "STICK ONE",
                          m + "whole"}));

    QVERIFY(LinuxDrives(m_dir->filePath("no such table"), blocks).removableRoots().isEmpty());
}

void TestDrives::driveScan_data()
{
    QTest::addColumn<QStringList>("markers"); // the marker's name on each drive, "" for none
    QTest::addColumn<bool>("found");
    QTest::addColumn<int>("root");
    QTest::newRow("no removable drive") << QStringList{} << false << -1;
    QTest::newRow("one drive without marker") << QStringList{""} << false << -1;
    QTest::newRow("marked drive") << QStringList{"Kvaro.lerta"} << true << 0;
    QTest::newRow("marked drive first, another after it")
        << QStringList{"Kvaro.lerta", ""} << true << 0;
    QTest::newRow("marked drive second") << QStringList{"", "Kvaro.lerta"} << true << 1;
    QTest::newRow("two marked: the last")
        << QStringList{"Kvaro.lerta", "Kvaro.lerta", ""} << true << 1;
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
