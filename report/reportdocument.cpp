#include "report/reportdocument.h"

#include "base/failure.h"
#include "base/language.h"
#include "chart/chartloader.h"
#include "chart/eventmarker.h"
#include "chart/seriesname.h"
#include "chart/view/chartview.h"
#include "chart/view/outputlanes.h"

#include <QFileInfo>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <qcustomplot.h>

#include <numeric>

namespace kvaro {

namespace {

const QString Dash = QStringLiteral("\u2014");

// The page is laid out in units of 1/96 inch, the chart view's own pixels, so the chart
// keeps the proportions it has on screen.
constexpr int Resolution = PictureResolution;
// The chart is laid out at this size and scaled to the page's width.
const QSize ChartSize(1100, 620);
// No text of the chart is printed smaller than this, in points.
constexpr qreal SmallestChartText = 7.2;
// From this many burners on, the chart draws each burner's event markers on a row.
constexpr int MarkerRowsFrom = 3;

bool markerRows(const CycleReport& report)
{
    return report.burnerCount >= MarkerRowsFrom;
}

// The chart's layout size: the rows of markers add to its height, so the temperatures keep
// theirs.
QSize chartSize(const CycleReport& report)
{
    return ChartSize +
           QSize(0, markerRows(report) ? int(report.burnerCount * MarkerRows::RowPitch) : 0);
}

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

QString batchTitle(const Language& language, const QString& oven, const QDate& from,
                   const QDate& to)
{
    return fillIn(language.text(Text::BatchTitle),
                  {oven, from.toString(Qt::ISODate), to.toString(Qt::ISODate)});
}

// The end's clock time, with its date when the cycle ends on a later day than it starts.
QString endText(const std::optional<QDate>& date, const std::optional<QDate>& endDate,
                const std::optional<int>& end)
{
    if (!date || !endDate || *endDate == *date)
        return clockText(end);
    return endDate->toString(Qt::ISODate) + u' ' + clockText(end);
}

// An output's name as the chart's lane names it; none while the pages are only measured.
QString outputName(const ChartModel* chart, int series, const Language& language)
{
    return chart ? seriesName(*chart, series, language) : QString();
}

struct Table {
    QString title;
    QStringList headers;
    QList<qreal> widths; // shares of the page width
    QList<bool> right;   // numbers are aligned to the right
    QList<QStringList> rows;
    int boldRowsFrom = -1; // a total line at the end
    QString foot;          // a note under the table
    // The columns as wide as their widest cell, the room left shared by the widths; where
    // the cells do not fit side by side, the widths alone and the cells wrap.
    bool fitted = false;
    qreal points = 8; // the size of its text
};

} // namespace

struct ReportDocument::Private {
    Private(QIODevice* device, const Language& lang, QChar separator)
        : writer(device), language(lang), decimalSeparator(separator)
    {
    }

    QPdfWriter writer;
    QCPPainter painter; // the chart draws itself onto the pages, unrecorded
    const Language& language;
    QChar decimalSeparator;
    std::unique_ptr<ChartView> view;
    qreal width = 0;
    qreal height = 0;
    qreal y = 0;
    int pages = 1; // the page being filled, counted through the document
    bool pageEmpty = true;
    bool valid = false;
    // False while a part is laid out only to count its pages: the same code lays it out,
    // nothing is drawn.
    bool drawing = true;
    QDateTime generatedAt = QDateTime::currentDateTime();
    // What the foot of a page says: the part's identity line and its page of its pages, or
    // the document's page of all pages where they are numbered through.
    QString partIdentity;
    int partFirstPage = 1;
    int partPages = 1;
    std::optional<int> throughTotal;

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
    qreal bottom() const { return height - lineHeight(font(7.5)) * 2.2; }

    void footer()
    {
        if (!drawing)
            return;
        const QFont f = font(7.5);
        const qreal h = lineHeight(f);
        const int number = throughTotal ? pages : pages - partFirstPage + 1;
        const int total = throughTotal ? *throughTotal : partPages;
        const QString page = fillIn(language.text(Text::ReportPageOf),
                                    {QString::number(number), QString::number(total)});
        const qreal pageWidth = QFontMetricsF(f, &writer).horizontalAdvance(page) + h;
        painter.setPen(QPen(QColor(0xc8, 0xcc, 0xd2), 0));
        painter.drawLine(QPointF(0, height - h * 1.1), QPointF(width, height - h * 1.1));
        painter.setFont(f);
        painter.setPen(QColor(0x60, 0x60, 0x60));
        painter.drawText(QRectF(0, height - h, width - pageWidth, h),
                         Qt::AlignLeft | Qt::AlignVCenter, partIdentity);
        painter.drawText(QRectF(0, height - h, width, h), Qt::AlignRight | Qt::AlignVCenter, page);
        painter.setPen(Qt::black);
    }
    void newPage()
    {
        footer();
        if (drawing)
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

    // The pages layOut fills from a fresh page, counted by laying it out without drawing.
    int measure(const std::function<void()>& layOut)
    {
        const qreal savedY = y;
        const int savedPages = pages;
        const bool savedEmpty = pageEmpty;
        drawing = false;
        y = 0;
        pages = 1;
        pageEmpty = true;
        layOut();
        const int count = pages;
        drawing = true;
        y = savedY;
        pages = savedPages;
        pageEmpty = savedEmpty;
        return count;
    }
    // A part begins on a fresh page; its pages say who they belong to.
    void beginPart(const QString& identity, int partPageCount)
    {
        freshPage();
        partIdentity = identity;
        partFirstPage = pages;
        partPages = partPageCount;
    }

    // Text in a box of the page's width, wrapped onto more lines where it is long.
    void text(const QString& line, const QFont& f, qreal gapAfter = 0)
    {
        const qreal h = std::max(lineHeight(f), wrappedHeight(line, f, width));
        ensure(h);
        if (drawing) {
            painter.setFont(f);
            painter.drawText(QRectF(0, y, width, h),
                             Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, line);
        }
        y += h + gapAfter;
        pageEmpty = false;
    }

    qreal wrappedHeight(const QString& text, const QFont& f, qreal boxWidth) const
    {
        return QFontMetricsF(f, &writer)
            .boundingRect(QRectF(0, 0, boxWidth, 1e6), Qt::TextWordWrap, text)
            .height();
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

    // A row as high as its tallest cell: names, figures and notes wrap onto more lines
    // rather than being cut short.
    qreal rowHeight(const Table& table, const QStringList& cells, const QFont& f, qreal h) const
    {
        const QList<qreal> widths = columnWidths(table, cells.size());
        const qreal pad = lineHeight(f) * 0.3;
        qreal tallest = h;
        for (qsizetype c = 0; c < widths.size(); ++c)
            tallest =
                std::max(tallest, wrappedHeight(cells.at(c), f, widths.at(c) - 2 * pad) + h * 0.35);
        return tallest;
    }

    void row(const Table& table, const QStringList& cells, const QFont& f, qreal h, bool heading)
    {
        if (!drawing) {
            y += h;
            pageEmpty = false;
            return;
        }
        if (heading)
            painter.fillRect(QRectF(0, y, width, h), QColor(0xe4, 0xe8, 0xee));
        painter.setFont(f);
        const qreal pad = lineHeight(f) * 0.3;
        const QList<qreal> widths = columnWidths(table, cells.size());
        qreal x = 0;
        for (qsizetype c = 0; c < widths.size(); ++c) {
            const qreal w = widths.at(c);
            const Qt::Alignment align =
                (table.right.value(c) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
            painter.drawText(QRectF(x + pad, y, w - 2 * pad, h), align | Qt::TextWordWrap,
                             cells.at(c));
            x += w;
        }
        painter.setPen(QPen(QColor(0xc8, 0xcc, 0xd2), 0));
        painter.drawLine(QPointF(0, y + h), QPointF(width, y + h));
        painter.setPen(Qt::black);
        y += h;
        pageEmpty = false;
    }

    // Column widths, in pixels, that give every full row's cells their natural width.
    QList<qreal> fittedWidths(const Table& t, const QFont& f, const QFont& bold) const
    {
        const qreal pad = lineHeight(f) * 0.3;
        QList<qreal> natural(t.widths.size(), 0);
        // A heading may wrap between its words, never within one.
        const QFontMetricsF headMetrics(bold, &writer);
        for (qsizetype c = 0; c < natural.size() && c < t.headers.size(); ++c) {
            for (const QString& word : t.headers.at(c).split(u' '))
                natural[c] =
                    std::max(natural[c], headMetrics.horizontalAdvance(word) + 2 * pad + 1);
        }
        for (int r = 0; r < t.rows.size(); ++r) {
            const QStringList& cells = t.rows.at(r);
            if (cells.size() < t.widths.size())
                continue; // a note runs on over the columns
            const QFontMetricsF metrics(t.boldRowsFrom >= 0 && r >= t.boldRowsFrom ? bold : f,
                                        &writer);
            for (qsizetype c = 0; c < natural.size(); ++c)
                natural[c] =
                    std::max(natural[c], metrics.horizontalAdvance(cells.at(c)) + 2 * pad + 1);
        }
        const qreal needed = std::accumulate(natural.begin(), natural.end(), 0.0);
        if (needed > width)
            return t.widths;
        const qreal shares = std::accumulate(t.widths.begin(), t.widths.end(), 0.0);
        QList<qreal> widths;
        for (qsizetype c = 0; c < natural.size(); ++c)
            widths.append(natural.at(c) + (width - needed) * t.widths.at(c) / shares);
        return widths;
    }

    // The table's title and heading start it and head every page it continues on.
    void table(const Table& laidOut)
    {
        const QFont titleFont = font(10.5, true);
        const QFont headFont = font(laidOut.points, true);
        const QFont bodyFont = font(laidOut.points);
        Table t = laidOut;
        if (t.fitted)
            t.widths = fittedWidths(t, bodyFont, headFont);
        const qreal h = lineHeight(bodyFont) * 1.35;
        const qreal headHeight = rowHeight(t, t.headers, headFont, h);
        const auto heading = [&](const QString& title) {
            text(title, titleFont, h * 0.2);
            if (!t.headers.join(QString()).isEmpty())
                row(t, t.headers, headFont, headHeight, true);
        };
        // The title, the heading and at least one row together.
        ensure(lineHeight(titleFont) + headHeight + h * 1.4);
        heading(t.title);
        for (int r = 0; r < t.rows.size(); ++r) {
            const bool bold = t.boldRowsFrom >= 0 && r >= t.boldRowsFrom;
            const QFont& f = bold ? headFont : bodyFont;
            const qreal rh = rowHeight(t, t.rows.at(r), f, h);
            if (y + rh > bottom()) {
                newPage();
                heading(fillIn(language.text(Text::ReportContinued), {t.title}));
            }
            row(t, t.rows.at(r), f, rh, false);
        }
        if (!t.foot.isEmpty())
            text(t.foot, font(7.5), 0);
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

    // The chart at the page's width; measured, only its place is taken.
    void chart(const ChartModel* model, const CycleReport& r)
    {
        const QSize size = chartSize(r);
        const qreal h = size.height() * width / size.width();
        ensure(h);
        if (drawing && model) {
            if (!view) {
                view = std::make_unique<ChartView>();
                setUpReportChart(*view, language, width);
            }
            showInReportChart(*view, r, model, language);
            painter.save();
            painter.translate(0, y);
            painter.scale(width / size.width(), width / size.width());
            painter.setClipRect(QRect(QPoint(0, 0), size));
            view->paintInto(&painter, size);
            painter.restore();
            view->setModel(nullptr);
        }
        y += h + lineHeight(font(8));
        pageEmpty = false;
    }

    // The end of a cycle's report: when, by what and from which file it was made, and room
    // to sign it as checked.
    void signOff(const CycleReport& r)
    {
        Table t;
        t.title = language.text(Text::ReportSignOff);
        t.headers = {QString(), QString()};
        t.widths = {1.0, 3.0};
        t.right = {false, false};
        t.rows = {
            {language.text(Text::ReportGeneratedOn),
             generatedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"))},
            {language.text(Text::ReportProgramVersion),
             QStringLiteral("kvaro ") + QStringLiteral(KVARO_VERSION)},
            {language.text(Text::ReportSourceFile),
             r.fileName +
                 (r.sha256.isEmpty() ? QString() : QStringLiteral(", SHA-256 ") + r.sha256)},
        };
        const QFont nameFont = font(8.5, true);
        const qreal h = lineHeight(font(8)) * 1.35;
        const qreal signHeight = h * 2.6;
        // The block stays together on the last page.
        qreal block = lineHeight(font(10.5, true)) + h * 0.2 + signHeight;
        for (const QStringList& cells : t.rows)
            block += rowHeight(t, cells, font(8), h);
        ensure(block + h);
        table(t);
        const qreal lineY = y + signHeight - h * 0.4;
        const QList<std::pair<QString, qreal>> fields{{language.text(Text::ReportCheckedBy), 0},
                                                      {language.text(Text::ReportDate), 0.6}};
        if (drawing) {
            painter.setFont(nameFont);
            for (const auto& [name, at] : fields) {
                const qreal x = width * at;
                const qreal nameWidth =
                    QFontMetricsF(nameFont, &writer).horizontalAdvance(name) + h * 0.5;
                painter.drawText(QRectF(x, lineY - h, nameWidth, h),
                                 Qt::AlignLeft | Qt::AlignBottom, name);
                painter.setPen(QPen(Qt::black, 0.8));
                painter.drawLine(QPointF(x + nameWidth, lineY),
                                 QPointF(at == 0 ? width * 0.55 : width, lineY));
                painter.setPen(Qt::black);
            }
        }
        y += signHeight;
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

void ReportDocument::setGeneratedAt(const QDateTime& time)
{
    d->generatedAt = time;
}

void ReportDocument::numberPagesThrough(int total)
{
    d->throughTotal = total;
}

int ReportDocument::coverPages(const QString& oven, const QDate& from, const QDate& to,
                               const QList<BatchRow>& rows)
{
    return d->measure([&] { layOutCover(oven, from, to, rows); });
}

int ReportDocument::cyclePages(const CycleReport& report)
{
    return d->measure([&] { layOutCycle(report, nullptr); });
}

void ReportDocument::addCover(const QString& oven, const QDate& from, const QDate& to,
                              const QList<BatchRow>& rows)
{
    const int pages = coverPages(oven, from, to, rows);
    d->beginPart(batchTitle(d->language, oven, from, to), pages);
    layOutCover(oven, from, to, rows);
}

void ReportDocument::addCycle(const CycleReport& report, const ChartModel& chart)
{
    addCycle(report, &chart);
}

void ReportDocument::addCycle(const CycleReport& report, const ChartModel* chart)
{
    const int pages = cyclePages(report);
    d->beginPart(report.identity, pages);
    layOutCycle(report, chart);
}

void ReportDocument::layOutCover(const QString& oven, const QDate& from, const QDate& to,
                                 const QList<BatchRow>& rows)
{
    const Language& l = d->language;
    d->text(batchTitle(l, oven, from, to), d->font(15, true), d->lineHeight(d->font(8)));

    Table t;
    t.title = l.cycleCount(rows.size());
    t.headers = {l.text(Text::ReportCycle),          l.text(Text::ReportDate),
                 l.text(Text::ReportStart),          l.text(Text::ReportEnd),
                 l.text(Text::ReportDuration),       l.text(Text::BatchConsumption),
                 l.text(Text::ReportSetTemperature), l.text(Text::ReportReachedAfter),
                 l.text(Text::ReportHeldFor),        l.text(Text::BatchProgress)};
    t.widths = {0.75, 1.1, 0.85, 1.1, 0.9, 1.15, 1.05, 1.0, 0.9, 0.9};
    t.right = {false, false, false, false, true, true, true, true, true, true};
    t.foot = l.text(Text::BatchProgressNote);
    t.fitted = true;
    t.points = 7.5; // ten columns side by side
    for (const BatchRow& row : rows) {
        if (!row.failure.isEmpty()) {
            t.rows.append({row.number, fillIn(l.text(Text::BatchFailed), {row.failure})});
            continue;
        }
        t.rows.append(
            {row.number, dateText(row.date), clockText(row.startTimeOfDay),
             endText(row.date, row.endDate, row.endTimeOfDay),
             row.duration ? hoursMinutesSeconds(*row.duration) : Dash,
             d->consumption(row.consumed, row.unit), d->number(row.setTemperature, 1),
             row.reachedAfter ? hoursMinutesSeconds(*row.reachedAfter)
                              : l.text(Text::ReportNotReached),
             row.reachedAfter ? hoursMinutesSeconds(row.heldFor) : Dash,
             row.progress ? QString::number(*row.progress) + QStringLiteral(" %") : Dash});
    }
    t.boldRowsFrom = int(t.rows.size());
    // Kilograms and kilowatt hours are not summed together: a total line for each.
    const QList<UnitTotal> totals = consumptionByUnit(rows);
    if (totals.isEmpty())
        t.rows.append({l.text(Text::BatchTotal), QString(), QString(), QString(), QString(), Dash});
    for (const UnitTotal& total : totals)
        t.rows.append({l.text(Text::BatchTotal), QString(), QString(), QString(), QString(),
                       d->consumption(total.sum, total.unit)});
    d->table(t);
}

void ReportDocument::layOutCycle(const CycleReport& r, const ChartModel* chart)
{
    const Language& l = d->language;
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
        options.append(r.powerLevel ? l.text(Text::ReportPowerRegulation) + u' ' +
                                          QString::number(*r.powerLevel) + QStringLiteral(" %")
                                    : l.text(Text::ReportPowerRegulation));

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
        {l.text(Text::ReportDuration), r.duration ? hoursMinutesSeconds(*r.duration) : Dash},
        {l.text(Text::ReportHeating), heating},
        {l.text(Text::ReportBurners), r.heatingType == 3 ? Dash : QString::number(r.burnerCount)},
        {l.text(Text::ReportOptions),
         options.isEmpty() ? l.text(Text::ReportNone) : options.join(QStringLiteral(", "))},
    };
    const QFont bodyFont = d->font(8.5);
    const QFont nameFont = d->font(8.5, true);
    const qreal h = d->lineHeight(bodyFont) * 1.35;
    const qreal w = d->width / 4.8;
    for (qsizetype i = 0; i < pairs.size(); i += 2) {
        const qsizetype end = std::min(i + 2, pairs.size());
        // A long value (the options) wraps and makes its line taller.
        qreal lineHeight = h;
        for (qsizetype j = i; j < end; ++j)
            lineHeight = std::max(
                lineHeight,
                d->wrappedHeight(pairs.at(j).second, bodyFont, w * 1.4 - h * 0.2) + h * 0.35);
        d->ensure(lineHeight);
        qreal x = 0;
        for (qsizetype j = i; j < end && d->drawing; ++j) {
            d->painter.setFont(nameFont);
            d->painter.drawText(QRectF(x, d->y, w, lineHeight), Qt::AlignLeft | Qt::AlignVCenter,
                                pairs.at(j).first);
            d->painter.setFont(bodyFont);
            d->painter.drawText(QRectF(x + w, d->y, w * 1.4 - h * 0.2, lineHeight),
                                Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap,
                                pairs.at(j).second);
            x += w * 2.4;
        }
        d->y += lineHeight;
        d->pageEmpty = false;
    }
    d->y += h * 0.6;

    Table figures;
    figures.title = l.text(Text::ReportFigures);
    figures.headers = {QString(), QString()};
    figures.widths = {2.2, 1.0};
    figures.right = {false, true};
    figures.rows = {
        {l.text(Text::ReportProgrammedTime),
         r.programmedSeconds ? hoursMinutesSeconds(*r.programmedSeconds) : Dash},
        {l.text(Text::ReportSetTemperature), d->number(r.setTemperature, 1)},
        {l.text(Text::ReportReachedAfter),
         r.reachedAfter ? hoursMinutesSeconds(*r.reachedAfter) : l.text(Text::ReportNotReached)},
        {l.text(Text::ReportHeldFor), r.reachedAfter ? hoursMinutesSeconds(r.heldFor) : Dash},
        {l.text(r.unit == RecordTotals::Unit::KilowattHours || r.heatingType == 3
                    ? Text::CursorEnergyUsed
                    : Text::CursorFuelUsed),
         r.consumed ? d->number(*r.consumed, 3) : Dash},
        {l.text(Text::MeanAbsT1T2),
         r.meanAbsT1T2 ? d->number(*r.meanAbsT1T2, 1) + QStringLiteral(" °C") : Dash},
        {l.text(Text::ReportHighestWorking),
         r.highestWorking ? d->number(*r.highestWorking, 1) : Dash},
    };
    for (qsizetype b = 0; b < r.highestExchanger.size(); ++b)
        figures.rows.append(
            {fillIn(l.text(Text::ReportHighestExchanger), {QString::number(b + 1)}),
             r.highestExchanger.at(b) ? d->number(*r.highestExchanger.at(b), 1) : Dash});
    d->table(figures);

    d->chart(chart, r);

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
        outputs.rows.append({outputName(chart, o.series, l), at(o.fromTimeOfDay, o.fromElapsed),
                             at(o.toTimeOfDay, o.toElapsed),
                             hoursMinutesSeconds(o.toElapsed - o.fromElapsed)});
    if (outputs.rows.isEmpty())
        outputs.rows.append({l.text(Text::ReportNone)});
    d->table(outputs);

    d->signOff(r);
}

bool ReportDocument::finish()
{
    if (!d->painter.isActive())
        return false;
    d->footer();
    return d->painter.end();
}

void setUpReportChart(ChartView& view, const Language& language, qreal pageWidth)
{
    view.setAttribute(Qt::WA_DontShowOnScreen);
    view.resize(ChartSize);
    // Printed, the axes name their units: the page has no filter list beside it.
    view.setTitles(chartText(language, Text::WorkingChamber, "Komora robocza"),
                   chartText(language, Text::Temperature, "Temperatura") +
                       QStringLiteral(" [\u00b0C]"),
                   chartText(language, Text::Time, "Czas") + QStringLiteral(" [hh:mm:ss]"));
    view.setEmptyHint(language.text(Text::ChartAllHidden));
    view.setSeriesNames(seriesNames(language));
    const qreal scale = pageWidth / ChartSize.width();
    view.setTextScale(
        std::max<qreal>(1, SmallestChartText / (ChartView::SmallestTextPoints * scale)));
    view.setLanesForAllPeriods(true);
    // A layout pixel prints 0.16 mm wide: the lines' extremes every 3 of them, half a
    // millimetre, still show every peak, at a third of the drawing.
    view.setSamplingStep(3);
}

void showInReportChart(ChartView& view, const CycleReport& report, const ChartModel* chart,
                       const Language& language)
{
    view.resize(chartSize(report));
    view.setIdentity(report.identity);
    // Many burners' markers would pile up on their curves: each burner gets a row.
    view.setMarkerRows(markerRows(report), language.text(Text::Burner) + QStringLiteral(" %1"));
    view.setModel(chart);
    view.resetZoom();
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
