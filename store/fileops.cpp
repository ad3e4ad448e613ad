#include "store/fileops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace kvaro {

namespace {
// Tries at random names before giving up: only a folder flooded with our own leftovers
// runs out of them.
constexpr int MaxTemporaryNames = 100;
} // namespace

bool FileOps::exists(const QString& path) const
{
    const QFileInfo info(path);
    return info.exists() || info.isSymLink();
}

bool FileOps::isFolder(const QString& path) const
{
    return QFileInfo(path).isDir();
}

bool FileOps::readFile(const QString& path, QByteArray& bytes, QString& error) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = file.errorString();
        return false;
    }
    bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool FileOps::makeFolder(const QString& path, QString& error)
{
    if (QDir().mkpath(path) && QFileInfo(path).isDir())
        return true;
    error = QFileInfo(path).exists() ? QStringLiteral("a file of that name is in the way")
                                     : QStringLiteral("the folder cannot be created");
    return false;
}

bool FileOps::createFile(const QString& path, const QByteArray& bytes, QString& error)
{
    if (exists(path)) {
        error = QStringLiteral("the file already exists");
        return false;
    }
    // Not QTemporaryFile: it creates its files for the owner alone, and a store shared by
    // the accounts of one PC must stay readable to all of them.
    const QDir folder(QFileInfo(path).absolutePath());
    QFile temporary;
    for (int attempt = 0; attempt < MaxTemporaryNames && !temporary.isOpen(); ++attempt) {
        const QString name = temporaryNamePattern().replace(
            QLatin1Char('*'), QString::number(QRandomGenerator::global()->generate64(), 36));
        temporary.setFileName(folder.filePath(name));
        if (!temporary.open(QIODevice::WriteOnly | QIODevice::NewOnly) && !temporary.exists()) {
            error = temporary.errorString();
            return false;
        }
    }
    if (!temporary.isOpen()) {
        error = QStringLiteral("no free temporary name");
        return false;
    }
    const auto discard = [&temporary, &error](const QString& why) {
        error = why;
        temporary.close();
        temporary.remove();
        return false;
    };
    if (temporary.write(bytes) != bytes.size() || !temporary.flush())
        return discard(temporary.errorString());
#ifdef Q_OS_UNIX
    if (::fsync(temporary.handle()) != 0)
        return discard(QStringLiteral("the file could not be flushed to the disk"));
#endif
    temporary.close();
    // QFile::rename refuses an existing target, unlike a plain rename(2).
    if (!QFile::rename(temporary.fileName(), path)) {
        temporary.remove();
        error = QFileInfo::exists(path) ? QStringLiteral("the file already exists")
                                        : QStringLiteral("the file cannot be renamed into place");
        return false;
    }
    return true;
}

bool FileOps::syncFolder(const QString& path, QString& error)
{
#ifdef Q_OS_UNIX
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    const bool synced = ::fsync(fd) == 0 || errno == EINVAL || errno == ENOTSUP;
    if (!synced)
        error = QString::fromLocal8Bit(std::strerror(errno));
    ::close(fd);
    return synced;
#else
    Q_UNUSED(path);
    Q_UNUSED(error);
    return true;
#endif
}

bool FileOps::moveFile(const QString& from, const QString& to, QString& error)
{
    if (exists(to)) {
        error = QStringLiteral("the file already exists");
        return false;
    }
    QFile file(from);
    if (!file.rename(to)) {
        error = file.errorString();
        return false;
    }
    return true;
}

bool FileOps::removeFile(const QString& path, QString& error)
{
    QFile file(path);
    if (!file.remove()) {
        error = file.errorString();
        return false;
    }
    return true;
}

} // namespace kvaro
