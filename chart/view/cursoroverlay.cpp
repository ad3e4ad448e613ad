#include "chart/view/cursoroverlay.h"

#include "chart/chartmodel.h"
#include "chart/comparison.h"
#include "chart/cursorstats.h"
#include "chart/navigation.h"
#include "chart/view/seriesstyle.h"

#include <QLabel>

#include <algorithm>
#include <cmath>

#include <qcustomplot.h>

namespace kvaro {

// The hair line and the two cursors as one layer of the plot: no item per line, drawn in
// the plot's own pass so they follow every pan and zoom and appear on its pictures.
class CursorLines : public QCPLayerable
{
public:
    explicit CursorLines(QCustomPlot* plot) : QCPLayerable(plot, QStringLiteral("overlay")) {}

    std::optional<double> hair;
    std::optional<double> at[2];

protected:
    void applyDefaultAntialiasingHint(QCPPainter* painter) const override
    {
        applyAntialiasingHint(painter, false, QCP::aeItems);
    }
    QRect clipRect() const override { return mParentPlot->axisRect()->rect(); }
    void draw(QCPPainter* painter) override
    {
        const QRect area = mParentPlot->axisRect()->rect();
        QCPAxis* axis = mParentPlot->xAxis;
        if (hair) {
            painter->setPen(QPen(QColor(70, 80, 95), 1, Qt::DashLine));
            const double x = axis->coordToPixel(*hair);
            painter->drawLine(QLineF(x, area.top(), x, area.bottom()));
        }
        const QColor colour(25, 110, 200);
        for (int i = 0; i < 2; ++i) {
            if (!at[i])
                continue;
            const double x = axis->coordToPixel(*at[i]);
            painter->setPen(QPen(colour, 2));
            painter->drawLine(QLineF(x, area.top(), x, area.bottom()));
            // The names sit at the foot of the plot, clear of the table over its top corner.
            const QRectF box(x - 8, area.bottom() - 16, 16, 16);
            painter->fillRect(box, colour);
            painter->setPen(Qt::white);
            painter->drawText(box, Qt::AlignCenter,
                              i == 0 ? QStringLiteral("A") : QStringLiteral("B"));
        }
    }
};

CursorOverlay::CursorOverlay(QCustomPlot* plot) : QObject(plot), m_plot(plot)
{
    m_lines = new CursorLines(plot);
    m_readout = new QLabel(plot);
    m_readout->setObjectName(QStringLiteral("ChartReadout"));
    m_readout->setTextFormat(Qt::RichText);
    m_readout->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_readout->setStyleSheet(
        QStringLiteral("QLabel { background: rgba(255, 255, 255, 230); border: 1px solid #8a94a3; "
                       "padding: 4px; color: #2d3440; }"));
    m_readout->hide();
}

QString CursorOverlay::nameOf(int series) const
{
    const QString name = m_seriesNames.value(series);
    return name.isEmpty() && m_model ? m_model->at(series).title : name;
}

void CursorOverlay::setModel(const ChartModel* model)
{
    m_model = model;
    leave();
    clearCursors();
}

void CursorOverlay::setComparison(const Comparison* comparison)
{
    m_comparison = comparison;
    leave();
}

void CursorOverlay::setComparisonTexts(const QString& titleForm, const QString& difference)
{
    m_comparedTitleForm = titleForm;
    m_difference = difference;
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
    m_hair = x;
    showLines();
    QString html = QStringLiteral("<table cellspacing=\"0\" cellpadding=\"1\">");
    const QVector<ComparedValue> compared =
        m_comparison ? comparedValuesAt(*m_model, *m_comparison, x) : QVector<ComparedValue>();
    if (!compared.isEmpty()) {
        // The compared cycle's column is headed by its number, the way its lines are named.
        const QString number =
            comparedTitle(m_comparedTitleForm, QString(), m_comparison->number).trimmed();
        html += QStringLiteral("<tr><td></td><td></td><td align=\"right\">&nbsp;%1</td>"
                               "<td align=\"right\">&nbsp;%2</td></tr>")
                    .arg(number.toHtmlEscaped(), m_difference.toHtmlEscaped());
    }
    for (const SeriesValue& v : values) {
        // The working temperature's swatch is the broad line it is drawn as, so it is not
        // taken for T1's.
        const QString swatch = v.series == series::WorkingTemperature ? QStringLiteral("&#9644;")
                                                                      : QStringLiteral("&#9632;");
        html += QStringLiteral("<tr><td><span style=\"color:%1\">%4</span> %2&nbsp;</td>"
                               "<td align=\"right\">%3</td>")
                    .arg(seriesColour(v.series).name(), nameOf(v.series).toHtmlEscaped(),
                         navigation::temperatureText(v.value, m_decimalSeparator), swatch);
        const auto other =
            std::find_if(compared.begin(), compared.end(),
                         [&](const ComparedValue& c) { return c.series == v.series; });
        if (other != compared.end()) {
            // The files carry tenths of a degree: finer digits of an interpolated value or a
            // difference would only be arithmetic noise.
            const auto tenths = [](double value) {
                const double rounded = std::round(value * 10) / 10;
                return rounded == 0 ? 0.0 : rounded; // no "-0"
            };
            const double difference = tenths(other->difference());
            // A rise is marked as such: the sign is what the eye looks for first.
            const QString signedDifference =
                (difference > 0 ? QStringLiteral("+") : QString()) +
                navigation::temperatureText(difference, m_decimalSeparator);
            html += QStringLiteral("<td align=\"right\">&nbsp;<span style=\"color:%1\">"
                                   "%2</span></td><td align=\"right\">&nbsp;%3</td>")
                        .arg(comparedColour(v.series).darker(130).name(),
                             navigation::temperatureText(tenths(other->second), m_decimalSeparator),
                             signedDifference);
        }
        html += QStringLiteral("</tr>");
    }
    html += QStringLiteral("</table>");
    if (!outputs.isEmpty()) {
        QStringList names;
        for (int o : outputs)
            names.append(QStringLiteral("<span style=\"color:%1\">&#9632;</span> %2")
                             .arg(seriesColour(o).name(), nameOf(o).toHtmlEscaped()));
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
}

void CursorOverlay::leave()
{
    if (!m_hair && m_readout->isHidden())
        return;
    m_hair.reset();
    m_readout->hide();
    showLines();
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
    showLines();
    emit cursorsChanged();
}

void CursorOverlay::clearCursors()
{
    if (!m_a && !m_b)
        return;
    m_a.reset();
    m_b.reset();
    showLines();
    emit cursorsChanged();
}

void CursorOverlay::showLines()
{
    m_lines->hair = m_hair;
    m_lines->at[0] = m_a;
    m_lines->at[1] = m_b;
    m_plot->replot(QCustomPlot::rpQueuedReplot);
}

} // namespace kvaro
