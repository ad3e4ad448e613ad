#include "store/fileops.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace kvaro {

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
    // The temporary name is hidden and does not end in ".csv", so no listing of cycle
    // files ever sees it, even when it is left behind by a crash.
    QTemporaryFile temporary(QDir(QFileInfo(path).absolutePath()).filePath(QStringLiteral(".kvaro-XXXXXX.part")));
    if (!temporary.open()) {
        error = temporary.errorString();
        return false;
    }
    if (temporary.write(bytes) != bytes.size() || !temporary.flush()) {
        error = temporary.errorString();
        return false;
    }
#ifdef Q_OS_UNIX
    if (::fsync(temporary.handle()) != 0) {
        error = QStringLiteral("the file could not be flushed to the disk");
        return false;
    }
#endif
    temporary.close();
    // QFile::rename refuses an existing target, unlike a plain rename(2).
    if (!QFile::rename(temporary.fileName(), path)) {
        error = QFileInfo::exists(path) ? QStringLiteral("the file already exists")
                                        : QStringLiteral("the file cannot be renamed into place");
        return false;
    }
    temporary.setAutoRemove(false);
    return true;
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
