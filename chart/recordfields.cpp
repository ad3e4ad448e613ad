#include "chart/recordfields.h"

#include "cycles/cycleformat.h"
#include "cycles/failure.h"
#include "cycles/fields.h"

#include <charconv>

namespace kvaro {

void RecordFields::assign(const QString& line, int lineIndex)
{
    m_line = line;
    m_lineIndex = lineIndex;
    m_fields.clear();
    if (m_line.isEmpty())
        return;
    const QStringView whole(m_line);
    qsizetype start = 0;
    for (;;) {
        const qsizetype at = whole.indexOf(QLatin1Char(';'), start);
        if (at < 0) {
            m_fields.append(whole.mid(start));
            break;
        }
        m_fields.append(whole.mid(start, at - start));
        start = at + 1;
    }
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

QStringView RecordFields::view(int index) const
{
    if (index < 0 || index >= size())
        fail(Failure(QStringLiteral("List index out of bounds (%1)").arg(index)));
    return m_fields.at(index);
}

int RecordFields::integer(int index) const
{
    const QStringView field = view(index);
    // The controller writes plain short numbers; anything else takes the full conversion,
    // which also gives the failure text.
    if (!field.isEmpty() && field.size() <= 9) {
        qsizetype i = field.at(0) == QLatin1Char('-') ? 1 : 0;
        int value = 0;
        bool plain = i < field.size();
        for (; plain && i < field.size(); ++i) {
            const char16_t c = field.at(i).unicode();
            if (c < u'0' || c > u'9')
                plain = false;
            else
                value = value * 10 + (c - u'0');
        }
        if (plain)
            return field.at(0) == QLatin1Char('-') ? -value : value;
    }
    try {
        return toInteger(field.toString());
    } catch (Failure& failure) {
        fail(failure);
    }
}

double RecordFields::decimal(int index) const
{
    const QStringView field = view(index);
    char buffer[48];
    bool plain = !field.isEmpty() && field.size() < qsizetype(sizeof buffer);
    int digits = 0;
    bool point = false;
    for (qsizetype i = 0; plain && i < field.size(); ++i) {
        const char16_t c = field.at(i).unicode();
        if (c >= u'0' && c <= u'9') {
            buffer[i] = char(c);
            ++digits;
        } else if ((c == u'.' || c == u',') && !point) {
            buffer[i] = '.';
            point = true;
        } else if (c == u'-' && i == 0) {
            buffer[i] = '-';
        } else {
            plain = false;
        }
    }
    if (plain && digits > 0) {
        double value = 0;
        const auto result = std::from_chars(buffer, buffer + field.size(), value);
        if (result.ec == std::errc() && result.ptr == buffer + field.size())
            return value;
    }
    try {
        return toDecimal(field.toString());
    } catch (Failure& failure) {
        fail(failure);
    }
}

bool RecordFields::isRecordLine() const
{
    const QStringView code = view(field::HeatingType);
    return code.size() == 1 && code.at(0) >= QLatin1Char('0') && code.at(0) <= QLatin1Char('3');
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
