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

// The digits of a name "P<number>.csv" whose number has no leading zero; empty for any
// other name.
QStringView plainNumber(const QString& name)
{
    const qsizetype digits = name.size() - 5;
    if (digits < 1 || name.at(0) != QLatin1Char('P') || !name.endsWith(QLatin1String(".csv")))
        return {};
    const QStringView number = QStringView(name).sliced(1, digits);
    if (number.size() > 1 && number.at(0) == QLatin1Char('0'))
        return {};
    for (const QChar c : number) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return {};
    }
    return number;
}

// naturalLess, answered at once for two plain cycle file names: in natural order they
// differ only in their numbers, and a shorter number is the smaller.
bool inOrder(const QString& a, const QString& b)
{
    const QStringView x = plainNumber(a);
    const QStringView y = plainNumber(b);
    if (x.isEmpty() || y.isEmpty())
        return naturalLess(a, b);
    return x.size() != y.size() ? x.size() < y.size() : x.compare(y) < 0;
}

// The same names in natural order, without sorting when the order known from before still
// holds: one comparison per name instead of a sort.
QStringList inNaturalOrder(QStringList names, const QStringList& knownOrder,
                           const std::function<bool(const QString&)>& isKnown)
{
    if (knownOrder.size() == names.size() && !names.isEmpty()) {
        const auto notBefore = [](const QString& a, const QString& b) { return !inOrder(a, b); };
        // Strictly increasing: no name twice. Then, as many distinct names as listed, each
        // listed one among them: the same names.
        if (std::adjacent_find(knownOrder.cbegin(), knownOrder.cend(), notBefore) ==
            knownOrder.cend()) {
            bool same = true;
            if (isKnown) {
                same = std::all_of(names.cbegin(), names.cend(), isKnown);
            } else {
                const QSet<QString> known(knownOrder.cbegin(), knownOrder.cend());
                same = std::all_of(names.cbegin(), names.cend(),
                                   [&](const QString& name) { return known.contains(name); });
            }
            if (same)
                return knownOrder;
        }
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

QStringList CycleFolder::cycleFiles(const QStringList& knownOrder,
                                    const std::function<bool(const QString&)>& isKnown) const
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
    return inNaturalOrder(std::move(names), knownOrder, isKnown);
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

QStringList CycleFolder::cycleFiles(const QStringList& knownOrder,
                                    const std::function<bool(const QString&)>& isKnown) const
{
    return inNaturalOrder(listCycleFiles(m_folder), knownOrder, isKnown);
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
