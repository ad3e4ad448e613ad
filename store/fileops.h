#pragma once

#include <QByteArray>
#include <QString>

namespace kvaro {

// The file operations the import makes on the drive and in the store, behind one seam so
// a test can make a write-protected drive or a store that cannot be written. None of them
// ever replaces an existing file: every failure is returned with the system's reason.
class FileOps
{
public:
    virtual ~FileOps() = default;

    // Any entry of that name: file, folder or link.
    virtual bool exists(const QString& path) const;
    virtual bool isFolder(const QString& path) const;
    virtual bool readFile(const QString& path, QByteArray& bytes, QString& error) const;
    // Creates the folder and its parents; true when it is there afterwards.
    virtual bool makeFolder(const QString& path, QString& error);
    // Writes a new file through a temporary file in the same folder, flushed to the disk
    // and then renamed into place, so a half-written copy never carries the name. The file
    // gets the modes any new file of the user gets (the umask decides). Fails when path
    // already exists.
    virtual bool createFile(const QString& path, const QByteArray& bytes, QString& error);
    // Flushes the folder's entries to the disk, so a file created or renamed in it is
    // still there after a power cut. True where the file system has nothing to flush.
    virtual bool syncFolder(const QString& path, QString& error);
    // Renames within one volume; fails when to already exists.
    virtual bool moveFile(const QString& from, const QString& to, QString& error);
    virtual bool removeFile(const QString& path, QString& error);

    // The names createFile gives its temporary files: hidden, and not "*.csv", so no
    // listing of cycle files ever sees one, even when a crash leaves it behind.
    static QString temporaryNamePattern() { return QStringLiteral(".kvaro-*.part"); }
};

} // namespace kvaro
