#pragma once

#include "chart/chartmodel.h"

#include <QStringList>

#include <qcustomplot.h>

namespace kvaro {

// The set temperature over the temperatures: a dashed line, the band below it in which the
// working temperature counts as reached, and a mark where it was reached and where the hold
// ended, each with its elapsed time. One layerable drawn in the plot area, so no item per
// mark and the same picture on screen, on the clipboard and in the exports.
class SetPointOverlay : public QCPLayerable
{
public:
    SetPointOverlay(QCustomPlot* plot, QCPAxisRect* rect);

    // Drawn when the cycle sets a temperature and shown is true (the working temperature
    // is drawn); the marks only where the trace has them.
    void show(const SetPointTrace& trace, bool shown);
    bool isShown() const { return m_shown; }
    // The temperatures the automatic range must hold so the line and band stay in view.
    double top() const { return m_trace.temperature; }
    double bottom() const { return m_trace.temperature - m_trace.band; }
    // The marks' texts, reached first, for the marks the trace has.
    QStringList markTexts() const;
    // ... of the marks whose moment lies in the shown time range: the others are not drawn.
    QStringList visibleMarkTexts() const;
    // The marks' text at this many times its usual size.
    void setTextScale(qreal scale) { m_textScale = scale; }

protected:
    QRect clipRect() const override;
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;
    void draw(QCPPainter* painter) override;

private:
    bool inView(double x) const;
    void drawMark(QCPPainter* painter, double x, const QString& text, const QColor& colour);

    QCPAxisRect* m_rect;
    SetPointTrace m_trace;
    bool m_shown = false;
    qreal m_textScale = 1;
};

} // namespace kvaro
