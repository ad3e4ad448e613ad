#include "cycles/cyclefiletext.h"

#include <algorithm>
#include <cstring>
#include <optional>

namespace kvaro {

namespace {

class WholeText : public CycleFileText
{
public:
    WholeText(const QString& path, LineBuffer::Case letterCase) : m_buffer(letterCase)
    {
        m_buffer.loadFile(path);
    }
    WholeText(const RawFile& file, LineBuffer::Case letterCase) : m_buffer(letterCase)
    {
        m_buffer.loadBytes(file.readToEnd(0), file.path());
    }

protected:
    bool hasRawLine(int index) override { return index >= 0 && index < m_buffer.count(); }
    bool isRawLineEmpty(int index) override { return m_buffer.line(index).isEmpty(); }
    QString rawLine(int index) override { return m_buffer.line(index); }
    QString rawLastLine() override { return m_buffer.line(m_buffer.trimmedCount() - 1); }

private:
    LineBuffer m_buffer;
};

// Reads forward in chunks and cuts lines only as far as asked, under the line buffer's own
// rules. Each line is decoded on its own together with the break that ends it: decoding
// restarts clean after a break in every encoding read here, so the line reads exactly as
// in a whole read, a broken character before the break included. The file is taken as
// long as it was when opened: the head, the chunks and the tail all come from those bytes.
class PartialText : public CycleFileText
{
public:
    PartialText(RawFile file, LineBuffer::Case letterCase)
        : m_file(std::move(file)), m_size(m_file.size()), m_case(letterCase)
    {
        // One read gives the byte-order mark and, as a rule, the header and the first record.
        m_bytes = readAt(0, FirstChunk);
        m_encoding = LineBuffer::detectEncoding(m_bytes);
        m_bodyStart = LineBuffer::markSize(m_encoding);
        m_unit = LineBuffer::unitSize(m_encoding);
        m_position = m_bytes.size();
        m_atEnd = m_bytes.size() < FirstChunk || m_position >= m_size;
        m_bytes.remove(0, std::min<qsizetype>(m_bodyStart, m_bytes.size()));
    }

protected:
    bool hasRawLine(int index) override
    {
        while (index >= m_lines.size() && (cutLine() || readMore())) {
        }
        return index >= 0 && index < m_lines.size();
    }

    bool isRawLineEmpty(int index) override { return m_lines.at(index).isEmpty(); }

    QString rawLine(int index) override
    {
        return hasRawLine(index) ? LineBuffer::lineAsRead(m_lines.at(index), m_case) : QString();
    }

    QString rawLastLine() override
    {
        if (!m_last)
            m_last = LineBuffer::lineAsRead(readLastLine(), m_case);
        return *m_last;
    }

private:
    // The first record is as a rule within the first kilobyte; a reader that goes on
    // (the statistics) gets ever larger chunks.
    static constexpr qint64 FirstChunk = 4 * 1024;
    static constexpr qint64 LargestChunk = 256 * 1024;

    // Bytes of the file as it was opened: never beyond the size it had then.
    QByteArray readAt(qint64 offset, qint64 size)
    {
        return m_file.read(offset, std::max<qint64>(0, std::min(size, m_size - offset)));
    }

    // Appends the next chunk to the bytes not yet cut; false once the file is read.
    bool readMore()
    {
        if (m_atEnd)
            return false;
        const QByteArray bytes = readAt(m_position, m_chunk);
        m_position += bytes.size();
        m_atEnd = bytes.size() < m_chunk || m_position >= m_size;
        m_chunk = std::min(m_chunk * 2, LargestChunk);
        // What is cut goes first, so the bytes held never exceed a line and a chunk.
        m_bytes.remove(0, m_lineStart * m_unit);
        m_scanned -= m_lineStart;
        m_lineStart = 0;
        m_bytes += bytes;
        return true;
    }

    // Cuts the next line from the bytes read; false when they hold no whole line.
    bool cutLine()
    {
        const qsizetype units = m_bytes.size() / m_unit;
        qsizetype at = m_scanned;
        if (m_unit == 1) {
            // The first break: a LF, or a CR before it. Both searches end at the line's end.
            const char* begin = m_bytes.constData();
            const char* lf =
                static_cast<const char*>(std::memchr(begin + at, '\n', std::size_t(units - at)));
            const char* end = lf ? lf : begin + units;
            const char* cr = static_cast<const char*>(
                std::memchr(begin + at, '\r', std::size_t(end - (begin + at))));
            at = (cr ? cr : end) - begin;
        } else {
            while (at < units && !isBreak(at))
                ++at;
        }
        m_scanned = at;
        if (at == units) {
            // Text after the last break is a line, at the end of the file only, when it
            // decodes to any text at all (a half code unit included, as in a whole read).
            const qsizetype from = m_lineStart * m_unit;
            if (!m_atEnd || m_cutAll || from == m_bytes.size())
                return false;
            m_cutAll = true;
            QString last = decode(from, m_bytes.size() - from);
            if (last.isEmpty())
                return false;
            m_lines.append(std::move(last));
            return true;
        }
        qsizetype end = at + 1;
        if (unitAt(at) == '\r') {
            // A CR last in what is read may be half of a CR LF.
            if (end == units && !m_atEnd)
                return false;
            if (end < units && unitAt(end) == '\n')
                ++end;
        }
        QString line = decode(m_lineStart * m_unit, (end - m_lineStart) * m_unit);
        line.chop(end - at);
        m_lines.append(std::move(line));
        m_lineStart = m_scanned = end;
        return true;
    }

    QString decode(qsizetype from, qsizetype size) const
    {
        const QByteArrayView bytes = QByteArrayView(m_bytes).sliced(from, size);
        // ASCII reads the same in UTF-8 and in any locale encoding kvaro runs under.
        if (m_unit == 1 && isAscii(bytes))
            return QString::fromLatin1(bytes);
        return LineBuffer::decodeBody(bytes, m_encoding);
    }

    // Eight bytes at a time: every line of every cycle file passes here.
    static bool isAscii(QByteArrayView bytes)
    {
        const char* data = bytes.data();
        const qsizetype size = bytes.size();
        qsizetype i = 0;
        quint64 high = 0;
        for (; i + 8 <= size; i += 8) {
            quint64 word;
            std::memcpy(&word, data + i, 8);
            high |= word;
        }
        for (; i < size; ++i)
            high |= uchar(data[i]);
        return (high & 0x8080808080808080ull) == 0;
    }

    ushort unitAt(qsizetype index) const { return unitIn(m_bytes, index); }
    bool isBreak(qsizetype index) const { return breakIn(m_bytes, index); }

    ushort unitIn(const QByteArray& bytes, qsizetype index) const
    {
        if (m_unit == 1)
            return uchar(bytes.at(index));
        const uchar a = uchar(bytes.at(index * 2));
        const uchar b = uchar(bytes.at(index * 2 + 1));
        return m_encoding == LineBuffer::Encoding::Utf16LE ? ushort(a | (b << 8))
                                                           : ushort((a << 8) | b);
    }

    bool breakIn(const QByteArray& bytes, qsizetype index) const
    {
        const ushort unit = unitIn(bytes, index);
        return unit == '\r' || unit == '\n';
    }

    QString readLastLine()
    {
        const qint64 size = m_size;
        // A half code unit at the end would decode to a replacement character on a whole
        // read; let the forward reader deal with such a file.
        if (m_atEnd || (size - m_bodyStart) % m_unit != 0) {
            const int count = lineCount();
            return count > 0 ? m_lines.at(count - 1) : QString();
        }
        qint64 tail = 4096;
        for (;;) {
            const qint64 from = std::max(m_bodyStart, size - tail);
            const QByteArray bytes = readAt(from, size - from);
            qsizetype end = bytes.size() / m_unit; // in code units
            // The line breaks at the end: the last one ends the last line, any before it
            // end blank lines.
            while (end > 0 && breakIn(bytes, end - 1))
                --end;
            qsizetype begin = end;
            while (begin > 0 && !breakIn(bytes, begin - 1))
                --begin;
            // A line is whole once a break is seen before it, or the file's start; a tail
            // of nothing but breaks is looked at further back.
            if ((begin > 0 && end > 0) || from == m_bodyStart)
                return LineBuffer::decodeBody(
                    QByteArrayView(bytes).sliced(begin * m_unit, (end - begin) * m_unit),
                    m_encoding);
            tail *= 4;
        }
    }

    RawFile m_file;
    qint64 m_size = 0;
    LineBuffer::Case m_case;
    LineBuffer::Encoding m_encoding = LineBuffer::Encoding::Locale;
    qint64 m_bodyStart = 0;
    qint64 m_position = 0; // in the file: where the next chunk starts
    int m_unit = 1;
    qint64 m_chunk = FirstChunk * 2; // the head was the first
    bool m_atEnd = false;            // every byte of the file has been read
    bool m_cutAll = false;           // ... and cut into lines
    QByteArray m_bytes;              // read after the mark, from a line start on
    qsizetype m_lineStart = 0;       // in code units of m_bytes: where the next line starts
    qsizetype m_scanned = 0;         // ... and how far it has been looked through for a break
    QStringList m_lines;
    std::optional<QString> m_last;
};

} // namespace

bool CycleFileText::hasLine(int index)
{
    if (!hasRawLine(index))
        return false;
    for (int i = index; hasRawLine(i); ++i) {
        if (!isRawLineEmpty(i))
            return true;
    }
    return false;
}

int CycleFileText::lineCount()
{
    int count = 0;
    for (int i = 0; hasRawLine(i); ++i) {
        if (!isRawLineEmpty(i))
            count = i + 1;
    }
    return count;
}

std::unique_ptr<CycleFileText> CycleFileText::open(const QString& path, Reading reading,
                                                   LineBuffer::Case letterCase)
{
    if (reading == Reading::Whole)
        return std::make_unique<WholeText>(path, letterCase);
    return std::make_unique<PartialText>(RawFile::open(path), letterCase);
}

std::unique_ptr<CycleFileText> CycleFileText::open(RawFile file, Reading reading,
                                                   LineBuffer::Case letterCase)
{
    if (reading == Reading::Whole)
        return std::make_unique<WholeText>(file, letterCase);
    return std::make_unique<PartialText>(std::move(file), letterCase);
}

} // namespace kvaro
