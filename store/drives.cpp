#include "store/drives.h"

#include "store/naturalorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>

#include <algorithm>

namespace kvaro {

namespace {

QString readSmallFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(file.readAll()).trimmed();
}

bool isOctalDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('7');
}

// A device below a USB controller ("usb1", "usb2") or an MMC/SD host ("mmc_host", "mmc0")
// has such a folder on its way down from the root of the device tree, "devices"; what lies
// above that root is no bus.
bool onRemovableBus(const QString& devicePath)
{
    const QStringList folders = devicePath.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    const qsizetype root = folders.indexOf(QLatin1String("devices"));
    return std::any_of(folders.cbegin() + (root < 0 ? 0 : root), folders.cend(),
                       [](const QString& folder) {
                           return folder.startsWith(QLatin1String("usb")) ||
                                  folder.startsWith(QLatin1String("mmc"));
                       });
}

} // namespace

LinuxDrives::LinuxDrives(QString mountTable, QString blockDevices)
    : m_mountTable(std::move(mountTable)), m_blockDevices(std::move(blockDevices))
{
    if (m_mountTable.isEmpty()) {
        m_mountTable = QStringLiteral("/proc/self/mounts");
        if (!QFileInfo::exists(m_mountTable))
            m_mountTable = QStringLiteral("/proc/mounts");
    }
    if (m_blockDevices.isEmpty())
        m_blockDevices = QStringLiteral("/sys/class/block");
}

QString LinuxDrives::unescapeMountField(const QString& field)
{
    QString result;
    result.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field.at(i);
        if (c == QLatin1Char('\\') && i + 3 < field.size() && isOctalDigit(field.at(i + 1)) &&
            isOctalDigit(field.at(i + 2)) && isOctalDigit(field.at(i + 3))) {
            const int code = (field.at(i + 1).unicode() - '0') * 64 +
                             (field.at(i + 2).unicode() - '0') * 8 +
                             (field.at(i + 3).unicode() - '0');
            result += QChar(code);
            i += 3;
        } else {
            result += c;
        }
    }
    return result;
}

bool LinuxDrives::isRemovableDevice(const QString& deviceName) const
{
    // Loop files and device-mapper volumes (LUKS, LVM) are never a controller's drive,
    // even when what lies beneath them is.
    if (deviceName.isEmpty() || deviceName.startsWith(QLatin1String("loop")) ||
        deviceName.startsWith(QLatin1String("dm-")) || deviceName.contains(QLatin1Char('/')))
        return false;
    const QString entry = QDir(m_blockDevices).filePath(deviceName);
    if (!QFileInfo::exists(entry))
        return false;
    // The class entry links into the device tree; where the device hangs in it tells the bus.
    const QString real = QFileInfo(entry).canonicalFilePath();
    if (real.isEmpty())
        return false;
    // Card readers built into a PC (mmc) never set the removable flag, and neither do many
    // USB card readers and disks; a volume on either bus is one the user can take away.
    if (onRemovableBus(real))
        return true;
    // A partition has no flag of its own: the whole disk is its parent folder in the tree.
    const bool partition = QFileInfo::exists(QDir(real).filePath(QStringLiteral("partition")));
    const QString disk = partition ? QFileInfo(real).absolutePath() : real;
    return readSmallFile(QDir(disk).filePath(QStringLiteral("removable"))) == QLatin1String("1");
}

QStringList LinuxDrives::removableRoots() const
{
    QFile table(m_mountTable);
    if (!table.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines =
        QString::fromLocal8Bit(table.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);

    // A later mount on the same path hides the earlier one, so the last entry decides.
    QMap<QString, QString> deviceAt;
    for (const QString& line : lines) {
        const QStringList parts = line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (parts.size() < 2)
            continue;
        deviceAt.insert(unescapeMountField(parts.at(1)), unescapeMountField(parts.at(0)));
    }

    QStringList roots;
    for (auto it = deviceAt.cbegin(); it != deviceAt.cend(); ++it) {
        QString device = it.value();
        if (!device.startsWith(QLatin1String("/dev/")))
            continue; // proc, tmpfs, network shares
        if (device.startsWith(QLatin1String("/dev/mapper/")))
            continue;
        // "/dev/disk/by-label/STICK" and the like name the device through a link.
        const QFileInfo info(device);
        if (info.isSymLink()) {
            const QString target = info.canonicalFilePath();
            if (!target.isEmpty())
                device = target;
        }
        if (isRemovableDevice(device.mid(5)) && QFileInfo(it.key()).isDir())
            roots.append(it.key());
    }
    std::sort(roots.begin(), roots.end(), naturalLess);
    return roots;
}

} // namespace kvaro
