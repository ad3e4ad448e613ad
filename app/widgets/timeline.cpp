#include "app/widgets/timeline.h"

#include <QHelpEvent>
#include <QLinearGradient>
#include <QPainter>
#include <QTextDocument>
#include <QToolTip>

#include <array>

namespace kvaro
{

namespace
{
const QColor SectionTop(0, 255, 0);        // lime
const QColor SectionBottom(133, 146, 181); // grey-blue
const QString FontFamily = QStringLiteral("Tahoma");
constexpr int LabelSpacing = 70; // pixels a "hh:nn:ss" label needs
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
    if (!start.isValid() || !end.isValid() || end <= start)
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
    const double left = m_look.margin;
    const double width = std::max(1.0, double(this->width() - 2 * m_look.margin));
    const double span = double(m_start.secsTo(m_end));
    return left + width * double(m_start.secsTo(time)) / std::max(1.0, span);
}

double TimeLine::axisY() const
{
    return height() * 0.55;
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

    const qint64 span = m_start.secsTo(m_end);
    const int step = subDivisionStep(span, width() - 2 * m_look.margin);
    QFont small(FontFamily);
    small.setPointSize(m_look.subDivisionFontSize);
    QFont large(FontFamily);
    large.setPointSize(m_look.divisionFontSize);
    const QDateTime first(m_start.date(), QTime(0, 0));
    for (QDateTime t = first; t <= m_end; t = t.addSecs(step)) {
        if (t < m_start)
            continue;
        const double x = xFor(t);
        const bool day = t.time() == QTime(0, 0);
        const int tick = day ? m_look.divisionTick : m_look.subDivisionTick;
        painter.drawLine(QPointF(x, y), QPointF(x, y + tick));
        painter.setFont(day ? large : small);
        const QString text =
            day ? t.toString(QStringLiteral("[MM/dd]")) : t.toString(QStringLiteral("hh:mm:ss"));
        const QRectF box(x - LabelSpacing / 2.0, y + tick, LabelSpacing, height() - y - tick);
        painter.drawText(box, Qt::AlignHCenter | Qt::AlignTop, text);
    }
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
