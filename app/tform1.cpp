#include "app/tform1.h"

#include "base/language.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTextCharFormat>

namespace kvaro {

TForm1::TForm1(const Language& language, const QDate& today, QWidget* parent)
    : QWidget(parent), m_language(language), m_today(today)
{
    setObjectName(QStringLiteral("TForm1"));
    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("GridPanel1"));
    panel->setStyleSheet(QStringLiteral("#GridPanel1 { background: #87ceeb; }"));
    panel->setFixedSize(757, 630);
    auto* grid = new QGridLayout(panel);

    m_calendar = new QCalendarWidget(panel);
    m_calendar->setObjectName(QStringLiteral("CalendarOd"));
    m_calendar->setToolTip(QStringLiteral("Początek"));
    m_calendar->setCurrentPage(today.year(), today.month());
    m_calendar->setMaximumDate(today);
    // The keyboard's cursor starts on today, the program's today rather than the system's.
    m_calendar->setSelectedDate(today);
    // Today is not highlighted: only the chosen range is.
    m_calendar->setDateTextFormat(today, QTextCharFormat());
    m_footer = new QLabel(m_picker.footerCaption(), panel);
    m_footer->setObjectName(QStringLiteral("CalendarOdFooter"));
    m_footer->setStyleSheet(QStringLiteral("font-weight: bold;"));
    m_footer->setAlignment(Qt::AlignCenter);

    auto* buttons = new QWidget(panel);
    buttons->setObjectName(QStringLiteral("GridPanel2"));
    auto* row = new QGridLayout(buttons);
    const int shares[] = {2109, 2109, 1988, 3794};
    for (int i = 0; i < 4; ++i)
        row->setColumnStretch(i, shares[i]);
    m_confirm = new QPushButton(m_language.text(Text::Confirm), buttons);
    m_confirm->setObjectName(QStringLiteral("AdvSmoothButton1"));
    // Enter on the focused button confirms, as it would in a dialog.
    m_confirm->setAutoDefault(true);
    m_confirm->setStyleSheet(QStringLiteral("font: bold 10pt \"Tahoma\"; background: #add8e6;"));
    row->addWidget(m_confirm, 0, 3);

    grid->addWidget(m_calendar, 0, 0);
    grid->addWidget(m_footer, 1, 0);
    grid->addWidget(buttons, 2, 0);
    grid->setRowStretch(0, 8696);
    grid->setRowStretch(2, 1304);
    auto* outer = new QGridLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(panel);

    connect(m_calendar, &QCalendarWidget::clicked, this, &TForm1::CalendarOdSelectDate);
    // The arrow keys move the calendar's cursor, never past the latest day; Enter on a day
    // counts as a click on it. A double click is a second click on the same day, which
    // makes that day a range of its own.
    connect(m_calendar, &QCalendarWidget::activated, this, &TForm1::CalendarOdSelectDate);
    connect(m_confirm, &QPushButton::clicked, this, [this] {
        const auto [from, to] = m_picker.confirmedRange(m_today);
        emit rangeConfirmed(from, to);
    });
    // The window's language from the start: "Początek" is only the design-time text.
    languageLoaded();
}

void TForm1::languageLoaded()
{
    m_picker.relabel(m_language);
    m_footer->setText(m_picker.footerCaption());
    const QString hint = m_language.text(Text::ChooseFirstDay);
    if (!hint.isEmpty())
        m_calendar->setToolTip(hint);
    const QString confirm = m_language.text(Text::Confirm);
    if (!confirm.isEmpty())
        m_confirm->setText(confirm);
}

void TForm1::prepareOpening(const QDate& today)
{
    m_today = today;
    m_picker.setMaximumDate(today);
    m_calendar->setMaximumDate(today);
}

void TForm1::CalendarOdSelectDate(const QDate& date)
{
    if (!m_picker.click(date, m_language))
        return;
    m_footer->setText(m_picker.footerCaption());
    markRange();
}

void TForm1::markRange()
{
    m_calendar->setDateTextFormat(QDate(), QTextCharFormat()); // clears every mark
    QTextCharFormat marked;
    marked.setBackground(QColor(0x33, 0x99, 0xff));
    marked.setForeground(Qt::white);
    for (QDate d = m_picker.rangeStart(); d.isValid() && d <= m_picker.rangeEnd(); d = d.addDays(1))
        m_calendar->setDateTextFormat(d, marked);
    m_calendar->setSelectedDate(m_picker.rangeEnd());
}

} // namespace kvaro
