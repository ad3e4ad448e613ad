#include "chart/chartmodel.h"

namespace kvaro {

namespace {

void setUp(ChartSeries& series, SeriesKind kind, const QString& title, int eventKind = 0)
{
    series.kind = kind;
    series.title = title;
    series.eventKind = eventKind;
    series.active = true;
}

} // namespace

ChartModel::ChartModel()
{
    setUp(at(series::T1), SeriesKind::Line, QStringLiteral("T1"));
    setUp(at(series::T2), SeriesKind::Line, QStringLiteral("T2"));
    setUp(at(series::Power), SeriesKind::Area, QStringLiteral("Moc"));

    const QString arrowTitles[] = {QStringLiteral("Grzałki"), QStringLiteral("Wentylator"),
                                   QStringLiteral("Przewietrzanie"), QStringLiteral("Palnik drugi"),
                                   QStringLiteral("Wentylator CH2")};
    for (int i = 0; i < 5; ++i)
        setUp(at(series::ArrowFirst + i), SeriesKind::Arrow, arrowTitles[i]);

    for (int b = 0; b < 8; ++b)
        setUp(at(series::BurnerTemperatureFirst + b), SeriesKind::Line,
              QStringLiteral("W%1").arg(b + 1));

    setUp(at(series::WorkingTemperature), SeriesKind::Line, QStringLiteral("T Robocza"));

    for (int burner = 1; burner <= 8; ++burner) {
        for (int code = 1; code <= 7; ++code)
            setUp(at(series::event(burner, code)), SeriesKind::Bubble,
                  QStringLiteral("S%1").arg(code), code);
    }
}

void ChartModel::clearAll()
{
    for (ChartSeries& series : m_series)
        series.clear();
    m_records.clear();
    m_setPoint = {};
    m_meanAbsT1T2.reset();
    m_endLine.reset();
}

} // namespace kvaro
