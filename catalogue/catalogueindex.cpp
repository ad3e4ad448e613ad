#include "catalogue/catalogueindex.h"

#include "base/platform.h"
#include "store/cyclefolder.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QtEndian>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace kvaro {

namespace {

// The file: a fixed head (magic, format version, payload length, payload check), then the
// payload. The version changes with the payload's layout, for instance when the cycle
// list keeps more figures per file; a file of another version is read again from the
// cycle files, never converted.
constexpr char Magic[8] = {'K', 'V', 'A', 'R', 'O', 'I', 'D', 'X'};
constexpr quint32 FormatVersion = 2;
constexpr qsizetype HeadSize = 8 + 4 + 8 + 8;

// A check of the payload against damage (not against malice): 64 bits, eight bytes a step.
quint64 checkOf(QByteArrayView bytes)
{
    quint64 check = 0x243F6A8885A308D3ull ^ quint64(bytes.size());
    const auto mix = [&](quint64 word) {
        check = (check ^ word) * 0x9E3779B97F4A7C15ull;
        check ^= check >> 29;
    };
    const char* data = bytes.data();
    qsizetype i = 0;
    for (; i + 8 <= bytes.size(); i += 8)
        mix(qFromLittleEndian<quint64>(data + i));
    quint64 last = 0;
    for (int shift = 0; i < bytes.size(); ++i, shift += 8)
        last |= quint64(uchar(data[i])) << shift;
    mix(last);
    return check;
}

enum Flag : quint8 {
    Failed = 1,
    NoValidRecord = 2,
    Undated = 4,
    Dated = 8,
    HasStart = 16,
    HasEnd = 32,
    HasFigures = 64,
    HasTrend = 128,
};

class Writer
{
public:
    void byte(quint8 value) { m_bytes.append(char(value)); }
    void int32(qint32 value)
    {
        char bytes[4];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, 4);
    }
    void int64(qint64 value)
    {
        char bytes[8];
        qToLittleEndian(value, bytes);
        m_bytes.append(bytes, 8);
    }
    void text(const QString& text) { block(text.toUtf8()); }
    void block(const QByteArray& bytes)
    {
        int32(qint32(bytes.size()));
        m_bytes.append(bytes);
    }
    void stamp(const CycleStamp& s)
    {
        for (const int value : {s.year, s.month, s.day, s.hour, s.minute})
            int32(value);
    }
    void measured(const Measured& m)
    {
        int32(m.value);
        text(m.failure);
    }
    QByteArray& bytes() { return m_bytes; }

private:
    QByteArray m_bytes;
};

class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool ok() const { return m_ok; }
    bool atEnd() const { return m_at == m_bytes.size(); }

    quint8 byte() { return take(1) ? quint8(m_bytes[m_at - 1]) : 0; }
    qint32 int32() { return take(4) ? qFromLittleEndian<qint32>(m_bytes.data() + m_at - 4) : 0; }
    qint64 int64() { return take(8) ? qFromLittleEndian<qint64>(m_bytes.data() + m_at - 8) : 0; }
    QString text() { return QString::fromUtf8(block()); }
    QByteArrayView block()
    {
        const qint32 size = int32();
        if (size < 0 || !take(size))
            return {};
        return m_bytes.sliced(m_at - size, size);
    }
    CycleStamp stamp()
    {
        CycleStamp s;
        for (int* value : {&s.year, &s.month, &s.day, &s.hour, &s.minute})
            *value = int32();
        return s;
    }
    Measured measured()
    {
        Measured m;
        m.value = int32();
        m.failure = text();
        return m;
    }

private:
    bool take(qsizetype size)
    {
        if (!m_ok || size > m_bytes.size() - m_at) {
            m_ok = false;
            return false;
        }
        m_at += size;
        return true;
    }

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
    bool m_ok = true;
};

void writeFile(Writer& out, const QString& name, const IndexedFile& file)
{
    const CatalogueEntry& e = file.entry;
    quint8 flags = 0;
    flags |= e.failure ? Failed : 0;
    flags |= e.noValidRecord ? NoValidRecord : 0;
    flags |= e.undated ? Undated : 0;
    flags |= e.date.isValid() ? Dated : 0;
    flags |= e.start ? HasStart : 0;
    flags |= e.end ? HasEnd : 0;
    flags |= file.figures ? HasFigures : 0;
    flags |= file.trend ? HasTrend : 0;
    out.text(name);
    out.int64(file.stamp.size);
    out.int64(file.stamp.modified);
    out.byte(flags);
    if (e.failure)
        out.text(*e.failure);
    if (e.date.isValid())
        out.int64(e.date.toJulianDay());
    out.text(e.startTime);
    if (e.start)
        out.stamp(*e.start);
    if (e.end)
        out.stamp(*e.end);
    for (const RecordRow* row : {&e.startRow, &e.endRow}) {
        out.int32(row->count);
        out.text(row->text);
    }
    if (file.figures) {
        out.int32(file.figures->temperature);
        out.measured(file.figures->held);
        out.byte(file.figures->length ? 1 : 0);
        if (file.figures->length)
            out.measured(*file.figures->length);
    }
    if (file.trend)
        out.block(*file.trend);
}

IndexedFile readFile(Reader& in)
{
    IndexedFile file;
    CatalogueEntry& e = file.entry;
    file.stamp.size = in.int64();
    file.stamp.modified = in.int64();
    const quint8 flags = in.byte();
    if (flags & Failed)
        e.failure = in.text();
    e.noValidRecord = flags & NoValidRecord;
    e.undated = flags & Undated;
    if (flags & Dated)
        e.date = QDate::fromJulianDay(in.int64());
    e.startTime = in.text();
    if (flags & HasStart)
        e.start = in.stamp();
    if (flags & HasEnd)
        e.end = in.stamp();
    for (RecordRow* row : {&e.startRow, &e.endRow}) {
        row->count = in.int32();
        row->text = in.text();
    }
    if (flags & HasFigures) {
        CycleFigures figures;
        figures.temperature = in.int32();
        figures.held = in.measured();
        if (in.byte())
            figures.length = in.measured();
        file.figures = figures;
    }
    if (flags & HasTrend)
        file.trend = in.block().toByteArray();
    return file;
}

// Another file under the name, then renamed over the old one: a reader finds the old index
// or the new one, whole. No wait for the disk: an index cut short by a crash fails its check.
void writeAtomically(const QString& path, const QByteArray& bytes)
{
#ifdef Q_OS_UNIX
    QTemporaryFile file(path + QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (!file.open())
        return;
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (!written || std::rename(QFile::encodeName(file.fileName()).constData(),
                                QFile::encodeName(path).constData()) != 0)
        file.remove();
#else
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(bytes);
        file.commit();
    }
#endif
}

} // namespace

int OvenIndex::position(const QString& name) const
{
    const auto at = std::lower_bound(names.cbegin(), names.cend(), name, CycleFolder::inOrder);
    return at != names.cend() && *at == name ? int(at - names.cbegin()) : -1;
}

CatalogueIndex::CatalogueIndex(QString folder, const Clock* clock)
    : m_folder(std::move(folder)), m_clock(clock)
{
}

QString CatalogueIndex::userFolder()
{
    // $XDG_CACHE_HOME when it is an absolute path, ~/.cache otherwise.
    return QDir(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation))
        .filePath(QStringLiteral("kvaro"));
}

CatalogueIndex& CatalogueIndex::user()
{
    static CatalogueIndex index(userFolder());
    return index;
}

QString CatalogueIndex::fileOf(const QString& ovenFolder) const
{
    const QByteArray hash =
        QCryptographicHash::hash(QDir(ovenFolder).absolutePath().toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(24);
    return QDir(m_folder).filePath(QStringLiteral("oven-") + QString::fromLatin1(hash) +
                                   QStringLiteral(".index"));
}

CatalogueIndex::Use CatalogueIndex::lastUse() const
{
    QMutexLocker lock(&m_mutex);
    return m_lastUse;
}

OvenIndex CatalogueIndex::take(const QString& ovenFolder)
{
    const QString absolute = QDir(ovenFolder).absolutePath();
    QMutexLocker lock(&m_mutex);
    // Handed over, not copied: the build changes it in place. A second build of the same
    // oven meanwhile reads the file instead.
    if (m_held && m_held->ovenFolder == absolute) {
        OvenIndex held = std::move(*m_held);
        m_held.reset();
        return held;
    }
    lock.unlock();
    QFile file(fileOf(absolute));
    std::optional<OvenIndex> read;
    if (file.open(QIODevice::ReadOnly))
        read = decode(file.readAll(), absolute);
    if (!read) {
        read.emplace();
        read->ovenFolder = absolute;
    }
    return *read;
}

void CatalogueIndex::keep(OvenIndex oven, bool changed, Use use)
{
    QMutexLocker lock(&m_mutex);
    m_lastUse = use;
    if (changed) {
        // A cache that cannot be written is no failure: the next choice reads the files.
        QDir().mkpath(m_folder);
        writeAtomically(fileOf(oven.ovenFolder), encode(oven));
    }
    m_held = std::move(oven);
}

bool CatalogueIndex::settled(const FileStamp& stamp, qint64 nowNanoseconds)
{
    // Well beyond the coarsest clock a file system keeps (two seconds), and a network
    // share's clock a little ahead of this one.
    constexpr qint64 Margin = qint64(10) * 1000000000;
    return stamp.modified < nowNanoseconds - Margin;
}

qint64 CatalogueIndex::now() const
{
    return m_clock ? m_clock->now().toMSecsSinceEpoch() * 1000000 : nowNanoseconds();
}

qint64 CatalogueIndex::nowNanoseconds()
{
    return QDateTime::currentMSecsSinceEpoch() * 1000000;
}

QByteArray CatalogueIndex::encode(const OvenIndex& oven)
{
    Writer out;
    out.bytes().append(Magic, sizeof Magic);
    out.int32(qint32(FormatVersion));
    out.int64(0); // payload length and check, once known
    out.int64(0);
    out.text(oven.ovenFolder);
    out.int32(qint32(oven.names.size()));
    for (qsizetype i = 0; i < oven.names.size(); ++i)
        writeFile(out, oven.names.at(i), oven.files.at(i));
    QByteArray& bytes = out.bytes();
    const QByteArrayView payload = QByteArrayView(bytes).sliced(HeadSize);
    qToLittleEndian(qint64(payload.size()), bytes.data() + 12);
    qToLittleEndian(checkOf(payload), bytes.data() + 20);
    return bytes;
}

std::optional<OvenIndex> CatalogueIndex::decode(const QByteArray& bytes, const QString& ovenFolder)
{
    if (bytes.size() < HeadSize || std::memcmp(bytes.constData(), Magic, sizeof Magic) != 0 ||
        qFromLittleEndian<quint32>(bytes.constData() + 8) != FormatVersion)
        return std::nullopt;
    const QByteArrayView payload = QByteArrayView(bytes).sliced(HeadSize);
    if (qFromLittleEndian<qint64>(bytes.constData() + 12) != payload.size() ||
        qFromLittleEndian<quint64>(bytes.constData() + 20) != checkOf(payload))
        return std::nullopt;
    Reader in(payload);
    OvenIndex oven;
    oven.ovenFolder = in.text();
    if (oven.ovenFolder != QDir(ovenFolder).absolutePath())
        return std::nullopt;
    const qint32 count = in.int32();
    if (count < 0 || count > payload.size())
        return std::nullopt;
    oven.names.reserve(count);
    oven.files.reserve(count);
    for (qint32 i = 0; i < count && in.ok(); ++i) {
        QString name = in.text();
        IndexedFile file = readFile(in);
        // In natural order, no name twice: what a build writes, and what finding relies on.
        if (!oven.names.isEmpty() && !CycleFolder::inOrder(oven.names.last(), name))
            return std::nullopt;
        oven.append(name, std::move(file));
    }
    if (!in.ok() || !in.atEnd())
        return std::nullopt;
    return oven;
}

} // namespace kvaro
