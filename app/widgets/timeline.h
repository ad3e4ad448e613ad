#pragma once

#include "catalogue/cyclelist.h"

#include <QDateTime>
#include <QFont>
#include <QList>
#include <QWidget>

namespace kvaro {

// A read-only strip of time: one division per day labelled "[mm/dd]", sub-divisions
// "hh:nn:ss" as many as fit, and the listed cycles as sections whose hint shows as a
// tooltip. The user can neither zoom, scroll nor move anything.
//
// Times are placed by their wall clock, date and time of day, whatever time zone they
// carry: the controller's stamps know none, so every day is equally wide, also the days
// on which the clocks change, and a stamp in the hour skipped then still has its place.
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

    // A tick on the axis: a labelled day (long tick), or a sub-division or a day left
    // unlabelled because the labels would overlap (short tick, maybe without text).
    struct Division {
        double x = 0;
        bool day = false;
        QString text;

        friend bool operator==(const Division&, const Division&) = default;
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
    // The ticks of the current range and width, left to right. Every day is labelled while
    // the labels fit, otherwise every 2nd, 3rd or 7th day, otherwise the first day of every
    // month (or of every 2nd, 3rd, 6th, 12th ... month); sub-divisions only while every
    // day has its label.
    QList<Division> divisions() const;
    // The room a day label takes, gap included.
    int dayLabelWidth() const;
    // A division's text and the box it is drawn in, with its font.
    struct Label {
        QRectF box;
        QString text;
        QFont font;
    };
    QList<Label> labels() const;

    QSize sizeHint() const override { return {700, 80}; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QRectF sectionRect(const TimeLineSection& section) const;
    double axisY() const;
    double xForWall(qint64 wallSeconds) const;
    QFont divisionFont() const;
    QFont subDivisionFont() const;

    QDateTime m_start;
    QDateTime m_end;
    Look m_look;
    QList<TimeLineSection> m_sections;
};

} // namespace kvaro
