#include "cycles/fields.h"

#include "base/failure.h"
#include "base/linebuffer.h"
#include "cycles/cycleformat.h"

#include <cmath>
#include <limits>

namespace kvaro {

void Split(const QString& str, const QString& sep, QStringList& list)
{
    list.clear();
    if (sep.isEmpty()) {
        if (!str.isEmpty())
            list.append(str);
        return;
    }
    QStringView rest(str);
    while (!rest.isEmpty()) {
        const qsizetype at = rest.indexOf(sep);
        if (at < 0) {
            list.append(rest.toString());
            rest = {};
        } else if (at == 0) {
            list.append(QString());
            rest = rest.mid(sep.size());
        } else {
            list.append(rest.left(at).toString());
            rest = rest.mid(at + sep.size());
            if (rest.isEmpty())
                list.append(QString());
        }
    }
}

QStringList Split(const QString& str, const QString& sep)
{
    QStringList list;
    Split(str, sep, list);
    return list;
}

namespace {

// Lines of bytes cut as LineBuffer cuts text: CR LF, CR or LF end a line, and text after
// the last break is a line. Stops when visit returns false.
template <typename Visit> void forEachByteLine(QByteArrayView bytes, Visit visit)
{
    qsizetype start = 0;
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        const char c = bytes.at(i);
        if (c != '\r' && c != '\n')
            continue;
        if (!visit(bytes.sliced(start, i - start)))
            return;
        if (c == '\r' && i + 1 < size && bytes.at(i + 1) == '\n')
            ++i;
        start = i + 1;
    }
    if (start < size)
        visit(bytes.sliced(start));
}

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

Failure notInteger(const QString& text)
{
    return Failure(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

Failure notDecimal(const QString& text)
{
    return Failure(QStringLiteral("'%1' is not a valid floating point value").arg(text));
}

} // namespace

std::optional<bool> Normalisation::cutAtSemicolon(QStringView line)
{
    qsizetype cut = 0;
    while (cut < line.size() && line.at(cut) != QLatin1Char(',') &&
           line.at(cut) != QLatin1Char(';'))
        ++cut;
    const QStringView code = line.left(cut);
    if (code.size() != 1 || code.at(0) < QLatin1Char('0') || code.at(0) > QLatin1Char('3'))
        return std::nullopt;
    return cut < line.size() && line.at(cut) == QLatin1Char(';');
}

Normalisation Normalisation::of(bool cutAtSemicolon, QChar decimalSeparator)
{
    return Normalisation{cutAtSemicolon ? decimalSeparator : QLatin1Char(';'), decimalSeparator};
}

Normalisation Normalisation::forLines(const QStringList& lines, QChar decimalSeparator)
{
    for (const QString& line : lines) {
        if (const auto cut = cutAtSemicolon(line))
            return of(*cut, decimalSeparator);
    }
    return of(false, decimalSeparator);
}

void normalise(LineBuffer& buffer, QChar decimalSeparator)
{
    // Judged on the bytes: only a line's first two characters count, and they are ASCII
    // whenever they can make a verdict.
    std::optional<bool> cut;
    for (int i = 0; i < buffer.count() && !cut; ++i) {
        const QByteArrayView line = buffer.lineBytes(i);
        if (line.isEmpty() || line.at(0) < '0' || line.at(0) > '3')
            continue;
        if (line.size() == 1 || line.at(1) == ',')
            cut = false;
        else if (line.at(1) == ';')
            cut = true;
    }
    const Normalisation rule = Normalisation::of(cut.value_or(false), decimalSeparator);
    // "," first: on a "," locale the decimal commas made from "." must stay commas.
    QList<std::pair<QChar, QChar>> replacements;
    if (rule.comma != QLatin1Char(','))
        replacements.append({QLatin1Char(','), rule.comma});
    if (rule.point != QLatin1Char('.'))
        replacements.append({QLatin1Char('.'), rule.point});
    if (!replacements.isEmpty())
        buffer.replaceInLines(replacements);
}

QByteArray normalisedCopy(const QByteArray& raw, QChar decimalSeparator)
{
    if (LineBuffer::detectEncoding(raw) != LineBuffer::Encoding::Locale) {
        LineBuffer buffer(LineBuffer::Case::Lower);
        buffer.loadBytes(raw);
        normalise(buffer, decimalSeparator);
        return buffer.toBytes();
    }

    // Only ASCII is looked at; every byte above it passes unchanged, whatever code page
    // it belongs to.
    std::optional<bool> cut;
    forEachByteLine(raw, [&](QByteArrayView line) {
        // Latin-1 maps byte to character one to one: the verdict sees the ASCII as it is.
        cut = Normalisation::cutAtSemicolon(QString::fromLatin1(line));
        return !cut;
    });
    const Normalisation rule = Normalisation::of(cut.value_or(false), decimalSeparator);
    const QByteArray comma = QString(rule.comma).toLocal8Bit();
    const QByteArray point = QString(rule.point).toLocal8Bit();

    QByteArray copy;
    copy.reserve(raw.size() + raw.size() / 32 + 2);
    forEachByteLine(raw, [&](QByteArrayView line) {
        for (const char c : line) {
            if (c >= 'A' && c <= 'Z')
                copy.append(char(c - 'A' + 'a'));
            else if (c == ',')
                copy.append(comma);
            else if (c == '.')
                copy.append(point);
            else
                copy.append(c);
        }
        copy.append("\r\n");
        return true;
    });
    return copy;
}

int toInteger(const QString& text)
{
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && text.at(i) == QLatin1Char(' '))
        ++i;
    bool negative = false;
    if (i < size && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i >= size)
        throw notInteger(text);
    qint64 value = 0;
    for (; i < size; ++i) {
        const QChar c = text.at(i);
        if (!isDigit(c))
            throw notInteger(text);
        value = value * 10 + (c.unicode() - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            throw notInteger(text);
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        throw notInteger(text);
    return int(value);
}

double toDecimal(const QString& text)
{
    // Sign, digits with at most one decimal point, optional exponent; nothing else.
    QByteArray plain;
    plain.reserve(text.size());
    qsizetype i = 0;
    const qsizetype size = text.size();
    while (i < size && text.at(i) == QLatin1Char(' '))
        ++i;
    if (i < size && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
        plain.append(char(text.at(i++).unicode()));
    int digits = 0;
    bool point = false;
    for (; i < size; ++i) {
        const QChar c = text.at(i);
        if (isDigit(c)) {
            plain.append(char(c.unicode()));
            ++digits;
        } else if ((c == QLatin1Char('.') || c == QLatin1Char(',')) && !point) {
            plain.append('.');
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0)
        throw notDecimal(text);
    if (i < size && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        plain.append('e');
        ++i;
        if (i < size && (text.at(i) == QLatin1Char('+') || text.at(i) == QLatin1Char('-')))
            plain.append(char(text.at(i++).unicode()));
        int exponentDigits = 0;
        for (; i < size && isDigit(text.at(i)); ++i) {
            plain.append(char(text.at(i).unicode()));
            ++exponentDigits;
        }
        if (exponentDigits == 0)
            throw notDecimal(text);
    }
    if (i != size)
        throw notDecimal(text);
    bool ok = false;
    const double value = plain.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        throw notDecimal(text);
    return value;
}

int encodeTime(int hour, int minute, int second)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        throw Failure(QStringLiteral("Invalid argument to time encode"));
    return hour * 3600 + minute * 60 + second;
}

bool isHeatingTypeCode(const QString& field)
{
    return field == QLatin1String("0") || field == QLatin1String("1") ||
           field == QLatin1String("2") || field == QLatin1String("3");
}

Record::Record(const QString& line, QString file, int lineIndex)
    : m_fields(Split(line)), m_file(std::move(file)), m_line(lineIndex)
{
}

Record::Record(QStringList fields, QString file, int lineIndex)
    : m_fields(std::move(fields)), m_file(std::move(file)), m_line(lineIndex)
{
}

void Record::rethrow(const Failure& failure) const
{
    Failure placed = failure;
    placed.at(m_file, m_line);
    throw placed;
}

const QString& Record::field(int index) const
{
    if (index < 0 || index >= size())
        rethrow(Failure(QStringLiteral("List index out of bounds (%1)").arg(index)));
    return m_fields.at(index);
}

int Record::integer(int index) const
{
    const QString& text = field(index);
    try {
        return toInteger(text);
    } catch (const Failure& failure) {
        rethrow(failure);
    }
}

double Record::decimal(int index) const
{
    const QString& text = field(index);
    try {
        return toDecimal(text);
    } catch (const Failure& failure) {
        rethrow(failure);
    }
}

bool Record::is(int index, const QString& value) const
{
    return field(index) == value;
}

bool Record::isRecordLine() const
{
    return isHeatingTypeCode(field(field::HeatingType));
}

int Record::timeOfDay() const
{
    const int hour = integer(field::Hour);
    const int minute = integer(field::Minute);
    const int second = integer(field::Second);
    try {
        return encodeTime(hour, minute, second);
    } catch (const Failure& failure) {
        rethrow(failure);
    }
}

} // namespace kvaro
