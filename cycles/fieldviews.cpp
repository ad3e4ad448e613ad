#include "cycles/fieldviews.h"

namespace kvaro {

FieldViews::FieldViews(QStringView line, int most) : m_line(line)
{
    const QLatin1Char sep(';');
    QStringView rest = line;
    while (!rest.isEmpty() && m_fields.size() < most) {
        const qsizetype at = rest.indexOf(sep);
        if (at < 0) {
            m_fields.append(rest);
            rest = {};
        } else {
            m_fields.append(rest.left(at));
            rest = rest.mid(at + 1);
            // The empty field after a final separator, where Split adds one.
            if (rest.isEmpty() && at > 0 && m_fields.size() < most)
                m_fields.append(line.sliced(line.size()));
        }
    }
}

bool FieldViews::startsWithHeatingType() const
{
    if (m_fields.isEmpty())
        return false;
    const QStringView code = m_fields.at(0);
    return code.size() == 1 && code.at(0) >= QLatin1Char('0') && code.at(0) <= QLatin1Char('3');
}

QStringView FieldViews::joined(int count) const
{
    count = std::min(count, size());
    if (count <= 0)
        return m_line.first(0);
    const QStringView last = m_fields.at(count - 1);
    return m_line.first(last.data() + last.size() - m_line.data());
}

std::optional<int> plainInteger(QStringView field)
{
    if (field.isEmpty() || field.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar c : field) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

} // namespace kvaro
