#pragma once

#include "chart/chartmodel.h"

#include <qcustomplot.h>

namespace kvaro {

// The bottom axis is a record-position axis; its marks read as the elapsed time of the
// point at each mark, taken from the labels the loader attached to the points.
class ElapsedTicker : public QCPAxisTicker
{
public:
    void setPoints(const QVector<ChartPoint>& points) { m_points = points; }

protected:
    double getTickStep(const QCPRange& range) override;
    QString getTickLabel(double tick, const QLocale& locale, QChar formatChar,
                         int precision) override;

private:
    QVector<ChartPoint> m_points; // sorted by x, as the loader adds them
};

} // namespace kvaro
