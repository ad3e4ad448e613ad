#pragma once

#include <QString>
#include <QStringList>

namespace kvaro {

// The removable volumes the import may look at, each by its root folder. The controller
// writes to a USB stick or a memory card; nothing on a fixed disk is ever imported.
class Drives
{
public:
    virtual ~Drives() = default;
    // Root folders of the mounted removable volumes, in the order of their mount paths.
    virtual QStringList removableRoots() const = 0;
};

// Linux: the mount table, and for each volume its place in the kernel's device tree: a
// volume is removable when its disk carries the "removable" flag (a USB stick sets it) or
// when it sits on a USB or MMC/SD bus (card readers, USB disks). Both paths can be pointed
// elsewhere so the parsing can be tried on made-up files.
class LinuxDrives : public Drives
{
public:
    explicit LinuxDrives(QString mountTable = {}, QString blockDevices = {});

    QStringList removableRoots() const override;

    // One line of the mount table: "device mountpoint type options ...". The kernel
    // writes blanks, tabs, newlines and backslashes in paths as \040, \011, \012, \134.
    static QString unescapeMountField(const QString& field);
    // Whether the block device (a name below /dev, "sdb1") is on a removable disk or bus.
    bool isRemovableDevice(const QString& deviceName) const;

private:
    QString m_mountTable;
    QString m_blockDevices;
};

// For tests and the command line: the given folders are the removable drives, in order.
class FakeDrives : public Drives
{
public:
    explicit FakeDrives(QStringList roots) : m_roots(std::move(roots)) {}
    QStringList removableRoots() const override { return m_roots; }

private:
    QStringList m_roots;
};

} // namespace kvaro
