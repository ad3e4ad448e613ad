#pragma once

#include <QByteArray>
#include <QString>

#include <memory>

class QFile;

namespace kvaro {

// How long a file is and when it last changed: what tells a reading kept from an earlier
// look at the file from a stale one.
struct FileStamp {
    qint64 size = -1;
    qint64 modified = 0; // nanoseconds since 1970-01-01 UTC

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// One file opened for reading pieces of it at given offsets. Choosing an oven reads a head
// and a tail of thousands of files, so each costs what the system allows and no more: one
// open, one status call, one read per piece, one close. Failures carry the texts a QFile
// gives for the same cause, so a message does not depend on the reader that met the file.
class RawFile
{
public:
    RawFile();
    RawFile(RawFile&& other) noexcept;
    RawFile& operator=(RawFile&& other) noexcept;
    ~RawFile();

    // Opens path for reading; throws the line buffer's "cannot read" Failure naming it.
    static RawFile open(const QString& path);

    const QString& path() const { return m_path; }
    // Size and modification time when the file was opened.
    const FileStamp& stamp() const { return m_stamp; }
    qint64 size() const { return m_stamp.size; }

    // Up to size bytes from offset; fewer only where the file ends. Throws like open().
    QByteArray read(qint64 offset, qint64 size) const;
    // Everything from offset to the end, however long the file has grown since it was opened.
    QByteArray readToEnd(qint64 offset) const;

private:
    int m_fd = -1;                 // POSIX systems
    std::unique_ptr<QFile> m_file; // elsewhere
    QString m_path;
    FileStamp m_stamp;
};

} // namespace kvaro
