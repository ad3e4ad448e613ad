#include "cycles/cyclefiletext.h"

#include <QFile>

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

protected:
    bool hasRawLine(int index) override { return index >= 0 && index < m_buffer.count(); }
    bool isRawLineEmpty(int index) override { return m_buffer.line(index).isEmpty(); }
    QString rawLine(int index) override { return m_buffer.line(index); }
    QString rawLastLine() override { return m_buffer.line(m_buffer.trimmedCount() - 1); }

private:
    LineBuffer m_buffer;
};

// Reads forward in chunks under the line buffer's own rules, decoding bytes only up to the
// last line break read so far, so that a broken character at the very end reads as it
// does in a whole read.
class PartialText : public CycleFileText
{
public:
    PartialText(const QString& path, LineBuffer::Case letterCase)
        : m_path(path), m_file(path), m_case(letterCase)
    {
        if (!m_file.open(QIODevice::ReadOnly))
            LineBuffer::cannotRead(m_path, m_file.errorString());
        m_encoding = LineBuffer::detectEncoding(m_file.peek(3));
        m_bodyStart = LineBuffer::markSize(m_encoding);
        m_unit = LineBuffer::unitSize(m_encoding);
        m_file.seek(m_bodyStart);
        m_position = m_bodyStart;
    }

protected:
    bool hasRawLine(int index) override
    {
        while (index >= m_lines.size() && readMore()) {
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

    QByteArray readAt(qint64 offset, qint64 size)
    {
        if (!m_file.seek(offset))
            LineBuffer::cannotRead(m_path, m_file.errorString());
        QByteArray bytes = m_file.read(size);
        if (m_file.error() != QFileDevice::NoError)
            LineBuffer::cannotRead(m_path, m_file.errorString());
        return bytes;
    }

    // Adds the lines of the next chunk; false once the whole file has been cut.
    bool readMore()
    {
        if (m_finished)
            return false;
        const QByteArray bytes = readAt(m_position, m_chunk);
        m_position += bytes.size();
        const bool atEnd = bytes.size() < m_chunk || m_position >= m_file.size();
        m_chunk = std::min(m_chunk * 2, LargestChunk);
        m_undecoded += bytes;
        qsizetype decodable = m_undecoded.size();
        if (!atEnd) {
            qsizetype units = decodable / m_unit;
            while (units > 0 && !isBreak(m_undecoded, units - 1))
                --units;
            decodable = units * m_unit;
        }
        m_pending +=
            LineBuffer::decodeBody(QByteArrayView(m_undecoded).first(decodable), m_encoding);
        m_undecoded.remove(0, decodable);
        cutLines(atEnd);
        if (atEnd)
            m_finished = true;
        return true;
    }

    void cutLines(bool atEnd)
    {
        m_pending.remove(0, LineBuffer::cutLines(m_pending, atEnd, m_lines));
    }

    ushort unitAt(const QByteArray& bytes, qsizetype index) const
    {
        if (m_unit == 1)
            return uchar(bytes.at(index));
        const uchar a = uchar(bytes.at(index * 2));
        const uchar b = uchar(bytes.at(index * 2 + 1));
        return m_encoding == LineBuffer::Encoding::Utf16LE ? ushort(a | (b << 8))
                                                           : ushort((a << 8) | b);
    }

    bool isBreak(const QByteArray& bytes, qsizetype index) const
    {
        const ushort unit = unitAt(bytes, index);
        return unit == '\r' || unit == '\n';
    }

    QString readLastLine()
    {
        const qint64 size = m_file.size();
        // A half code unit at the end would decode to a replacement character on a whole
        // read; let the forward reader deal with such a file.
        if (m_finished || (size - m_bodyStart) % m_unit != 0) {
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
            while (end > 0 && isBreak(bytes, end - 1))
                --end;
            qsizetype begin = end;
            while (begin > 0 && !isBreak(bytes, begin - 1))
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

    QString m_path;
    QFile m_file;
    LineBuffer::Case m_case;
    LineBuffer::Encoding m_encoding = LineBuffer::Encoding::Locale;
    qint64 m_bodyStart = 0;
    qint64 m_position = 0;
    int m_unit = 1;
    qint64 m_chunk = FirstChunk;
    QByteArray m_undecoded; // read, but not yet up to a line break
    QString m_pending;
    QStringList m_lines;
    bool m_finished = false;
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
    return std::make_unique<PartialText>(path, letterCase);
}

} // namespace kvaro
