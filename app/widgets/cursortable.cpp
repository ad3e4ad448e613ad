#include "app/widgets/cursortable.h"

#include "base/language.h"
#include "chart/chartmodel.h"
#include "chart/cursorstats.h"
#include "chart/view/elapsedticker.h"
#include "chart/view/seriesstyle.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kvaro {

namespace {

QString number(double value, QChar decimalSeparator)
{
    QString text = QString::number(value, 'f', 1);
    text.replace(QLatin1Char('.'), decimalSeparator);
    return text;
}

QString signedElapsed(qint64 seconds)
{
    return (seconds < 0 ? QStringLiteral("\u2212") : QString()) +
           ElapsedTicker::format(std::abs(seconds));
}

} // namespace

CursorTable::CursorTable(QWidget* parent) : QFrame(parent)
{
    setObjectName(QStringLiteral("CursorTable"));
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    m_elapsed = new QLabel(this);
    m_elapsed->setObjectName(QStringLiteral("CursorTableElapsed"));
    m_table = new QTableWidget(this);
    m_table->setObjectName(QStringLiteral("CursorTableView"));
    m_table->setColumnCount(7);
    m_table->verticalHeader()->hide();
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setSelectionMode(QAbstractItemView::NoSelection);
    m_table->setFocusPolicy(Qt::NoFocus);
    m_table->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    m_table->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_remove = new QPushButton(this);
    m_remove->setObjectName(QStringLiteral("CursorTableRemove"));
    layout->addWidget(m_elapsed);
    layout->addWidget(m_table);
    layout->addWidget(m_remove, 0, Qt::AlignRight);
    connect(m_remove, &QPushButton::clicked, this, &CursorTable::removeRequested);
    // Esc works wherever the focus is in the window, but only while the table is shown.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    escape->setContext(Qt::WindowShortcut);
    connect(escape, &QShortcut::activated, this, &CursorTable::removeRequested);
    hide();
}

void CursorTable::retranslate(const Language& language)
{
    m_header[0] = language.text(Text::CursorSeries);
    m_header[1] = language.text(Text::CursorMinimum);
    m_header[2] = language.text(Text::CursorMaximum);
    m_header[3] = language.text(Text::CursorMean);
    m_fuelUsed = language.text(Text::CursorFuelUsed);
    m_energyUsed = language.text(Text::CursorEnergyUsed);
    m_remove->setText(language.text(Text::CursorRemove));
    m_table->setHorizontalHeaderLabels({m_header[0], QStringLiteral("A"), QStringLiteral("B"),
                                        QStringLiteral("B \u2212 A"), m_header[1], m_header[2],
                                        m_header[3]});
}

void CursorTable::showStats(const CursorStats& stats, bool hasB, const ChartModel& chart,
                            QChar decimalSeparator)
{
    QString elapsed =
        QStringLiteral("A ") +
        (stats.elapsedA ? ElapsedTicker::format(*stats.elapsedA) : QStringLiteral("\u2014"));
    if (hasB) {
        elapsed += QStringLiteral("   B ") +
                   (stats.elapsedB ? ElapsedTicker::format(*stats.elapsedB) : QString());
        if (const auto dt = stats.elapsedDifference())
            elapsed += QStringLiteral("   \u0394t ") + signedElapsed(*dt);
    }
    m_elapsed->setText(elapsed);

    const bool fuel = hasB && stats.consumed.has_value();
    m_table->setRowCount(int(stats.series.size()) + (fuel ? 1 : 0));
    auto put = [&](int row, int column, const QString& text) {
        auto* item = new QTableWidgetItem(text);
        item->setTextAlignment(Qt::AlignVCenter | (column == 0 ? Qt::AlignLeft : Qt::AlignRight));
        m_table->setItem(row, column, item);
        return item;
    };
    int row = 0;
    for (const SeriesSpan& span : stats.series) {
        QTableWidgetItem* name = put(row, 0, chart.at(span.series).title);
        name->setForeground(seriesColour(span.series).darker(110));
        put(row, 1, number(span.atA, decimalSeparator));
        const double rest[] = {span.atB, span.difference(), span.minimum, span.maximum, span.mean};
        for (int c = 0; c < 5; ++c)
            put(row, c + 2, hasB ? number(rest[c], decimalSeparator) : QString());
        ++row;
    }
    if (fuel) {
        put(row, 0, stats.unit == RecordTotals::Unit::KilowattHours ? m_energyUsed : m_fuelUsed);
        for (int c = 1; c < 7; ++c)
            put(row, c, c == 3 ? number(*stats.consumed, decimalSeparator) : QString());
    }
    for (int c = 2; c < 7; ++c)
        m_table->setColumnHidden(c, !hasB);
    m_table->resizeColumnsToContents();
    m_table->resizeRowsToContents();
    adjustSize();
    show();
    raise();
}

} // namespace kvaro
