#include "chart/recordfields.h"

#include "base/failure.h"
#include "base/linebuffer.h"
#include "cycles/cycleformat.h"
#include "cycles/fields.h"

#include <bit>
#include <charconv>
#include <cstring>

namespace kvaro {

void RecordFields::assign(const QString& line, int lineIndex)
{
    m_owned = LineBuffer::toLineBytes(line);
    assign(QByteArrayView(m_owned), lineIndex);
}

void RecordFields::assign(QByteArrayView line, int lineIndex)
{
    m_lineIndex = lineIndex;
    m_fields.clear();
    if (line.isEmpty())
        return;
    // ";" is a byte of its own in the line's bytes, never part of another character. A
    // third of a record's bytes are ";": eight bytes are looked at together, so the search
    // does not branch on every byte.
    const char* const begin = line.data();
    const qsizetype size = line.size();
    qsizetype start = 0;
    const auto cutAt = [&](qsizetype at) {
        m_fields.append(QByteArrayView(begin + start, at - start));
        start = at + 1;
    };
    qsizetype i = 0;
    if constexpr (std::endian::native == std::endian::little) {
        constexpr quint64 Ones = 0x0101010101010101ULL;
        constexpr quint64 Lows = 0x7F7F7F7F7F7F7F7FULL;
        for (; size - i >= 8; i += 8) {
            quint64 word;
            std::memcpy(&word, begin + i, sizeof word);
            const quint64 x = word ^ (Ones * ';');
            // The top bit of every byte that is ";", and of no other.
            quint64 found = ~(((x & Lows) + Lows) | x | Lows);
            for (; found; found &= found - 1)
                cutAt(i + std::countr_zero(found) / 8);
        }
    }
    for (; i < size; ++i) {
        if (begin[i] == ';')
            cutAt(i);
    }
    m_fields.append(QByteArrayView(begin + start, size - start));
    // Split gives no trailing empty field after an empty one (";;" is two fields).
    const qsizetype n = m_fields.size();
    if (n >= 2 && m_fields.at(n - 1).isEmpty() && m_fields.at(n - 2).isEmpty())
        m_fields.removeLast();
}

void RecordFields::fail(Failure failure) const
{
    failure.at(m_file, m_lineIndex);
    throw failure;
}

QByteArrayView RecordFields::bytes(int index) const
{
    if (index < 0 || index >= size())
        fail(Failure(QStringLiteral("List index out of bounds (%1)").arg(index)));
    return m_fields.at(index);
}

QString RecordFields::text(int index) const
{
    return LineBuffer::fromLineBytes(bytes(index));
}

int RecordFields::integer(int index) const
{
    const QByteArrayView field = bytes(index);
    // The controller writes plain short numbers; anything else takes the full conversion,
    // which also gives the failure text.
    if (!field.isEmpty() && field.size() <= 9) {
        qsizetype i = field.at(0) == '-' ? 1 : 0;
        int value = 0;
        bool plain = i < field.size();
        for (; plain && i < field.size(); ++i) {
            const char c = field.at(i);
            if (c < '0' || c > '9')
                plain = false;
            else
                value = value * 10 + (c - '0');
        }
        if (plain)
            return field.at(0) == '-' ? -value : value;
    }
    try {
        return toInteger(LineBuffer::fromLineBytes(field));
    } catch (Failure& failure) {
        fail(failure);
    }
}

std::optional<double> RecordFields::plainDecimal(QByteArrayView field)
{
    char buffer[48];
    if (field.isEmpty() || field.size() >= qsizetype(sizeof buffer))
        return std::nullopt;
    int digits = 0;
    bool point = false;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const char c = field.at(i);
        if (c >= '0' && c <= '9') {
            buffer[i] = c;
            ++digits;
        } else if ((c == '.' || c == ',') && !point) {
            buffer[i] = '.';
            point = true;
        } else if (c == '-' && i == 0) {
            buffer[i] = '-';
        } else {
            return std::nullopt;
        }
    }
    if (digits == 0)
        return std::nullopt;
    double value = 0;
    const auto result = std::from_chars(buffer, buffer + field.size(), value);
    if (result.ec != std::errc() || result.ptr != buffer + field.size())
        return std::nullopt;
    return value;
}

double RecordFields::decimal(int index) const
{
    const QByteArrayView field = bytes(index);
    if (const std::optional<double> value = plainDecimal(field))
        return *value;
    try {
        return toDecimal(LineBuffer::fromLineBytes(field));
    } catch (Failure& failure) {
        fail(failure);
    }
}

bool RecordFields::isRecordLine() const
{
    const QByteArrayView code = bytes(field::HeatingType);
    return code.size() == 1 && code.at(0) >= '0' && code.at(0) <= '3';
}

int RecordFields::timeOfDay() const
{
    const int hour = integer(field::Hour);
    const int minute = integer(field::Minute);
    const int second = integer(field::Second);
    try {
        return encodeTime(hour, minute, second);
    } catch (Failure& failure) {
        fail(failure);
    }
}

} // namespace kvaro
