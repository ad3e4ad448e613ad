#pragma once

#include <qcustomplot.h>

namespace kvaro {

// The chart's panel: a rounded, lightly shaded board with a dashed rim behind everything
// else. Drawn as a layerable so the screen, the clipboard copy and the exports share it.
class ChartPanel : public QCPLayerable
{
    Q_OBJECT
public:
    ChartPanel(QCustomPlot* plot, const QString& layer);

    static constexpr double cornerRadius = 24;

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override;
    void draw(QCPPainter* painter) override;
};

} // namespace kvaro
