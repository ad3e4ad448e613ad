#include "chart/view/cursoroverlay.h"

#include "chart/chartmodel.h"
#include "chart/cursorstats.h"
#include "chart/navigation.h"
#include "chart/view/seriesstyle.h"

#include <QLabel>

#include <qcustomplot.h>

namespace kvaro {

namespace {

QCPItemStraightLine* verticalLine(QCustomPlot* plot, const QPen& pen)
{
    auto* line = new QCPItemStraightLine(plot);
    line->setPen(pen);
    line->setSelectable(false);
    line->setClipToAxisRect(true);
    line->setVisible(false);
    return line;
}

void moveLine(QCPItemStraightLine* line, double x)
{
    line->point1->setCoords(x, 0);
    line->point2->setCoords(x, 1);
    line->setVisible(true);
}

} // namespace

CursorOverlay::CursorOverlay(QCustomPlot* plot) : QObject(plot), m_plot(plot)
{
    m_hair = verticalLine(plot, QPen(QColor(70, 80, 95), 1, Qt::DashLine));
    const QColor cursorColour(25, 110, 200);
    for (int i = 0; i < 2; ++i) {
        m_lines[i] = verticalLine(plot, QPen(cursorColour, 2));
        auto* name = new QCPItemText(plot);
        name->setText(i == 0 ? QStringLiteral("A") : QStringLiteral("B"));
        name->setColor(Qt::white);
        name->setBrush(cursorColour);
        name->setPadding(QMargins(4, 1, 4, 1));
        name->setPositionAlignment(Qt::AlignHCenter | Qt::AlignTop);
        name->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        name->setSelectable(false);
        name->setVisible(false);
        m_names[i] = name;
    }
    m_readout = new QLabel(plot);
    m_readout->setObjectName(QStringLiteral("ChartReadout"));
    m_readout->setTextFormat(Qt::RichText);
    m_readout->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_readout->setStyleSheet(QStringLiteral(
        "QLabel { background: rgba(255, 255, 255, 230); border: 1px solid #8a94a3; "
        "padding: 4px; color: #2d3440; }"));
    m_readout->hide();
}

void CursorOverlay::setModel(const ChartModel* model)
{
    m_model = model;
    leave();
    clearCursors();
}

void CursorOverlay::setTexts(QChar decimalSeparator, const QString& outputsOn)
{
    m_decimalSeparator = decimalSeparator;
    m_outputsOn = outputsOn;
}

bool CursorOverlay::inPlot(QPoint pixel) const
{
    return m_model && m_plot->axisRect()->rect().contains(pixel);
}

void CursorOverlay::hover(QPoint pixel)
{
    if (!inPlot(pixel)) {
        leave();
        return;
    }
    const double x = nearestRecord(*m_model, m_plot->xAxis->pixelToCoord(pixel.x()));
    const QVector<SeriesValue> values = shownValuesAt(*m_model, x);
    const QVector<int> outputs = outputsOnAt(*m_model, x);
    if (values.isEmpty() && outputs.isEmpty()) {
        leave();
        return;
    }
    moveLine(m_hair, x);
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
    for (const SeriesValue& v : values) {
        html += QStringLiteral("<tr><td><span style=\"color:%1\">&#9632;</span> %2&nbsp;</td>"
                               "<td align=\"right\">%3</td></tr>")
                    .arg(seriesColour(v.series).name(), m_model->at(v.series).title.toHtmlEscaped(),
                         navigation::temperatureText(v.value, m_decimalSeparator));
    }
    html += QStringLiteral("</table>");
    if (!outputs.isEmpty()) {
        QStringList names;
        for (int o : outputs)
            names.append(QStringLiteral("<span style=\"color:%1\">&#9632;</span> %2")
                             .arg(seriesColour(o).name(), m_model->at(o).title.toHtmlEscaped()));
        html += m_outputsOn.toHtmlEscaped() + QStringLiteral("<br>") +
                names.join(QStringLiteral("<br>"));
    }
    m_readout->setText(html);
    m_readout->adjustSize();
    // Beside the hair line, on the side with room for it.
    const QRect area = m_plot->axisRect()->rect();
    const int lineX = int(m_plot->xAxis->coordToPixel(x));
    int left = lineX + 12;
    if (left + m_readout->width() > area.right())
        left = lineX - 12 - m_readout->width();
    m_readout->move(std::max(area.left(), left), area.top() + 8);
    m_readout->show();
    m_readout->raise();
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CursorOverlay::leave()
{
    if (!m_hair->visible() && m_readout->isHidden())
        return;
    m_hair->setVisible(false);
    m_readout->hide();
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

void CursorOverlay::place(QPoint pixel)
{
    if (!inPlot(pixel))
        return;
    const double x = nearestRecord(*m_model, m_plot->xAxis->pixelToCoord(pixel.x()));
    if (!m_a || m_b) {
        m_a = x;
        m_b.reset();
    } else {
        m_b = x;
    }
    showCursors();
    emit cursorsChanged();
}

void CursorOverlay::clearCursors()
{
    if (!m_a && !m_b)
        return;
    m_a.reset();
    m_b.reset();
    showCursors();
    emit cursorsChanged();
}

void CursorOverlay::showCursors()
{
    const std::optional<double> at[2] = {m_a, m_b};
    for (int i = 0; i < 2; ++i) {
        m_lines[i]->setVisible(at[i].has_value());
        m_names[i]->setVisible(at[i].has_value());
        if (!at[i])
            continue;
        moveLine(m_lines[i], *at[i]);
        m_names[i]->position->setAxes(m_plot->xAxis, m_plot->yAxis);
        m_names[i]->position->setTypeX(QCPItemPosition::ptPlotCoords);
        m_names[i]->position->setCoords(*at[i], 0);
    }
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

} // namespace kvaro
