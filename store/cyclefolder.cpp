#include "store/cyclefolder.h"

#include "store/naturalorder.h"
#include "store/storepaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kvaro {

namespace {

bool isCycleFileName(const QString& name)
{
    return name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive);
}

// The same names in natural order, without sorting when the order known from before still
// holds: one comparison per name instead of a sort.
QStringList inNaturalOrder(QStringList names, const QStringList& knownOrder)
{
    if (knownOrder.size() == names.size() && !names.isEmpty()) {
        const QSet<QString> listed(names.cbegin(), names.cend());
        const bool same = std::all_of(knownOrder.cbegin(), knownOrder.cend(),
                                      [&](const QString& name) { return listed.contains(name); });

        const auto notBefore = [](const QString& a, const QString& b) {
            return !naturalLess(a, b);
        };
        // Strictly increasing: no name twice, so these are exactly the names listed.
        if (same && std::adjacent_find(knownOrder.cbegin(), knownOrder.cend(), notBefore) ==
                        knownOrder.cend())
            return knownOrder;
    }
    sortNaturally(names);
    return names;
}

} // namespace

#ifdef Q_OS_UNIX

CycleFolder::CycleFolder(const QString& folder) : m_folder(folder)
{
    const QByteArray path = QFile::encodeName(folder.isEmpty() ? QStringLiteral(".") : folder);
    do {
        m_fd = ::open(path.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    } while (m_fd < 0 && errno == EINTR);
}

CycleFolder::~CycleFolder()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QStringList CycleFolder::cycleFiles(const QStringList& knownOrder) const
{
    QStringList names;
    if (m_fd < 0)
        return names;
    // The stream gets a descriptor of its own: this one stays for the status calls.
    const int fd = ::dup(m_fd);
    if (fd < 0)
        return names;
    DIR* dir = ::fdopendir(fd);
    if (!dir) {
        ::close(fd);
        return names;
    }
    ::rewinddir(dir);
    while (const dirent* entry = ::readdir(dir)) {
        const QString name = QFile::decodeName(entry->d_name);
        if (!isCycleFileName(name))
            continue;
        // Files of every kind count, and links to them; folders do not, nor links to
        // folders. A link that leads nowhere counts, as the folder listing has it.
        bool folder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat status;
            folder = ::fstatat(m_fd, entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
        }
        if (!folder)
            names.append(name);
    }
    ::closedir(dir);
    return inNaturalOrder(std::move(names), knownOrder);
}

std::optional<FileStamp> CycleFolder::stamp(const QString& name) const
{
    if (m_fd < 0)
        return std::nullopt;
    struct stat status;
    if (::fstatat(m_fd, QFile::encodeName(name).constData(), &status, 0) != 0 ||
        S_ISDIR(status.st_mode))
        return std::nullopt;
    return FileStamp{status.st_size,
                     qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

#else

CycleFolder::CycleFolder(const QString& folder) : m_folder(folder) {}

CycleFolder::~CycleFolder() = default;

QStringList CycleFolder::cycleFiles(const QStringList& knownOrder) const
{
    return inNaturalOrder(listCycleFiles(m_folder), knownOrder);
}

std::optional<FileStamp> CycleFolder::stamp(const QString& name) const
{
    const QFileInfo info(QDir(m_folder).filePath(name));
    if (!info.exists() || info.isDir())
        return std::nullopt;
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000};
}

#endif

} // namespace kvaro
