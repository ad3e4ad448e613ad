#pragma once

#include "catalogue/rangepicker.h"

#include <QWidget>

class QCalendarWidget;
class QLabel;
class QPushButton;

namespace kvaro {

class Language;

// The date-range picker: its panel GridPanel1 (the calendar CalendarOd with its footer,
// the confirm button AdvSmoothButton1) is the content of the main window's popup.
class TForm1 : public QWidget
{
    Q_OBJECT

public:
    // FormCreate: the calendar shows today's month; the button takes the Confirm line now
    // and keeps it.
    TForm1(const Language& language, const QDate& today, QWidget* parent = nullptr);

    RangePicker& picker() { return m_picker; }
    const RangePicker& picker() const { return m_picker; }
    QCalendarWidget* CalendarOd() const { return m_calendar; }
    QPushButton* AdvSmoothButton1() const { return m_confirm; }
    QLabel* CalendarOdFooter() const { return m_footer; }

    // Each opening: days after today cannot be chosen.
    void prepareOpening(const QDate& today);
    // The language was switched: the footer, the calendar's hint and the button follow.
    void languageLoaded();

public slots:
    void CalendarOdSelectDate(const QDate& date);

signals:
    // The confirm button: the range to list, earlier day first.
    void rangeConfirmed(const QDate& from, const QDate& to);

private:
    void markRange();

    const Language& m_language;
    RangePicker m_picker;
    QCalendarWidget* m_calendar;
    QLabel* m_footer;
    QPushButton* m_confirm;
    QDate m_today;
};

} // namespace kvaro
