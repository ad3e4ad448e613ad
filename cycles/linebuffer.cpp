#include "cycles/linebuffer.h"

#include "cycles/failure.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>

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

// Cycle files are plain ASCII; widening (and lower-casing) them in one pass is several
// times quicker than the general decoders, which matters for cycles of 100 000 records.
// Returns false, leaving text untouched, when a byte is not ASCII.
bool decodeAscii(const QByteArray& bytes, qsizetype from, bool lower, QString& text)
{
    const qsizetype size = bytes.size() - from;
    QString result(size, Qt::Uninitialized);
    const unsigned char* in = reinterpret_cast<const unsigned char*>(bytes.constData()) + from;
    char16_t* out = reinterpret_cast<char16_t*>(result.data());
    for (qsizetype i = 0; i < size; ++i) {
        const unsigned char c = in[i];
        if (c >= 0x80)
            return false;
        out[i] = char16_t(lower && c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
    }
    text = std::move(result);
    return true;
}

} // namespace

void LineBuffer::loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        cannotRead(path, file.errorString());
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        cannotRead(path, file.errorString());
    loadBytes(bytes, path);
}

void LineBuffer::loadBytes(const QByteArray& bytes, const QString& fileName)
{
    m_fileName = fileName;
    m_encoding = detectEncoding(bytes);
    // ASCII reads the same in UTF-8 and in any locale encoding kvaro runs under.
    if (m_encoding == Encoding::Locale || m_encoding == Encoding::Utf8) {
        QString text;
        if (decodeAscii(bytes, markSize(m_encoding), m_case == Case::Lower, text)) {
            m_lines = splitLines(text);
            return;
        }
    }
    setText(decode(bytes));
}

void LineBuffer::setText(const QString& text)
{
    // Lower-casing the whole text once is much cheaper than line by line.
    m_lines = splitLines(m_case == Case::Lower ? text.toLower() : text);
}

void LineBuffer::setLines(const QStringList& lines)
{
    m_lines = lines;
    if (m_case == Case::Lower) {
        for (QString& line : m_lines)
            line = line.toLower();
    }
}

void LineBuffer::replaceInLines(QChar from, QChar to)
{
    for (QString& line : m_lines)
        line.replace(from, to);
}

void LineBuffer::clear()
{
    m_lines.clear();
    m_fileName.clear();
}

int LineBuffer::trimmedCount() const
{
    int n = count();
    while (n > 0 && m_lines.at(n - 1).isEmpty())
        --n;
    return n;
}

QString LineBuffer::line(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return lineAsRead(m_lines.at(index), Case::Keep);
}

QString LineBuffer::text() const
{
    QString result;
    for (const QString& line : m_lines) {
        result += line;
        result += QLatin1String("\r\n");
    }
    return result;
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
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw Failure(QStringLiteral("Cannot create file \"%1\". %2")
                          .arg(QFileInfo(path).fileName(), file.errorString()),
                      path);
    file.write(toBytes());
    if (!file.commit())
        throw Failure(QStringLiteral("Cannot write file \"%1\". %2")
                          .arg(QFileInfo(path).fileName(), file.errorString()),
                      path);
}

} // namespace kvaro
