#include "cycles/rawfile.h"

#include "base/linebuffer.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace kvaro {

namespace {

// QFile's own words for a folder opened as a file.
QString openedFolder()
{
    return QStringLiteral("file to open is a directory");
}

} // namespace

RawFile::RawFile() = default;

RawFile::RawFile(RawFile&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_file(std::move(other.m_file)),
      m_path(std::move(other.m_path)), m_stamp(other.m_stamp)
{
}

RawFile& RawFile::operator=(RawFile&& other) noexcept
{
    if (this != &other) {
        RawFile old(std::move(*this));
        m_fd = std::exchange(other.m_fd, -1);
        m_file = std::move(other.m_file);
        m_path = std::move(other.m_path);
        m_stamp = other.m_stamp;
    }
    return *this;
}

#ifdef Q_OS_UNIX

RawFile::~RawFile()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

RawFile RawFile::open(const QString& path)
{
    RawFile file;
    file.m_path = path;
    const QByteArray name = QFile::encodeName(path);
    do {
        file.m_fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
    } while (file.m_fd < 0 && errno == EINTR);
    if (file.m_fd < 0)
        LineBuffer::cannotRead(path, qt_error_string(errno));
    struct stat status;
    if (::fstat(file.m_fd, &status) != 0)
        LineBuffer::cannotRead(path, qt_error_string(errno));
    if (S_ISDIR(status.st_mode))
        LineBuffer::cannotRead(path, openedFolder());
    file.m_stamp.size = status.st_size;
    file.m_stamp.modified = qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
    return file;
}

QByteArray RawFile::read(qint64 offset, qint64 size) const
{
    QByteArray bytes(size, Qt::Uninitialized);
    qint64 done = 0;
    // A network file system may hand over less than asked before the end.
    while (done < size) {
        const ssize_t got = ::pread(m_fd, bytes.data() + done, size_t(size - done), offset + done);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            LineBuffer::cannotRead(m_path, qt_error_string(errno));
        }
        if (got == 0)
            break;
        done += got;
    }
    bytes.truncate(done);
    return bytes;
}

#else

RawFile::~RawFile() = default;

RawFile RawFile::open(const QString& path)
{
    RawFile file;
    file.m_path = path;
    file.m_file = std::make_unique<QFile>(path);
    if (!file.m_file->open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        LineBuffer::cannotRead(path, file.m_file->errorString());
    const QFileInfo info(*file.m_file);
    file.m_stamp.size = file.m_file->size();
    file.m_stamp.modified =
        info.fileTime(QFileDevice::FileModificationTime).toMSecsSinceEpoch() * 1000000;
    return file;
}

QByteArray RawFile::read(qint64 offset, qint64 size) const
{
    if (!m_file->seek(offset))
        LineBuffer::cannotRead(m_path, m_file->errorString());
    QByteArray bytes = m_file->read(size);
    if (m_file->error() != QFileDevice::NoError)
        LineBuffer::cannotRead(m_path, m_file->errorString());
    return bytes;
}

#endif

QByteArray RawFile::readToEnd(qint64 offset) const
{
    QByteArray bytes;
    qint64 piece = std::max<qint64>(size() - offset + 1, 64 * 1024);
    for (;;) {
        const QByteArray more = read(offset + bytes.size(), piece);
        bytes += more;
        if (more.size() < piece)
            return bytes;
        piece = std::max<qint64>(piece, bytes.size());
    }
}

} // namespace kvaro
