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

QString cannotOpen(const QString& path, const QString& reason)
{
    return QStringLiteral("Cannot open file \"%1\". %2").arg(QFileInfo(path).fileName(), reason);
}

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

QString LineBuffer::decode(const QByteArray& bytes, Encoding* encoding)
{
    const Encoding found = detectEncoding(bytes);
    if (encoding)
        *encoding = found;
    switch (found) {
    case Encoding::Utf8: {
        QStringDecoder decoder(QStringDecoder::Utf8);
        return decoder(bytes.mid(3));
    }
    case Encoding::Utf16LE: {
        QStringDecoder decoder(QStringDecoder::Utf16LE);
        return decoder(bytes.mid(2));
    }
    case Encoding::Utf16BE: {
        QStringDecoder decoder(QStringDecoder::Utf16BE);
        return decoder(bytes.mid(2));
    }
    case Encoding::Locale:
        break;
    }
    return QString::fromLocal8Bit(bytes);
}

QStringList LineBuffer::splitLines(const QString& text)
{
    QStringList lines;
    const qsizetype size = text.size();
    qsizetype start = 0;
    for (qsizetype i = 0; i < size; ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
            lines.append(text.mid(start, i - start));
            if (c == QLatin1Char('\r') && i + 1 < size && text.at(i + 1) == QLatin1Char('\n'))
                ++i;
            start = i + 1;
        }
    }
    // Text after the last line break is a line; a final line break adds none.
    if (start < size)
        lines.append(text.mid(start));
    return lines;
}

void LineBuffer::loadFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw Failure(cannotOpen(path, file.errorString()), path);
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw Failure(cannotOpen(path, file.errorString()), path);
    loadBytes(bytes, path);
}

void LineBuffer::loadBytes(const QByteArray& bytes, const QString& fileName)
{
    m_fileName = fileName;
    setText(decode(bytes, &m_encoding));
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

QString LineBuffer::line(int index) const
{
    if (index < 0 || index >= count())
        return {};
    const QString& whole = m_lines.at(index);
    return whole.size() > MaxLineLength ? whole.left(MaxLineLength) : whole;
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
