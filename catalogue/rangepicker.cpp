#include "catalogue/rangepicker.h"

#include "base/language.h"

namespace kvaro {

RangePicker::RangePicker() : m_footer(QStringLiteral("Początek")) {}

bool RangePicker::click(const QDate& date, const Language& language)
{
    if (!date.isValid() || (m_maximum.isValid() && date > m_maximum))
        return false;
    // The calendar itself first selects the clicked day alone.
    setRange(date, date);
    if (m_clickState == 0) {
        m_firstDate = date;
        m_footer = language.text(Text::ChooseLastDay);
        m_clickState = 1;
    } else {
        setRange(m_firstDate, date);
        m_footer = language.text(Text::ChooseFirstDay);
        m_clickState = 0;
    }
    return true;
}

void RangePicker::relabel(const Language& language)
{
    const QString footer =
        language.text(m_clickState == 0 ? Text::ChooseFirstDay : Text::ChooseLastDay);
    if (!footer.isEmpty())
        m_footer = footer;
}

std::pair<QDate, QDate> RangePicker::confirmedRange(const QDate& today) const
{
    if (!m_start.isValid() || !m_end.isValid())
        return {today, today};
    return {m_start, m_end};
}

std::pair<QDateTime, QDateTime> RangePicker::timeLineRange(const QDate& from, const QDate& to)
{
    const QDate first = std::min(from, to);
    const QDate last = std::max(from, to);
    // Wall-clock days, like the sections drawn on them.
    return {QDateTime(first, QTime(0, 0), Qt::UTC),
            QDateTime(last.addDays(1), QTime(0, 0), Qt::UTC)};
}

void RangePicker::setRange(const QDate& a, const QDate& b)
{
    m_start = std::min(a, b);
    m_end = std::max(a, b);
}

} // namespace kvaro
