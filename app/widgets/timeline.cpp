#include "app/widgets/timeline.h"

#include "cycles/wallclock.h"

#include <QFontMetrics>
#include <QHelpEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>

#include <array>
#include <cmath>

namespace kvaro {

namespace {
const QColor SectionTop(0, 255, 0);        // lime
const QColor SectionBottom(133, 146, 181); // grey-blue
const QString FontFamily = QStringLiteral("Tahoma");
constexpr int LabelSpacing = 70; // pixels a "hh:nn:ss" label needs
constexpr int LabelGap = 8;      // pixels between two day labels
constexpr int MinDayTick = 4;    // closer than this, unlabelled days get no tick

// Seconds on a wall clock that never changes: the date and time of day as written,
// without the time zone's offset. A local time in the hour a spring-forward skips is an
// invalid QDateTime, yet keeps its date and time.
qint64 wallSeconds(const QDate& date, const QTime& time)
{
    return date.toJulianDay() * SecondsPerDay +
           (time.isValid() ? time.msecsSinceStartOfDay() / 1000 : 0);
}

qint64 wallSeconds(const QDateTime& time)
{
    return wallSeconds(time.date(), time.time());
}

// The labelled days: every `days`-th day from the first, or, with `days` 0, the first of
// every `months`-th month.
struct DayLabels {
    int days = 1;
    int months = 0;

    bool labels(const QDate& day, const QDate& first) const
    {
        if (days > 0)
            return first.daysTo(day) % days == 0;
        return day.day() == 1 && (day.year() * 12 + day.month() - 1) % months == 0;
    }
};

DayLabels dayLabelsFor(double pixelsPerDay, int labelWidth)
{
    for (const int days : {1, 2, 3, 7}) {
        if (days * pixelsPerDay >= labelWidth)
            return {days, 0};
    }
    // No month is shorter than 28 days.
    for (const int months : {1, 2, 3, 6, 12}) {
        if (months * 28 * pixelsPerDay >= labelWidth)
            return {0, months};
    }
    const double years = labelWidth / (12 * 28 * std::max(pixelsPerDay, 1e-9));
    return {0, 12 * int(std::min(std::ceil(years), 1000.0))};
}
} // namespace

TimeLine::TimeLine(QWidget* parent) : QWidget(parent)
{
    const QDate today = QDate::currentDate();
    m_start = QDateTime(today, QTime(0, 0));
    m_end = m_start.addDays(1);
    setMouseTracking(true);
    setMinimumHeight(60);
}

void TimeLine::setRange(const QDateTime& start, const QDateTime& end)
{
    if (!start.date().isValid() || !end.date().isValid() || wallSeconds(end) <= wallSeconds(start))
        return;
    m_start = start;
    m_end = end;
    update();
}

void TimeLine::setLook(const Look& look)
{
    m_look = look;
    update();
}

void TimeLine::addSection(const TimeLineSection& section)
{
    m_sections.append(section);
    update();
}

void TimeLine::clearSections()
{
    m_sections.clear();
    update();
}

double TimeLine::xFor(const QDateTime& time) const
{
    return xForWall(wallSeconds(time));
}

double TimeLine::xForWall(qint64 seconds) const
{
    const double left = m_look.margin;
    const double width = std::max(1.0, double(this->width() - 2 * m_look.margin));
    const qint64 start = wallSeconds(m_start);
    const double span = double(wallSeconds(m_end) - start);
    return left + width * double(seconds - start) / std::max(1.0, span);
}

QFont TimeLine::divisionFont() const
{
    QFont font(FontFamily);
    font.setPointSize(m_look.divisionFontSize);
    return font;
}

QFont TimeLine::subDivisionFont() const
{
    QFont font(FontFamily);
    font.setPointSize(m_look.subDivisionFontSize);
    return font;
}

int TimeLine::dayLabelWidth() const
{
    return QFontMetrics(divisionFont()).horizontalAdvance(QStringLiteral("[00/00]")) + LabelGap;
}

double TimeLine::axisY() const
{
    // A low time line keeps room under the axis for a whole line of the day labels.
    const int below = m_look.divisionTick + QFontMetrics(divisionFont()).height() + 2;
    return std::max(8.0, std::min(height() * 0.55, double(height() - below)));
}

QRectF TimeLine::sectionRect(const TimeLineSection& section) const
{
    const double x1 = xFor(section.start);
    const double x2 = xFor(section.end);
    return QRectF(QPointF(std::min(x1, x2), 4), QPointF(std::max(x1, x2) + 1, axisY() - 2));
}

int TimeLine::sectionAt(const QPoint& point) const
{
    for (int i = int(m_sections.size()) - 1; i >= 0; --i) {
        if (sectionRect(m_sections.at(i)).contains(point))
            return i;
    }
    return -1;
}

int TimeLine::subDivisionStep(qint64 spanSeconds, double pixels)
{
    static constexpr std::array<int, 13> steps{60,       300,       600,      900,      1800,
                                               3600,     2 * 3600,  3 * 3600, 4 * 3600, 6 * 3600,
                                               8 * 3600, 12 * 3600, 24 * 3600};
    const double fit = std::max(1.0, pixels / LabelSpacing);
    for (const int step : steps) {
        if (double(spanSeconds) / step <= fit)
            return step;
    }
    return steps.back();
}

QList<TimeLine::Division> TimeLine::divisions() const
{
    const qint64 start = wallSeconds(m_start);
    const qint64 end = wallSeconds(m_end);
    const double pixels = std::max(1.0, double(width() - 2 * m_look.margin));
    const double pixelsPerDay = pixels * SecondsPerDay / std::max<qint64>(1, end - start);
    const DayLabels labels = dayLabelsFor(pixelsPerDay, dayLabelWidth());
    const bool everyDay = labels.days == 1;
    const int step = everyDay ? subDivisionStep(end - start, pixels) : int(SecondsPerDay);

    // Day by day on the calendar, and the sub-divisions by the clock within each day: a
    // day with a clock change is a day like any other.
    QList<Division> result;
    const QDate first = m_start.date();
    for (QDate day = first; wallSeconds(day, QTime(0, 0)) <= end; day = day.addDays(1)) {
        const qint64 midnight = wallSeconds(day, QTime(0, 0));
        if (midnight >= start) {
            const bool labelled = labels.labels(day, first);
            if (labelled || pixelsPerDay >= MinDayTick)
                result.append({xForWall(midnight), labelled,
                               labelled ? day.toString(QStringLiteral("[MM/dd]")) : QString()});
        }
        for (qint64 t = midnight + step; t < midnight + SecondsPerDay && t <= end; t += step) {
            if (t >= start)
                result.append(
                    {xForWall(t), false,
                     QTime(0, 0).addSecs(int(t - midnight)).toString(QStringLiteral("hh:mm:ss"))});
        }
    }
    return result;
}

void TimeLine::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillRect(rect(), Qt::white);

    for (const TimeLineSection& section : m_sections) {
        const QRectF r = sectionRect(section);
        QLinearGradient gradient(r.topLeft(), r.bottomLeft());
        gradient.setColorAt(0, SectionTop);
        gradient.setColorAt(1, SectionBottom);
        painter.setBrush(gradient);
        painter.setPen(QPen(Qt::gray, 1));
        painter.drawRect(r);
    }

    const double y = axisY();
    painter.setPen(Qt::black);
    painter.drawLine(QPointF(m_look.margin, y), QPointF(width() - m_look.margin, y));

    for (const Division& division : divisions()) {
        const int tick = division.day ? m_look.divisionTick : m_look.subDivisionTick;
        painter.drawLine(QPointF(division.x, y), QPointF(division.x, y + tick));
    }
    for (const Label& label : labels()) {
        painter.setFont(label.font);
        painter.drawText(label.box, Qt::AlignHCenter | Qt::AlignTop, label.text);
    }
}

QList<TimeLine::Label> TimeLine::labels() const
{
    const QFont large = divisionFont();
    const QFont small = subDivisionFont();
    const int dayWidth = dayLabelWidth();
    const double y = axisY();
    QList<Label> result;
    for (const Division& division : divisions()) {
        if (division.text.isEmpty())
            continue;
        const int tick = division.day ? m_look.divisionTick : m_look.subDivisionTick;
        const double box = division.day ? std::max(dayWidth, LabelSpacing) : LabelSpacing;
        result.append({QRectF(division.x - box / 2, y + tick, box, height() - y - tick),
                       division.text, division.day ? large : small});
    }
    return result;
}

bool TimeLine::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const int index = sectionAt(help->pos());
        if (index >= 0)
            QToolTip::showText(help->globalPos(),
                               Qt::convertFromPlainText(m_sections.at(index).hint), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace kvaro
