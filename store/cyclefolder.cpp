#include "store/cyclefolder.h"

#include "store/naturalorder.h"
#include "store/storepaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <cstring>
#include <vector>

#ifdef Q_OS_UNIX
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kvaro {

namespace {

// The number of a name "P<number>.csv" whose number has no leading zero (and at most 18
// digits); -1 for any other name. Such names are in natural order when their numbers are.
qint64 plainNumber(QStringView name)
{
    const qsizetype digits = name.size() - 5;
    if (digits < 1 || digits > 18 || name.at(0) != QLatin1Char('P') ||
        !name.endsWith(QLatin1String(".csv")) || (digits > 1 && name.at(1) == QLatin1Char('0')))
        return -1;
    qint64 number = 0;
    for (const QChar c : name.sliced(1, digits)) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return -1;
        number = number * 10 + (c.unicode() - '0');
    }
    return number;
}

// Whether knownOrder holds exactly the listed names, in natural order: for plain names
// (nearly always) by their numbers, the same as the listed ones once those are sorted (the
// listed names are distinct, so no number twice); empty when a name is not plain.
std::optional<bool> sameByNumbers(const QStringList& names, const QStringList& knownOrder)
{
    std::vector<qint64> known(std::size_t(knownOrder.size()));
    std::vector<qint64> listed(std::size_t(names.size()));
    for (std::size_t i = 0; i < known.size(); ++i) {
        known[i] = plainNumber(knownOrder.at(qsizetype(i)));
        listed[i] = plainNumber(names.at(qsizetype(i)));
        if (known[i] < 0 || listed[i] < 0)
            return std::nullopt;
    }
    std::sort(listed.begin(), listed.end());
    return listed == known;
}

// The same names in natural order, without sorting when the order known from before still
// holds: one look at each name instead of a sort.
QStringList inNaturalOrder(QStringList names, const QStringList& knownOrder,
                           const std::function<bool(const QString&)>& isKnown)
{
    if (knownOrder.size() == names.size() && !names.isEmpty()) {
        const std::optional<bool> plain = sameByNumbers(names, knownOrder);
        if (plain && *plain)
            return knownOrder;
        const auto notBefore = [](const QString& a, const QString& b) {
            return !naturalLess(a, b);
        };
        // Strictly increasing: no name twice. Then, as many distinct names as listed, each
        // listed one among them: the same names.
        if (!plain && std::adjacent_find(knownOrder.cbegin(), knownOrder.cend(), notBefore) ==
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

// A listed name as QDir gives it, when it is a cycle file's name: the bytes decoded as the
// file system's names are, and ".csv" at the end in any letter case.
std::optional<QString> cycleFileName(const char* bytes)
{
    const std::size_t size = std::strlen(bytes);
    bool ascii = true;
    for (std::size_t i = 0; i < size && ascii; ++i)
        ascii = uchar(bytes[i]) < 0x80;
    QString name = ascii ? QString::fromLatin1(bytes, qsizetype(size)) : QFile::decodeName(bytes);
    if (!name.endsWith(QLatin1String(".csv"), Qt::CaseInsensitive))
        return std::nullopt;
    return name;
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

QStringList CycleFolder::listedCycleFiles() const
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
        std::optional<QString> name = cycleFileName(entry->d_name);
        if (!name)
            continue;
        // Files of every kind count, and links to them; folders do not, nor links to
        // folders. A link that leads nowhere counts, as the folder listing has it.
        bool folder = entry->d_type == DT_DIR;
        if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
            struct stat status;
            folder = ::fstatat(m_fd, entry->d_name, &status, 0) == 0 && S_ISDIR(status.st_mode);
        }
        if (!folder)
            names.append(std::move(*name));
    }
    ::closedir(dir);
    return names;
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

QStringList CycleFolder::listedCycleFiles() const
{
    return listCycleFiles(m_folder);
}

std::optional<FileStamp> CycleFolder::stamp(const QString& name) const
{
    const QFileInfo info(QDir(m_folder).filePath(name));
    if (!info.exists() || info.isDir())
        return std::nullopt;
    return FileStamp{info.size(), info.lastModified().toMSecsSinceEpoch() * 1000000};
}

#endif

QStringList CycleFolder::cycleFiles(const QStringList& knownOrder,
                                    const std::function<bool(const QString&)>& isKnown) const
{
    return naturalOrder(listedCycleFiles(), knownOrder, isKnown);
}

bool CycleFolder::inOrder(const QString& a, const QString& b)
{
    const qint64 x = plainNumber(a);
    const qint64 y = plainNumber(b);
    return x >= 0 && y >= 0 ? x < y : naturalLess(a, b);
}

QStringList CycleFolder::naturalOrder(QStringList names, const QStringList& knownOrder,
                                      const std::function<bool(const QString&)>& isKnown)
{
    return inNaturalOrder(std::move(names), knownOrder, isKnown);
}

} // namespace kvaro
