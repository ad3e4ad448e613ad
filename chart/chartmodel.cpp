#include "chart/chartmodel.h"

namespace kvaro {

namespace {

void setUp(ChartSeries& series, SeriesKind kind, const QString& title, QColor color,
           int lineWidth = 1, int eventKind = 0)
{
    series.kind = kind;
    series.title = title;
    series.color = color;
    series.lineWidth = lineWidth;
    series.eventKind = eventKind;
    series.active = true;
}

} // namespace

ChartModel::ChartModel()
{
    // The line colours are the pens the curves are drawn with.
    setUp(at(series::T1), SeriesKind::Line, QStringLiteral("T1"), QColor(255, 13, 19), 2);
    setUp(at(series::T2), SeriesKind::Line, QStringLiteral("T2"), QColor(80, 43, 253), 2);
    // The area has no border; its fill runs from transparent white to this yellow.
    setUp(at(series::Power), SeriesKind::Area, QStringLiteral("Moc"), QColor(255, 255, 168), 0);

    const QString arrowTitles[] = {QStringLiteral("Grzałki"), QStringLiteral("Wentylator"),
                                   QStringLiteral("Przewietrzanie"),
                                   QStringLiteral("Palnik drugi"),
                                   QStringLiteral("Wentylator CH2")};
    const QColor arrowColours[] = {QColor(255, 132, 135), QColor(128, 0, 64),
                                   QColor(44, 160, 44), QColor(255, 127, 14),
                                   QColor(23, 190, 207)};
    for (int i = 0; i < 5; ++i)
        setUp(at(series::ArrowFirst + i), SeriesKind::Arrow, arrowTitles[i], arrowColours[i]);

    const QColor burnerColours[] = {QColor(31, 119, 180), QColor(148, 103, 189),
                                    QColor(140, 86, 75),  QColor(227, 119, 194),
                                    QColor(127, 127, 127), QColor(188, 189, 34),
                                    QColor(0, 128, 128),  QColor(255, 187, 120)};
    for (int b = 0; b < 8; ++b)
        setUp(at(series::BurnerTemperatureFirst + b), SeriesKind::Line,
              QStringLiteral("W%1").arg(b + 1), burnerColours[b]);

    setUp(at(series::WorkingTemperature), SeriesKind::Line, QStringLiteral("T Robocza"),
          QColor(255, 17, 23), 4);

    for (int burner = 1; burner <= 8; ++burner) {
        for (int code = 1; code <= 7; ++code)
            setUp(at(series::event(burner, code)), SeriesKind::Bubble,
                  QStringLiteral("S%1").arg(code), QColor(255, 0, 0), 1, code);
    }
}

void ChartModel::clearAll()
{
    for (ChartSeries& series : m_series)
        series.clear();
}

} // namespace kvaro
