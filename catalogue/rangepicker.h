#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

#include <utility>

namespace kvaro {

class Language;

// What the date-range picker remembers between clicks, without a window: odd clicks start a
// range, even clicks complete it. The state lives for the program's run; opening, closing
// or confirming the popup leaves it as it is.
class RangePicker
{
public:
    RangePicker();

    int RangeClickState() const { return m_clickState; }
    QDate RangeFirstDate() const { return m_firstDate; }

    // The calendar's range, earlier day first; invalid before any day was chosen.
    QDate rangeStart() const { return m_start; }
    QDate rangeEnd() const { return m_end; }
    QString footerCaption() const { return m_footer; }
    // The language was switched: the footer says what the next click does, in it.
    void relabel(const Language& language);

    // Days after this one cannot be chosen; renewed each time the popup opens.
    void setMaximumDate(const QDate& date) { m_maximum = date; }
    QDate maximumDate() const { return m_maximum; }

    // A click on a day. Returns false, changing nothing, for a day after the maximum.
    bool click(const QDate& date, const Language& language);

    // The range the confirm button lists: today when no day was ever chosen.
    std::pair<QDate, QDate> confirmedRange(const QDate& today) const;

    // The time line shows the first day from 00:00 to the day after the last day, 00:00,
    // in wall-clock time without a zone (held as UTC), as CycleStamp gives the sections.
    static std::pair<QDateTime, QDateTime> timeLineRange(const QDate& from, const QDate& to);

private:
    void setRange(const QDate& a, const QDate& b);

    int m_clickState = 0;
    QDate m_firstDate;
    QDate m_start;
    QDate m_end;
    QDate m_maximum;
    QString m_footer;
};

} // namespace kvaro
