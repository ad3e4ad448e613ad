// kvaro-cli trend: the figures of each cycle of an oven over a range of days, read whole as
// the window draws them, as a text table, a JSON object or a spreadsheet table.

#include "cli/command.h"
#include "cli/oven.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "exports/csvtable.h"
#include "trend/trendbuild.h"
#include "trend/trendtable.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace kvaro::cli {

namespace {

const QString Usage =
    QStringLiteral("trend OVEN [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--csv FILE] [--json]");

struct Options {
    QString oven;
    GivenDays days;
    QString csv;
    bool json = false;
};

const QCommandLineOption FromOption(QStringLiteral("from"),
                                    QStringLiteral("The first day of the trend (default: today)."),
                                    QStringLiteral("YYYY-MM-DD"));
const QCommandLineOption ToOption(QStringLiteral("to"),
                                  QStringLiteral("The last day of the trend (default: today)."),
                                  QStringLiteral("YYYY-MM-DD"));
// The trend words its days its own way, and has no --today.
const DayOptions Days{&FromOption, &ToOption};
const QCommandLineOption CsvOption(QStringLiteral("csv"),
                                   QStringLiteral("Also writes the table as a spreadsheet (CSV) "
                                                  "file."),
                                   QStringLiteral("FILE"));

std::optional<Options> parse(const QCommandLineParser& parser, QString& error)
{
    Options options;
    options.oven = parser.positionalArguments().value(0);
    if (!readDays(parser, Days, options.days, error))
        return std::nullopt;
    if (parser.isSet(CsvOption)) {
        options.csv = parser.values(CsvOption).constLast();
        if (options.csv.isEmpty()) {
            error = QStringLiteral("--csv needs a file");
            return std::nullopt;
        }
    }
    options.json = parser.isSet(jsonOption());
    if (options.oven.isEmpty()) {
        error = QStringLiteral("which oven?");
        return std::nullopt;
    }
    return options;
}

QJsonValue jsonNumber(const std::optional<double>& value)
{
    return value ? QJsonValue(*value) : QJsonValue();
}

QJsonArray cyclesJson(const QList<TrendCycle>& cycles)
{
    QJsonArray array;
    for (const TrendCycle& cycle : cycles) {
        QJsonObject object{
            {QStringLiteral("file"), cycle.file},
            {trendColumnKey(TrendColumn::Start),
             cycle.start.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm"))},
            {trendColumnKey(TrendColumn::Cycle), cycle.number},
        };
        for (int c = int(FirstTrendFigure); c < TrendColumnCount; ++c)
            object.insert(trendColumnKey(TrendColumn(c)),
                          jsonNumber(trendValue(cycle, TrendColumn(c))));
        // The key scripts have read the mean by since the first trend: the same true mean.
        object.insert(QStringLiteral("meanDifference"),
                      jsonNumber(trendValue(cycle, TrendColumn::MeanAbsT1T2)));
        QJsonValue unit;
        if (cycle.figures && cycle.figures->consumed)
            unit = cycle.figures->unit == RecordTotals::Unit::KilowattHours ? QStringLiteral("kWh")
                                                                            : QStringLiteral("kg");
        object.insert(QStringLiteral("unit"), unit);
        array.append(object);
    }
    return array;
}

// Columns padded to their widest cell, two blanks apart.
void printTable(const QList<TrendCycle>& cycles, const Language& language, QChar separator)
{
    QList<QStringList> rows;
    QStringList heading;
    for (int c = 0; c < TrendColumnCount; ++c)
        heading.append(trendColumnTitle(TrendColumn(c), language));
    rows.append(heading);
    for (const TrendCycle& cycle : cycles) {
        QStringList row;
        for (int c = 0; c < TrendColumnCount; ++c)
            row.append(trendCell(cycle, TrendColumn(c), separator));
        rows.append(row);
    }
    QList<qsizetype> widths(TrendColumnCount, 0);
    for (const QStringList& row : rows) {
        for (int c = 0; c < TrendColumnCount; ++c)
            widths[c] = std::max(widths[c], row.at(c).size());
    }
    for (const QStringList& row : rows) {
        QString line;
        for (int c = 0; c < TrendColumnCount; ++c) {
            // Figures line up on the right, the start and the number on the left.
            const QString& cell = row.at(c);
            line += c < int(FirstTrendFigure) ? cell.leftJustified(widths[c])
                                              : cell.rightJustified(widths[c]);
            if (c + 1 < TrendColumnCount)
                line += QStringLiteral("  ");
        }
        out(line.trimmed());
    }
}

int run(const Invocation& invocation)
{
    QString error;
    const std::optional<Options> parsed = parse(invocation.options, error);
    if (!parsed)
        return refuse(error, Usage);
    const Options& options = *parsed;

    EchoingMessages messages;
    const std::optional<OpenedOven> oven =
        openOven(invocation, options.oven, options.days, messages.sink());
    if (!oven)
        return ExitFailed;
    const Language& language = oven->language;
    const DayRange& days = oven->days;
    const SystemLocale locale;

    // The same index as the window's: the figures of unchanged files are not read again.
    const Trend trend =
        buildTrend(oven->catalogue, days.from, days.to, language, {}, {}, oven->index);
    if (!trend.report.isEmpty())
        messages.show(trend.report.message());
    // A trend of nothing is no trend: no table, no file, and a script learns it by the status.
    if (trend.cycles.isEmpty()) {
        sayNoCycles(*oven, options.oven);
        return ExitFailed;
    }

    if (!options.csv.isEmpty()) {
        try {
            trendCsv(trend.cycles, language, locale.decimalSeparator()).save(options.csv);
        } catch (const WriteFailure& failure) {
            err(cannotWrite(language, failure.file(), failure.reason()));
            return ExitFailed;
        }
    }

    if (options.json) {
        const QJsonObject object{
            {QStringLiteral("messages"), QJsonArray::fromStringList(messages.texts())},
            {QStringLiteral("oven"), options.oven},
            {QStringLiteral("from"), days.from.toString(Qt::ISODate)},
            {QStringLiteral("to"), days.to.toString(Qt::ISODate)},
            {QStringLiteral("cycles"), cyclesJson(trend.cycles)},
        };
        out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        printTable(trend.cycles, language, locale.decimalSeparator());
    }
    return ExitOk;
}

const bool registered = registerCommand({
    .name = QStringLiteral("trend"),
    .usage = Usage,
    .listedAs = {},
    .description = QStringLiteral(
        "Reads each cycle of an oven over a range of days as the window draws it and lists its "
        "figures: fuel or energy used, when the set temperature was reached and how long it was "
        "held, the highest working temperature, the mean of |T1 - T2| and the duration. The "
        "table and the CSV file write times as hh:mm:ss, the JSON in minutes."),
    .options = Days.list() + QList{CsvOption, jsonOption()},
    .arguments = {{QStringLiteral("OVEN"), QStringLiteral("The oven's folder name in the store.")}},
    .unexpectedArgument = QStringLiteral("unexpected argument: %1"),
    .missingValue = QStringLiteral("%1 needs a value"),
    .renders = {},
    .run = run,
});

} // namespace

} // namespace kvaro::cli
