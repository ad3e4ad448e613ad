// kvaro-cli chart: draws one cycle file the way the window does and prints what the
// window would show, as text or as one JSON object; optionally renders it to a PNG.

#include "cli/command.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/cycleidentity.h"
#include "chart/filterlist.h"
#include "chart/navigation.h"
#include "chart/openedcycle.h"
#include "chart/seriesname.h"
#include "chart/summaryfigures.h"
#include "chart/view/chartview.h"
#include "cycles/cycleformat.h"

#include <QDir>
#include <QImage>
#include <QImageWriter>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSize>

#include <optional>

namespace kvaro::cli {

namespace {

const QString Usage =
    QStringLiteral("chart FILE [--stored] [--check-all] [--json] [--png OUT.png] [--size WxH]");

struct Options {
    QString file;
    bool stored = false;
    bool checkAll = false;
    bool json = false;
    QString png;
    QSize size{1200, 700};
};

std::optional<QSize> parseSize(const QString& text)
{
    const QStringList parts = text.split(QLatin1Char('x'));
    if (parts.size() != 2)
        return std::nullopt;
    bool okWidth = false;
    bool okHeight = false;
    const int width = parts.at(0).toInt(&okWidth);
    const int height = parts.at(1).toInt(&okHeight);
    if (!okWidth || !okHeight || width <= 0 || height <= 0 || width > 20000 || height > 20000)
        return std::nullopt;
    return QSize(width, height);
}

const QCommandLineOption StoredOption(
    QStringLiteral("stored"),
    QStringLiteral("The file is a stored copy: it is drawn without normalising it first."));
const QCommandLineOption
    CheckAllOption(QStringLiteral("check-all"),
                   QStringLiteral("Checks every shown item of the filter list after drawing."));
const QCommandLineOption PngOption(QStringLiteral("png"),
                                   QStringLiteral("Also renders the chart into this PNG file."),
                                   QStringLiteral("OUT.png"));
const QCommandLineOption SizeOption(QStringLiteral("size"),
                                    QStringLiteral("The size of the PNG (default: 1200x700)."),
                                    QStringLiteral("WxH"));

// Returns the options, or an error text for a bad command line.
std::optional<Options> parse(const QCommandLineParser& parser, QString& error)
{
    Options options;
    options.file = parser.positionalArguments().value(0);
    options.stored = parser.isSet(StoredOption);
    options.checkAll = parser.isSet(CheckAllOption);
    options.json = parser.isSet(jsonOption());
    options.png = parser.value(PngOption);
    // Given twice, the last one counts; each must be a size.
    for (const QString& value : parser.values(SizeOption)) {
        if (const auto size = parseSize(value)) {
            options.size = *size;
        } else {
            error = QStringLiteral("--size takes WIDTHxHEIGHT, for example 1200x700, not ") + value;
            return std::nullopt;
        }
    }
    if (options.file.isEmpty()) {
        error = QStringLiteral("chart needs a cycle file");
        return std::nullopt;
    }
    return options;
}

// The texts the window sets from the language file; its own texts where there is none.
QString languageText(const Language& language, Text name, const QString& designText)
{
    return language.buffer().count() == 0 ? designText : language.text(name);
}

QJsonArray seriesJson(const ChartModel& chart)
{
    QJsonArray all;
    for (int s = 0; s < chart.count(); ++s) {
        const ChartSeries& series = chart.at(s);
        QJsonObject object{{QStringLiteral("title"), series.title},
                           {QStringLiteral("active"), series.active}};
        QJsonArray items;
        switch (series.kind) {
        case SeriesKind::Line:
        case SeriesKind::Area:
            for (qsizetype i = 0; i < series.points.size(); ++i)
                items.append(
                    QJsonArray{series.points.x(i), series.points.y(i), series.points.label(i)});
            object.insert(QStringLiteral("points"), items);
            break;
        case SeriesKind::Arrow:
            for (const ChartArrow& a : series.arrows)
                items.append(QJsonArray{a.x0, a.y0, a.x1, a.y1});
            object.insert(QStringLiteral("arrows"), items);
            break;
        case SeriesKind::Bubble:
            for (const ChartBubble& b : series.bubbles)
                items.append(QJsonArray{b.x, b.y, b.radius});
            object.insert(QStringLiteral("bubbles"), items);
            break;
        }
        all.append(object);
    }
    return all;
}

// Grows by one whenever a key of the JSON changes its meaning; new keys alone leave it.
constexpr int JsonSchema = 1;

template <typename T> QJsonValue orNull(const std::optional<T>& value)
{
    return value ? QJsonValue(*value) : QJsonValue();
}

QJsonValue fuelJson(FuelPicture fuel)
{
    switch (fuel) {
    case FuelPicture::Olej:
        return QStringLiteral("oil");
    case FuelPicture::Gaz:
        return QStringLiteral("gas");
    case FuelPicture::Prad:
        return QStringLiteral("electricity");
    case FuelPicture::None:
        break;
    }
    return {};
}

QJsonValue unitJson(RecordTotals::Unit unit)
{
    switch (unit) {
    case RecordTotals::Unit::Kilograms:
        return QStringLiteral("kg");
    case RecordTotals::Unit::KilowattHours:
        return QStringLiteral("kWh");
    case RecordTotals::Unit::None:
        break;
    }
    return {};
}

// The summary as numbers under English keys for scripts; the README names each key.
QJsonObject summaryJson(const SummaryFigures& f)
{
    return QJsonObject{
        {QStringLiteral("fuel"), fuelJson(f.fuel)},
        {QStringLiteral("consumption"), orNull(f.consumption)},
        {QStringLiteral("consumptionAtLastRecord"), orNull(f.consumptionAtLastRecord)},
        {QStringLiteral("consumptionUnit"), unitJson(f.consumptionUnit)},
        {QStringLiteral("programmedSeconds"), orNull(f.programmedSeconds)},
        {QStringLiteral("setTemperature"), orNull(f.setTemperature)},
        {QStringLiteral("reachedAfterSeconds"), orNull(f.reachedAfterSeconds)},
        {QStringLiteral("heldForSeconds"), orNull(f.heldForSeconds)},
        {QStringLiteral("meanAbsT1T2"), orNull(f.meanAbsT1T2)},
        {QStringLiteral("halfMeanAbsT1T2RoundedDown"), orNull(f.halfMeanAbsT1T2RoundedDown)},
        {QStringLiteral("highestWorking"), orNull(f.highestWorking)},
        {QStringLiteral("durationSeconds"), orNull(f.durationSeconds)},
        {QStringLiteral("burnerCount"), orNull(f.burnerCount)},
        {QStringLiteral("powerLevelPercent"), orNull(f.powerLevelPercent)},
    };
}

struct Outcome {
    ChartModel chart;
    ChartSummary summary;
    FilterList filters;
    QString error;
    bool hasError = false;
    int zoomLevel = navigation::ZoomReset;
};

// The window's own message says only that the cycle cannot be drawn; a script also learns
// which file (and line) it is about.
void notDrawable(Outcome& o, const QString& text, const QString& file, int line = -1)
{
    o.hasError = true;
    o.error = Failure(text, file, line).message();
    err(o.error);
}

QJsonObject json(const Outcome& o, const QStringList& messages)
{
    const ChartSummary& s = o.summary;
    QJsonObject labels{
        {QStringLiteral("AdvSmoothLabel3"), navigation::initialTemperatureText()},
        {QStringLiteral("CzasLabel"), navigation::initialTimeText()},
        {QStringLiteral("AdvSmoothLabel5"), navigation::zoomLabel(o.zoomLevel)},
    };
    for (const SummaryLabel& label : summaryLabels(s))
        labels.insert(label.objectName, label.text);
    const SummaryShown& v = s.shown;
    const QJsonObject shown{
        {QStringLiteral("Chart1"), v.chart},
        {QStringLiteral("PalnikImg"), v.burners},
        {QStringLiteral("PalnikStatus"), v.burnerCount},
        {QStringLiteral("GrodzImg"), v.secondChannel},
        {QStringLiteral("PrzewietrzanieImg"), v.airing},
        {QStringLiteral("RegulacjaMocyImg"), v.powerRegulation},
        {QStringLiteral("regulacjaMocyBar"), v.powerBar},
        {QStringLiteral("Olej"), v.oil},
        {QStringLiteral("Gaz"), v.gas},
        {QStringLiteral("Prad"), v.electricity},
        {QStringLiteral("FooterImage"), v.fuelFooter},
    };
    const QJsonObject results{
        {QStringLiteral("LoadedOvenKind"), s.LoadedOvenKind},
        {QStringLiteral("LoadedBurnerCount"), s.LoadedBurnerCount},
        {QStringLiteral("LoadedProbeCount"), s.LoadedProbeCount},
    };
    QJsonArray filters;
    for (int i = 0; i < o.filters.count(); ++i) {
        const FilterList::Item& item = o.filters.item(i);
        filters.append(QJsonObject{{QStringLiteral("caption"), item.caption},
                                   {QStringLiteral("shown"), item.shown},
                                   {QStringLiteral("checked"), item.checked}});
    }
    const QString footer = fuelPictureName(s.fuel);
    return QJsonObject{
        {QStringLiteral("messages"), QJsonArray::fromStringList(messages)},
        {QStringLiteral("error"), o.hasError ? QJsonValue(o.error) : QJsonValue()},
        {QStringLiteral("series"), seriesJson(o.chart)},
        {QStringLiteral("labels"), labels},
        {QStringLiteral("schema"), JsonSchema},
        {QStringLiteral("summary"), summaryJson(summaryFiguresOf(s, o.chart))},
        {QStringLiteral("shown"), shown},
        {QStringLiteral("FooterImage"), footer.isEmpty() ? QJsonValue() : QJsonValue(footer)},
        {QStringLiteral("regulacjaMocyBar"), s.powerLevel},
        {QStringLiteral("Advsmoothtabpager1"), s.cycleTabsEnabled},
        {QStringLiteral("results"), results},
        {QStringLiteral("filters"), filters},
    };
}

void printText(const Outcome& o)
{
    const ChartSummary& s = o.summary;
    out(QStringLiteral("chart: ") +
        (s.shown.chart ? QStringLiteral("shown") : QStringLiteral("hidden")));
    out(QStringLiteral("points of T1: %1").arg(o.chart.at(series::T1).points.size()));
    // Every summary label but the burner count, which the picture beside it explains.
    for (const SummaryLabel& label : summaryLabels(s)) {
        if (label.objectName != QLatin1String("PalnikStatus"))
            out(label.objectName + QStringLiteral(": ") + label.text);
    }
    out(QStringLiteral("LoadedOvenKind %1, LoadedBurnerCount %2, LoadedProbeCount %3")
            .arg(s.LoadedOvenKind)
            .arg(s.LoadedBurnerCount)
            .arg(s.LoadedProbeCount));
}

int run(const Invocation& invocation)
{
    QString usageError;
    const std::optional<Options> parsed = parse(invocation.options, usageError);
    if (!parsed)
        return refuse(usageError, Usage);
    const Options& options = *parsed;

    EchoingMessages messages;
    // Start-up: the language as the window finds it; a missing file is reported and the
    // window's own texts stay.
    const Language language = interfaceLanguage(invocation, messages.sink());
    const SystemLocale locale;

    Outcome o;
    QString identity; // the picture's line under the title
    if (language.buffer().count() > 0)
        o.filters.setCaptions(language);

    const bool ran = guarded(messages, [&] {
        const OpenedCycle opened =
            openCycle(options.file, options.stored ? CycleSource::Stored : CycleSource::Picked,
                      locale.decimalSeparator());
        if (!opened.drawable) {
            // The file cannot be drawn: the window says so and draws nothing.
            messages.show(language.text(Text::NotDrawable));
            notDrawable(o, language.text(Text::NotDrawable), options.file);
            return;
        }
        o.chart.clearAll();
        identity = cycleIdentityLine(opened.lines, options.stored, language);
        ChartLoad load = WczytajWykres(
            opened.lines, language, {std::move(o.chart), o.summary, std::move(o.filters), {}, {}});
        o.chart = std::move(load.chart);
        o.summary = std::move(load.summary);
        o.filters = std::move(load.filters);
        for (const QString& said : load.messages)
            messages.show(said);
        load.rethrowFailure();
        o.zoomLevel = navigation::ZoomReset; // ChartZoomReset
        // The window hides the chart and says so; a script must not take that for a chart.
        if (!isDrawableOvenKind(o.summary.LoadedOvenKind))
            notDrawable(o, language.text(Text::NotDrawable), options.file, line::FirstRecord);
    });
    if (!ran) {
        o.hasError = true;
        o.error = messages.texts().constLast();
    }
    if (options.checkAll)
        o.filters.checkAllShown(o.chart);

    int status = o.hasError ? ExitFailed : ExitOk;
    if (!options.png.isEmpty()) {
        const QImage image = renderChartImage(
            o.chart, languageText(language, Text::WorkingChamber, QStringLiteral("Komora robocza")),
            languageText(language, Text::Temperature, QStringLiteral("Temperatura")),
            languageText(language, Text::Time, QStringLiteral("Czas")), options.size,
            language.text(Text::ChartAllHidden), identity,
            language.buffer().count() == 0 ? QStringList() : seriesNames(language));
        QImageWriter writer(options.png, "PNG");
        if (image.isNull() || !writer.write(image)) {
            err(cannotWrite(language, options.png, writer.errorString()));
            status = ExitFailed;
        }
    }

    // Compact: a long cycle has hundreds of thousands of points.
    if (options.json)
        out(QString::fromUtf8(
            QJsonDocument(json(o, messages.texts())).toJson(QJsonDocument::Compact)));
    else
        printText(o);
    return status;
}

const bool registered = registerCommand({
    .name = QStringLiteral("chart"),
    .usage = Usage,
    .listedAs = {},
    .description = QStringLiteral(
        "Draws one cycle file the way the window does and prints what the window would show; "
        "optionally renders it to a PNG."),
    .options = {StoredOption, CheckAllOption, jsonOption(), PngOption, SizeOption},
    .arguments = {{QStringLiteral("FILE"), QStringLiteral("The cycle file.")}},
    .unexpectedArgument = QStringLiteral("unexpected argument %1"),
    .missingValue = QStringLiteral("%1 needs a value"),
    .renders = [](const QCommandLineParser& parser) { return parser.isSet(PngOption); },
    .run = run,
});

} // namespace

} // namespace kvaro::cli
