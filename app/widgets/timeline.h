#pragma once

#include "catalogue/cyclelist.h"

#include <QDateTime>
#include <QList>
#include <QWidget>

namespace kvaro
{

// A read-only strip of time: one division per day labelled "[mm/dd]", sub-divisions
// "hh:nn:ss" as many as fit, and the listed cycles as sections whose hint shows as a
// tooltip. The user can neither zoom, scroll nor move anything.
class TimeLine : public QWidget
{
    Q_OBJECT

public:
    struct Look {
        int divisionFontSize = 10;
        int subDivisionFontSize = 7;
        int divisionTick = 15;
        int subDivisionTick = 5;
        int margin = 50;
    };

    explicit TimeLine(QWidget* parent = nullptr);

    void setRange(const QDateTime& start, const QDateTime& end);
    QDateTime rangeStart() const { return m_start; }
    QDateTime rangeEnd() const { return m_end; }
    void setLook(const Look& look);
    const Look& look() const { return m_look; }

    void addSection(const TimeLineSection& section);
    void clearSections();
    const QList<TimeLineSection>& sections() const { return m_sections; }

    // Where a time lies across the widget, and the section under a point (-1: none).
    double xFor(const QDateTime& time) const;
    int sectionAt(const QPoint& point) const;
    // The step between sub-divisions, in seconds, for a span drawn over `pixels`.
    static int subDivisionStep(qint64 spanSeconds, double pixels);

    QSize sizeHint() const override { return {700, 80}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRectF sectionRect(const TimeLineSection& section) const;
    double axisY() const;

    QDateTime m_start;
    QDateTime m_end;
    Look m_look;
    QList<TimeLineSection> m_sections;
};

} // namespace kvaro
