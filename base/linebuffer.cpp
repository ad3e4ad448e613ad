#include "base/linebuffer.h"

#include "base/failure.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <array>
#include <cstring>

namespace kvaro {

namespace {

const char utf8Bom[] = "\xEF\xBB\xBF";
const char utf16LeBom[] = "\xFF\xFE";
const char utf16BeBom[] = "\xFE\xFF";

} // namespace

LineBuffer::LineBuffer(Case letterCase) : m_case(letterCase) {}

LineBuffer::Encoding LineBuffer::detectEncoding(const QByteArray& bytes)
{
    if (bytes.startsWith(utf8Bom))
        return Encoding::Utf8;
    if (bytes.startsWith(utf16LeBom))
        return Encoding::Utf16LE;
    if (bytes.startsWith(utf16BeBom))
        return Encoding::Utf16BE;
    return Encoding::Locale;
}

int LineBuffer::markSize(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return 3;
    case Encoding::Utf16LE:
    case Encoding::Utf16BE:
        return 2;
    case Encoding::Locale:
        break;
    }
    return 0;
}

int LineBuffer::unitSize(Encoding encoding)
{
    return encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE ? 2 : 1;
}

QString LineBuffer::decodeBody(QByteArrayView body, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Utf8:
        return QStringDecoder(QStringDecoder::Utf8)(body);
    case Encoding::Utf16LE:
        return QStringDecoder(QStringDecoder::Utf16LE)(body);
    case Encoding::Utf16BE:
        return QStringDecoder(QStringDecoder::Utf16BE)(body);
    case Encoding::Locale:
        break;
    }
    return QString::fromLocal8Bit(body);
}

QString LineBuffer::decode(const QByteArray& bytes, Encoding* encoding)
{
    const Encoding found = detectEncoding(bytes);
    if (encoding)
        *encoding = found;
    return decodeBody(QByteArrayView(bytes).sliced(markSize(found)), found);
}

qsizetype LineBuffer::cutLines(QStringView text, bool atEnd, QStringList& lines)
{
    const char16_t* const begin = text.utf16();
    const char16_t* const end = begin + text.size();
    const char16_t* start = begin;
    for (const char16_t* p = begin; p < end; ++p) {
        if (*p != u'\r' && *p != u'\n')
            continue;
        if (*p == u'\r' && p + 1 == end && !atEnd)
            break;
        lines.append(QString(reinterpret_cast<const QChar*>(start), p - start));
        if (*p == u'\r' && p + 1 < end && p[1] == u'\n')
            ++p;
        start = p + 1;
    }
    // Text after the last line break is a line; a final line break adds none.
    if (atEnd && start < end) {
        lines.append(QString(reinterpret_cast<const QChar*>(start), end - start));
        start = end;
    }
    return start - begin;
}

QStringList LineBuffer::splitLines(const QString& text)
{
    QStringList lines;
    cutLines(text, true, lines);
    return lines;
}

QString LineBuffer::lineAsRead(QString line, Case letterCase)
{
    if (letterCase == Case::Lower)
        line = line.toLower();
    if (line.size() > MaxLineLength)
        line.truncate(MaxLineLength);
    return line;
}

void LineBuffer::cannotRead(const QString& path, const QString& reason)
{
    throw Failure(
        QStringLiteral("Cannot open file \"%1\". %2").arg(QFileInfo(path).fileName(), reason),
        path);
}

namespace {

// Eight bytes at a time: a 100 000-record cycle is 25 MB, and most of its words hold
// neither a line break nor an upper-case letter worth a look of its own.
using Word = quint64;
constexpr Word Ones = 0x0101010101010101ULL;
constexpr Word Highs = 0x8080808080808080ULL;

constexpr bool hasByte(Word word, unsigned char byte)
{
    const Word x = word ^ (Ones * byte);
    return ((x - Ones) & ~x & Highs) != 0;
}

// Every byte must be ASCII: then adding to a byte carries into no other byte.
constexpr Word lowerAscii(Word word)
{
    const Word fromA = word + Ones * (0x80 - 'A');
    const Word pastZ = word + Ones * (0x80 - 'Z' - 1);
    return word | (((fromA ^ pastZ) & Highs) >> 2);
}

bool isAscii(QByteArrayView bytes)
{
    const char* p = bytes.data();
    qsizetype n = bytes.size();
    for (; n >= qsizetype(sizeof(Word)); n -= sizeof(Word), p += sizeof(Word)) {
        Word word;
        std::memcpy(&word, p, sizeof word);
        if (word & Highs)
            return false;
    }
    for (; n > 0; --n, ++p) {
        if (static_cast<unsigned char>(*p) >= 0x80)
            return false;
    }
    return true;
}

// The bytes one UTF-16 unit takes, from its first byte.
int sequenceSize(unsigned char lead)
{
    return lead < 0xC0 ? 1 : lead < 0xE0 ? 2 : 3;
}

} // namespace

// Appends the lines of data from `from` on and lower-cases ASCII letters in place when
// asked (only with asciiOnly). With asciiOnly it gives up, returning false, at the first
// byte beyond ASCII; the bytes before it may be lower-cased already, which no
// ASCII-compatible decoding of the text tells apart from lower-casing after it.
template <typename Spans>
static bool cutByteLines(char* data, qsizetype from, qsizetype size, bool lower, bool asciiOnly,
                         Spans& spans)
{
    qsizetype start = from;
    qsizetype i = from;
    while (i < size) {
        qsizetype stop = size;
        if (size - i >= qsizetype(sizeof(Word))) {
            Word word;
            std::memcpy(&word, data + i, sizeof word);
            if (asciiOnly && (word & Highs))
                return false;
            if (!hasByte(word, '\r') && !hasByte(word, '\n')) {
                if (lower) {
                    word = lowerAscii(word);
                    std::memcpy(data + i, &word, sizeof word);
                }
                i += sizeof word;
                continue;
            }
            stop = i + qsizetype(sizeof word);
        }
        for (; i < stop; ++i) {
            const unsigned char c = static_cast<unsigned char>(data[i]);
            if (c == '\r' || c == '\n') {
                spans.append(typename Spans::value_type{start, i});
                if (c == '\r' && i + 1 < size && data[i + 1] == '\n')
                    ++i;
                start = i + 1;
            } else if (asciiOnly && c >= 0x80) {
                return false;
            } else if (lower && c >= 'A' && c <= 'Z') {
                data[i] = char(c + ('a' - 'A'));
            }
        }
    }
    // Text after the last line break is a line; a final line break adds none.
    if (start < size)
        spans.append(typename Spans::value_type{start, size});
    return true;
}

QByteArray LineBuffer::toLineBytes(QStringView text)
{
    qsizetype size = 0;
    for (const QChar c : text)
        size += c.unicode() < 0x80 ? 1 : c.unicode() < 0x800 ? 2 : 3;
    QByteArray bytes(size, Qt::Uninitialized);
    unsigned char* out = reinterpret_cast<unsigned char*>(bytes.data());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            *out++ = static_cast<unsigned char>(u);
        } else if (u < 0x800) {
            *out++ = static_cast<unsigned char>(0xC0 | (u >> 6));
            *out++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
        } else {
            *out++ = static_cast<unsigned char>(0xE0 | (u >> 12));
            *out++ = static_cast<unsigned char>(0x80 | ((u >> 6) & 0x3F));
            *out++ = static_cast<unsigned char>(0x80 | (u & 0x3F));
        }
    }
    return bytes;
}

QString LineBuffer::fromLineBytes(QByteArrayView bytes)
{
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(text.data());
    const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes.data());
    const unsigned char* const end = in + bytes.size();
    qsizetype units = 0;
    while (in < end) {
        const unsigned char lead = *in;
        const int size = sequenceSize(lead);
        if (end - in < size) {
            out[units++] = QChar::ReplacementCharacter;
            break;
        }
        if (size == 1)
            out[units++] = lead < 0x80 ? char16_t(lead) : char16_t(QChar::ReplacementCharacter);
        else if (size == 2)
            out[units++] = char16_t(((lead & 0x1F) << 6) | (in[1] & 0x3F));
        else
            out[units++] = char16_t(((lead & 0x0F) << 12) | ((in[1] & 0x3F) << 6) | (in[2] & 0x3F));
        in += size;
    }
    text.truncate(units);
    return text;
}

void LineBuffer::loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        cannotRead(path, file.errorString());
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        cannotRead(path, file.errorString());
    file.close();
    m_fileName = path;
    // The bytes read are this buffer's alone: lower-cased where they lie, never copied.
    load(std::move(bytes));
}

void LineBuffer::loadBytes(const QByteArray& bytes, const QString& fileName)
{
    m_fileName = fileName;
    load(bytes);
}

void LineBuffer::load(QByteArray bytes)
{
    m_encoding = detectEncoding(bytes);
    const qsizetype from = markSize(m_encoding);
    const bool lower = m_case == Case::Lower;
    // ASCII reads the same in UTF-8 and in any locale encoding kvaro runs under.
    if (m_encoding == Encoding::Locale || m_encoding == Encoding::Utf8) {
        // Only lower-casing writes; without it the caller's bytes are shared, not copied.
        char* data = lower ? bytes.data() : const_cast<char*>(bytes.constData());
        QList<Span> spans;
        if (cutByteLines(data, from, bytes.size(), lower, true, spans)) {
            m_bytes = std::move(bytes);
            m_spans = std::move(spans);
            return;
        }
    }
    QString text = decodeBody(QByteArrayView(bytes).sliced(from), m_encoding);
    bytes = QByteArray();
    // Lower-casing the whole text once is much cheaper than line by line.
    if (lower)
        text = text.toLower();
    setLineBytes(toLineBytes(text));
}

void LineBuffer::setLineBytes(QByteArray bytes)
{
    QList<Span> spans;
    cutByteLines(bytes.data(), 0, bytes.size(), false, false, spans);
    m_bytes = std::move(bytes);
    m_spans = std::move(spans);
}

void LineBuffer::setText(const QString& text)
{
    setLineBytes(toLineBytes(m_case == Case::Lower ? text.toLower() : text));
}

void LineBuffer::setLines(const QStringList& lines)
{
    // A line given whole is a line, whatever it holds: its ends are kept, not looked for.
    QByteArray bytes;
    QList<Span> spans;
    spans.reserve(lines.size());
    for (const QString& line : lines) {
        const qsizetype begin = bytes.size();
        bytes.append(toLineBytes(m_case == Case::Lower ? line.toLower() : line));
        spans.append({begin, bytes.size()});
    }
    m_bytes = std::move(bytes);
    m_spans = std::move(spans);
}

void LineBuffer::replaceInLines(QChar from, QChar to)
{
    replaceInLines({{from, to}});
}

void LineBuffer::replaceInLines(const QList<std::pair<QChar, QChar>>& replacements)
{
    bool ascii = true;
    bool breaks = false;
    for (const auto& [from, to] : replacements) {
        ascii = ascii && from.unicode() < 0x80 && to.unicode() < 0x80;
        breaks = breaks || from == QLatin1Char('\r') || from == QLatin1Char('\n');
    }
    if (!ascii) {
        // A character of another size: the lines are written anew.
        QByteArray bytes;
        QList<Span> spans;
        spans.reserve(m_spans.size());
        for (int i = 0; i < count(); ++i) {
            QString line = fromLineBytes(wholeLineBytes(i));
            for (const auto& [from, to] : replacements)
                line.replace(from, to);
            const qsizetype begin = bytes.size();
            bytes.append(toLineBytes(line));
            spans.append({begin, bytes.size()});
        }
        m_bytes = std::move(bytes);
        m_spans = std::move(spans);
        return;
    }

    std::array<unsigned char, 256> map;
    for (int b = 0; b < 256; ++b)
        map[std::size_t(b)] = static_cast<unsigned char>(b);
    for (const auto& [from, to] : replacements) {
        for (unsigned char& b : map) {
            if (b == from.unicode())
                b = static_cast<unsigned char>(to.unicode());
        }
    }
    // Normalising changes two bytes at most: compared one by one, which compilers turn
    // into vector code, rather than looked up in the map byte by byte.
    unsigned char changed[2] = {};
    unsigned char into[2] = {};
    int changes = 0;
    for (int b = 0; b < 256; ++b) {
        if (map[std::size_t(b)] == b)
            continue;
        if (changes < 2) {
            changed[changes] = static_cast<unsigned char>(b);
            into[changes] = map[std::size_t(b)];
        }
        ++changes;
    }
    if (changes == 0)
        return;
    unsigned char* data = reinterpret_cast<unsigned char*>(m_bytes.data());
    const auto replace = [&](qsizetype begin, qsizetype end) {
        if (changes > 2) {
            for (qsizetype k = begin; k < end; ++k)
                data[k] = map[data[k]];
            return;
        }
        // With one change, the second pair changes nothing.
        const unsigned char a = changed[0], ta = into[0];
        const unsigned char b = changes == 2 ? changed[1] : changed[0];
        const unsigned char tb = changes == 2 ? into[1] : into[0];
        for (qsizetype k = begin; k < end; ++k) {
            const unsigned char c = data[k];
            data[k] = c == a ? ta : c == b ? tb : c;
        }
    };
    // The bytes between lines are line breaks (and a byte-order mark, beyond ASCII), which
    // only a line break to be replaced would touch.
    if (!breaks) {
        replace(0, m_bytes.size());
        return;
    }
    for (const Span& span : std::as_const(m_spans))
        replace(span.begin, span.end);
}

void LineBuffer::clear()
{
    m_bytes.clear();
    m_spans.clear();
    m_fileName.clear();
}

int LineBuffer::trimmedCount() const
{
    int n = count();
    while (n > 0 && m_spans.at(n - 1).begin == m_spans.at(n - 1).end)
        --n;
    return n;
}

QByteArrayView LineBuffer::wholeLineBytes(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const Span& span = m_spans.at(index);
    return QByteArrayView(m_bytes.constData() + span.begin, span.end - span.begin);
}

QByteArrayView LineBuffer::lineBytes(int index) const
{
    const QByteArrayView whole = wholeLineBytes(index);
    // No more UTF-16 units than bytes: a line this short needs no cut.
    if (whole.size() <= MaxLineLength)
        return whole;
    qsizetype at = 0;
    for (int units = 0; units < MaxLineLength && at < whole.size(); ++units)
        at += sequenceSize(static_cast<unsigned char>(whole.at(at)));
    return whole.first(std::min(at, whole.size()));
}

QString LineBuffer::line(int index) const
{
    return fromLineBytes(lineBytes(index));
}

QStringList LineBuffer::lines() const
{
    QStringList result;
    result.reserve(count());
    for (int i = 0; i < count(); ++i)
        result.append(fromLineBytes(wholeLineBytes(i)));
    return result;
}

QString LineBuffer::text() const
{
    QByteArray bytes;
    for (int i = 0; i < count(); ++i) {
        bytes.append(wholeLineBytes(i));
        bytes.append("\r\n");
    }
    return fromLineBytes(bytes);
}

QByteArray LineBuffer::toBytes() const
{
    const QString body = text();
    switch (m_encoding) {
    case Encoding::Utf8: {
        QStringEncoder encoder(QStringEncoder::Utf8);
        return QByteArray(utf8Bom) + QByteArray(encoder(body));
    }
    case Encoding::Utf16LE: {
        QStringEncoder encoder(QStringEncoder::Utf16LE);
        return QByteArray(utf16LeBom, 2) + QByteArray(encoder(body));
    }
    case Encoding::Utf16BE: {
        QStringEncoder encoder(QStringEncoder::Utf16BE);
        return QByteArray(utf16BeBom, 2) + QByteArray(encoder(body));
    }
    case Encoding::Locale:
        break;
    }
    return body.toLocal8Bit();
}

void LineBuffer::saveFile(const QString& path) const
{
    saveBytes(path, toBytes());
}

void LineBuffer::saveBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw WriteFailure(path, file.errorString());
    file.write(bytes);
    if (!file.commit())
        throw WriteFailure(path, file.errorString());
}

} // namespace kvaro
