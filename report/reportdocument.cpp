#include "report/reportdocument.h"

#include "chart/chartloader.h"
#include "chart/eventmarker.h"
#include "chart/view/chartview.h"
#include "cycles/failure.h"
#include "cycles/language.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPicture>
#include <QSaveFile>

#include <numeric>

namespace kvaro {

namespace {

const QString Dash = QStringLiteral("\u2014");

// The page is laid out in units of 1/96 inch, the chart view's own pixels, so the chart
// keeps the proportions it has on screen.
constexpr int Resolution = 96;
// The chart is laid out at this size and scaled to the page's width.
const QSize ChartSize(1100, 620);

QString clockText(const std::optional<int>& timeOfDay)
{
    return timeOfDay ? hoursMinutesSeconds(*timeOfDay) : Dash;
}

QString dateText(const std::optional<QDate>& date)
{
    return date ? date->toString(Qt::ISODate) : Dash;
}

QString unitSuffix(RecordTotals::Unit unit)
{
    switch (unit) {
    case RecordTotals::Unit::Kilograms:
        return QStringLiteral(" kg");
    case RecordTotals::Unit::KilowattHours:
        return QStringLiteral(" kWh");
    case RecordTotals::Unit::None:
        break;
    }
    return QString();
}

// A chart text from the language, or the window's own when no language file was found.
QString chartText(const Language& language, Text name, const char* designText)
{
    return language.buffer().count() == 0 ? QString::fromUtf8(designText) : language.text(name);
}

struct Table {
    QString title;
    QStringList headers;
    QList<qreal> widths; // shares of the page width
    QList<bool> right;   // numbers are aligned to the right
    QList<QStringList> rows;
    int boldRowsFrom = -1; // a total line at the end
};

} // namespace

struct ReportDocument::Private {
    Private(QIODevice* device, const Language& lang, QChar separator)
        : writer(device), language(lang), decimalSeparator(separator)
    {
    }

    QPdfWriter writer;
    QPainter painter;
    const Language& language;
    QChar decimalSeparator;
    std::unique_ptr<ChartView> view;
    qreal width = 0;
    qreal height = 0;
    qreal y = 0;
    int pages = 1;
    bool pageEmpty = true;
    bool valid = false;

    QFont font(qreal points, bool bold = false) const
    {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(points);
        f.setBold(bold);
        // No ligatures: text searched or copied out of the PDF reads as it was written.
        f.setStyleStrategy(QFont::PreferNoShaping);
        return f;
    }
    qreal lineHeight(const QFont& f) const { return QFontMetricsF(f, &writer).height(); }
    qreal bottom() const { return height - lineHeight(font(7.5)) * 2; }

    void footer()
    {
        painter.setFont(font(7.5));
        painter.setPen(QColor(0x60, 0x60, 0x60));
        painter.drawText(QRectF(0, height - lineHeight(font(7.5)), width, lineHeight(font(7.5))),
                         Qt::AlignRight | Qt::AlignVCenter,
                         fillIn(language.text(Text::ReportPage), {QString::number(pages)}));
        painter.setPen(Qt::black);
    }
    void newPage()
    {
        footer();
        writer.newPage();
        ++pages;
        y = 0;
        pageEmpty = true;
    }
    // Starts a part on a page of its own unless the page is still empty.
    void freshPage()
    {
        if (!pageEmpty)
            newPage();
    }
    void ensure(qreal space)
    {
        if (y + space > bottom() && !pageEmpty)
            newPage();
    }

    void text(const QString& line, const QFont& f, qreal gapAfter = 0)
    {
        const qreal h = lineHeight(f);
        ensure(h);
        painter.setFont(f);
        painter.drawText(QRectF(0, y, width, h), Qt::AlignLeft | Qt::AlignVCenter,
                         QFontMetricsF(f, &writer).elidedText(line, Qt::ElideRight, width));
        y += h + gapAfter;
        pageEmpty = false;
    }

    // The width of each column of a table; a row with fewer cells than columns lets its
    // last cell run on over the rest (a note in place of figures).
    QList<qreal> columnWidths(const Table& table, qsizetype cells) const
    {
        const qreal total = std::accumulate(table.widths.begin(), table.widths.end(), 0.0);
        QList<qreal> widths;
        for (qsizetype c = 0; c < table.widths.size(); ++c) {
            const qreal w = width * table.widths.at(c) / total;
            if (c < cells)
                widths.append(w);
            else if (!widths.isEmpty())
                widths.last() += w;
        }
        return widths;
    }

    // A heading's names wrap onto more lines rather than being cut short.
    qreal headingHeight(const Table& table, const QFont& f, qreal h) const
    {
        const QList<qreal> widths = columnWidths(table, table.headers.size());
        const QFontMetricsF metrics(f, &writer);
        qreal tallest = h;
        for (qsizetype c = 0; c < widths.size(); ++c) {
            const QRectF box = metrics.boundingRect(QRectF(0, 0, widths.at(c) - h * 0.5, 1e6),
                                                    Qt::TextWordWrap, table.headers.at(c));
            tallest = std::max(tallest, box.height() + h * 0.35);
        }
        return tallest;
    }

    void row(const Table& table, const QStringList& cells, const QFont& f, qreal h, bool heading)
    {
        if (heading)
            painter.fillRect(QRectF(0, y, width, h), QColor(0xe4, 0xe8, 0xee));
        painter.setFont(f);
        const QFontMetricsF metrics(f, &writer);
        const qreal pad = lineHeight(f) * 0.3;
        const QList<qreal> widths = columnWidths(table, cells.size());
        qreal x = 0;
        for (qsizetype c = 0; c < widths.size(); ++c) {
            const qreal w = widths.at(c);
            const Qt::Alignment align =
                (table.right.value(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            const QRectF box(x + pad, y, w - 2 * pad, h);
            if (heading)
                painter.drawText(box, align | Qt::TextWordWrap, cells.at(c));
            else
                painter.drawText(box, align,
                                 metrics.elidedText(cells.at(c), Qt::ElideRight, box.width()));
            x += w;
        }
        painter.setPen(QPen(QColor(0xc8, 0xcc, 0xd2), 0));
        painter.drawLine(QPointF(0, y + h), QPointF(width, y + h));
        painter.setPen(Qt::black);
        y += h;
        pageEmpty = false;
    }

    // The table's title and heading start it and head every page it continues on.
    void table(const Table& t)
    {
        const QFont titleFont = font(10.5, true);
        const QFont headFont = font(8, true);
        const QFont bodyFont = font(8);
        const qreal h = lineHeight(bodyFont) * 1.35;
        const qreal headHeight = headingHeight(t, headFont, h);
        const auto heading = [&](const QString& title) {
            text(title, titleFont, h * 0.2);
            if (!t.headers.join(QString()).isEmpty())
                row(t, t.headers, headFont, headHeight, true);
        };
        // The title, the heading and at least one row together.
        ensure(lineHeight(titleFont) + headHeight + h * 1.4);
        heading(t.title);
        for (int r = 0; r < t.rows.size(); ++r) {
            if (y + h > bottom()) {
                newPage();
                heading(fillIn(language.text(Text::ReportContinued), {t.title}));
            }
            const bool bold = t.boldRowsFrom >= 0 && r >= t.boldRowsFrom;
            row(t, t.rows.at(r), bold ? headFont : bodyFont, h, false);
        }
        y += h;
    }

    QString number(double value, int decimals) const
    {
        return localNumber(value, decimals, decimalSeparator);
    }
    QString consumption(const std::optional<double>& value, RecordTotals::Unit unit) const
    {
        return value ? number(*value, 3) + unitSuffix(unit) : Dash;
    }

    void chart(const ChartModel& model, const QString& identity)
    {
        if (!view) {
            view = std::make_unique<ChartView>();
            view->setAttribute(Qt::WA_DontShowOnScreen);
            view->resize(ChartSize);
            view->setTitles(chartText(language, Text::WorkingChamber, "Komora robocza"),
                            chartText(language, Text::Temperature, "Temperatura"),
                            chartText(language, Text::Time, "Czas"));
            view->setEmptyHint(language.text(Text::ChartAllHidden));
        }
        view->setIdentity(identity);
        view->setModel(&model);
        view->resetZoom();
        const QPicture picture = view->renderPicture(ChartSize);
        view->setModel(nullptr);

        const qreal scale = width / ChartSize.width();
        const qreal h = ChartSize.height() * scale;
        ensure(h);
        painter.save();
        painter.translate(0, y);
        painter.scale(scale, scale);
        painter.setClipRect(QRect(QPoint(0, 0), ChartSize));
        painter.drawPicture(0, 0, picture);
        painter.restore();
        y += h + lineHeight(font(8));
        pageEmpty = false;
    }
};

ReportDocument::ReportDocument(QIODevice* device, const Language& language, QChar decimalSeparator,
                               const QString& title)
    : d(std::make_unique<Private>(device, language, decimalSeparator))
{
    d->writer.setCreator(QStringLiteral("kvaro"));
    d->writer.setTitle(title);
    d->writer.setResolution(Resolution);
    d->writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                        QMarginsF(15, 14, 15, 12), QPageLayout::Millimeter));
    d->valid = d->painter.begin(&d->writer);
    const QRect area = d->writer.pageLayout().paintRectPixels(Resolution);
    d->width = area.width();
    d->height = area.height();
}

ReportDocument::~ReportDocument()
{
    if (d->painter.isActive())
        d->painter.end();
}

bool ReportDocument::isValid() const
{
    return d->valid;
}

int ReportDocument::pageCount() const
{
    return d->pages;
}

void ReportDocument::addCover(const QString& oven, const QDate& from, const QDate& to,
                              const QList<BatchRow>& rows)
{
    const Language& l = d->language;
    d->freshPage();
    d->text(fillIn(l.text(Text::BatchTitle),
                   {oven, from.toString(Qt::ISODate), to.toString(Qt::ISODate)}),
            d->font(15, true), d->lineHeight(d->font(8)));

    Table t;
    t.title = l.cycleCount(rows.size());
    t.headers = {l.text(Text::ReportCycle),        l.text(Text::ReportDate),
                 l.text(Text::ReportStart),        l.text(Text::ReportEnd),
                 l.text(Text::BatchConsumption),   l.text(Text::ReportSetTemperature),
                 l.text(Text::ReportReachedAfter), l.text(Text::ReportHeldFor),
                 l.text(Text::BatchProgress)};
    t.widths = {0.8, 1.2, 0.9, 0.9, 1.2, 1.2, 1.1, 1.1, 0.8};
    t.right = {false, false, false, false, true, true, true, true, true};
    std::optional<double> sum;
    std::optional<RecordTotals::Unit> unit;
    bool mixed = false;
    for (const BatchRow& row : rows) {
        if (!row.failure.isEmpty()) {
            t.rows.append({row.number, fillIn(l.text(Text::BatchFailed), {row.failure})});
            continue;
        }
        if (row.consumed) {
            sum = sum.value_or(0) + *row.consumed;
            if (unit && *unit != row.unit)
                mixed = true;
            unit = row.unit;
        }
        t.rows.append(
            {row.number, dateText(row.date), clockText(row.startTimeOfDay),
             clockText(row.endTimeOfDay), d->consumption(row.consumed, row.unit),
             d->number(row.setTemperature, 1),
             row.reachedAfter ? hoursMinutesSeconds(*row.reachedAfter)
                              : l.text(Text::ReportNotReached),
             row.reachedAfter ? hoursMinutesSeconds(row.heldFor) : Dash,
             row.progress ? QString::number(*row.progress) + QStringLiteral(" %") : Dash});
    }
    t.boldRowsFrom = int(t.rows.size());
    // Kilograms and kilowatt hours are not summed together.
    t.rows.append({l.text(Text::BatchTotal), QString(), QString(), QString(),
                   mixed ? Dash : d->consumption(sum, unit.value_or(RecordTotals::Unit::None))});
    d->table(t);
}

void ReportDocument::addCycle(const CycleReport& r, const ChartModel& chart)
{
    const Language& l = d->language;
    d->freshPage();
    d->text(l.text(Text::ReportTitle), d->font(15, true));
    d->text(r.identity, d->font(9), d->lineHeight(d->font(8)) * 0.6);

    QString heating = Dash;
    if (r.heatingType == 0)
        heating = l.text(Text::ReportHeatingOil);
    else if (r.heatingType == 1 || r.heatingType == 2)
        heating = l.text(Text::ReportHeatingGas);
    else if (r.heatingType == 3)
        heating = l.text(Text::ReportHeatingElectric);
    QStringList options;
    if (r.secondChannel)
        options.append(l.text(Text::ReportSecondChannel));
    if (r.airing)
        options.append(l.text(Text::ReportAiring));
    if (r.powerRegulation)
        options.append(l.text(Text::ReportPowerRegulation));

    // The header as pairs of name and value, two pairs a line.
    Table header;
    header.widths = {1.0, 1.4, 1.0, 1.4};
    const QList<std::pair<QString, QString>> pairs{
        {l.text(Text::ReportOven), r.oven.isEmpty() ? Dash : r.oven},
        {l.text(Text::ReportCycle), r.number.isEmpty() ? Dash : r.number},
        {l.text(Text::ReportFile), r.fileName},
        {l.text(Text::ReportDate), dateText(r.date)},
        {l.text(Text::ReportStart), clockText(r.startTimeOfDay)},
        {l.text(Text::ReportEnd), clockText(r.endTimeOfDay)},
        {l.text(Text::ReportDuration), hoursMinutesSeconds(r.duration)},
        {l.text(Text::ReportHeating), heating},
        {l.text(Text::ReportBurners), r.heatingType == 3 ? Dash : QString::number(r.burnerCount)},
        {l.text(Text::ReportOptions),
         options.isEmpty() ? l.text(Text::ReportNone) : options.join(QStringLiteral(", "))},
    };
    const QFont bodyFont = d->font(8.5);
    const QFont nameFont = d->font(8.5, true);
    const qreal h = d->lineHeight(bodyFont) * 1.35;
    for (qsizetype i = 0; i < pairs.size(); i += 2) {
        d->ensure(h);
        const qreal w = d->width / 4.8;
        qreal x = 0;
        for (qsizetype j = i; j < std::min(i + 2, pairs.size()); ++j) {
            d->painter.setFont(nameFont);
            d->painter.drawText(QRectF(x, d->y, w, h), Qt::AlignLeft | Qt::AlignVCenter,
                                pairs.at(j).first);
            d->painter.setFont(bodyFont);
            d->painter.drawText(QRectF(x + w, d->y, w * 1.4, h), Qt::AlignLeft | Qt::AlignVCenter,
                                QFontMetricsF(bodyFont, &d->writer)
                                    .elidedText(pairs.at(j).second, Qt::ElideRight, w * 1.4));
            x += w * 2.4;
        }
        d->y += h;
    }
    d->y += h * 0.6;

    Table figures;
    figures.title = l.text(Text::ReportFigures);
    figures.headers = {QString(), QString()};
    figures.widths = {2.2, 1.0};
    figures.right = {false, true};
    figures.rows = {
        {l.text(Text::ReportProgrammedTime), r.programmedTime},
        {l.text(Text::ReportSetTemperature), d->number(r.setTemperature, 1)},
        {l.text(Text::ReportReachedAfter),
         r.reachedAfter ? hoursMinutesSeconds(*r.reachedAfter) : l.text(Text::ReportNotReached)},
        {l.text(Text::ReportHeldFor), r.reachedAfter ? hoursMinutesSeconds(r.heldFor) : Dash},
        {l.text(r.unit == RecordTotals::Unit::KilowattHours || r.heatingType == 3
                    ? Text::CursorEnergyUsed
                    : Text::CursorFuelUsed),
         r.consumed ? d->number(*r.consumed, 3) : Dash},
        {l.text(Text::ReportMeanDifference), r.meanDifference.isEmpty() ? Dash : r.meanDifference},
        {l.text(Text::ReportHighestWorking),
         r.highestWorking ? d->number(*r.highestWorking, 1) : Dash},
    };
    for (qsizetype b = 0; b < r.highestExchanger.size(); ++b)
        figures.rows.append(
            {fillIn(l.text(Text::ReportHighestExchanger), {QString::number(b + 1)}),
             r.highestExchanger.at(b) ? d->number(*r.highestExchanger.at(b), 1) : Dash});
    d->table(figures);

    d->chart(chart, r.identity);

    Table events;
    events.title = l.text(Text::ReportEvents);
    events.headers = {l.text(Text::ReportSinceStart), l.text(Text::ReportClockTime),
                      l.text(Text::ReportBurner), l.text(Text::ReportEvent),
                      l.text(Text::ReportExchanger)};
    events.widths = {1.0, 1.0, 0.7, 2.2, 1.0};
    events.right = {true, true, true, false, true};
    for (const ReportEvent& e : r.events)
        events.rows.append({hoursMinutesSeconds(e.elapsed), hoursMinutesSeconds(e.timeOfDay),
                            QString::number(e.burner), eventName(l, e.code),
                            d->number(e.exchanger, 1)});
    if (events.rows.isEmpty())
        events.rows.append({l.text(Text::ReportNone)});
    d->table(events);

    Table outputs;
    outputs.title = l.text(Text::ReportOutputs);
    outputs.headers = {l.text(Text::ReportOutput), l.text(Text::ReportFrom), l.text(Text::ReportTo),
                       l.text(Text::ReportLength)};
    outputs.widths = {2.0, 1.4, 1.4, 1.0};
    outputs.right = {false, true, true, true};
    const auto at = [](int timeOfDay, qint64 elapsed) -> QString {
        return hoursMinutesSeconds(timeOfDay) + QStringLiteral(" (") +
               hoursMinutesSeconds(elapsed) + QLatin1Char(')');
    };
    for (const ReportOutputPeriod& o : r.outputs)
        outputs.rows.append({chart.at(o.series).title, at(o.fromTimeOfDay, o.fromElapsed),
                             at(o.toTimeOfDay, o.toElapsed),
                             hoursMinutesSeconds(o.toElapsed - o.fromElapsed)});
    if (outputs.rows.isEmpty())
        outputs.rows.append({l.text(Text::ReportNone)});
    d->table(outputs);
}

bool ReportDocument::finish()
{
    if (!d->painter.isActive())
        return false;
    d->footer();
    return d->painter.end();
}

bool writeCycleReport(const QString& path, const CycleReport& report, const ChartModel& chart,
                      const Language& language, QChar decimalSeparator)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    {
        ReportDocument document(&file, language, decimalSeparator, report.identity);
        if (!document.isValid())
            return false;
        document.addCycle(report, chart);
        if (!document.finish())
            return false;
    }
    return file.commit();
}

} // namespace kvaro
