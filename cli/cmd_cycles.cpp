// kvaro-cli cycles: builds an oven's catalogue as choosing it in the window does and lists
// a range of days as the cycle list shows it, as text or as one JSON object.

#include "cli/command.h"
#include "cli/oven.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/cyclelist.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <optional>

namespace kvaro::cli {

namespace {

const QString Usage = QStringLiteral(
    "cycles OVEN [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--today YYYY-MM-DD] [--json]");

struct Options {
    QString oven;
    GivenDays days;
    bool json = false;
};

std::optional<Options> parse(const QCommandLineParser& parser, QString& error)
{
    Options options;
    options.oven = parser.positionalArguments().value(0);
    if (!readDays(parser, listedDays(), options.days, error))
        return std::nullopt;
    options.json = parser.isSet(jsonOption());
    if (options.oven.isEmpty()) {
        error = QStringLiteral("which oven?");
        return std::nullopt;
    }
    return options;
}

QJsonValue orNull(const QString& text)
{
    return text.isEmpty() ? QJsonValue() : QJsonValue(text);
}

QJsonArray catalogueJson(const Catalogue& catalogue)
{
    QJsonArray entries;
    for (int i = 0; i < catalogue.size(); ++i) {
        const QDate date = catalogue.CycleDates.at(i);
        const auto& start = catalogue.CycleStartStamps.at(i);
        const auto& end = catalogue.CycleEndStamps.at(i);
        entries.append(QJsonObject{
            {QStringLiteral("file"), catalogue.CycleFileNames.at(i)},
            {QStringLiteral("number"), catalogue.CycleNumbers.at(i)},
            {QStringLiteral("date"),
             orNull(date.isValid() ? date.toString(Qt::ISODate) : QString())},
            {QStringLiteral("startTime"), catalogue.ListBox3.at(i)},
            {QStringLiteral("start"), orNull(start ? start->toIsoText() : QString())},
            {QStringLiteral("end"), orNull(end ? end->toIsoText() : QString())},
        });
    }
    return entries;
}

// A section's wall-clock time as ISO 8601 without a zone: the controller gives none.
QString wallClockText(const QDateTime& time)
{
    return time.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss"));
}

QJsonArray itemsJson(const QList<CycleListItem>& items)
{
    QJsonArray array;
    for (const CycleListItem& item : items) {
        QJsonValue section;
        if (item.section)
            section = QJsonObject{
                {QStringLiteral("start"), wallClockText(item.section->start)},
                {QStringLiteral("end"), wallClockText(item.section->end)},
                {QStringLiteral("hint"), item.section->hint},
            };
        array.append(QJsonObject{
            {QStringLiteral("file"), item.file},
            {QStringLiteral("caption"), item.caption},
            {QStringLiteral("info"), item.info},
            {QStringLiteral("notes"), item.notes},
            {QStringLiteral("progress"), item.progress},
            {QStringLiteral("section"), section},
        });
    }
    return array;
}

void printText(const CycleListing& listing)
{
    for (const CycleListItem& item : listing.items) {
        QString line = item.file + QLatin1Char('\t') + item.info + QLatin1Char('\t');
        if (item.section)
            line += wallClockText(item.section->start) + QStringLiteral(" - ") +
                    wallClockText(item.section->end);
        else
            line += QLatin1Char('-');
        line += QLatin1Char('\t') + QString::number(item.progress) + QLatin1Char('%');
        out(line);
    }
    out(listing.footer);
    out(listing.footerConsLabel);
    out(listing.dataButton);
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
    const CycleListing listing = listCycles(*oven, messages.sink());

    if (options.json) {
        const QJsonObject object{
            {QStringLiteral("messages"), QJsonArray::fromStringList(messages.texts())},
            {QStringLiteral("catalogue"), catalogueJson(oven->catalogue)},
            {QStringLiteral("items"), itemsJson(listing.items)},
            {QStringLiteral("footer"), listing.footer},
            {QStringLiteral("FooterConsLabel"), listing.footerConsLabel},
            {QStringLiteral("DataButton"), listing.dataButton},
        };
        out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        printText(listing);
    }
    return ExitOk;
}

const bool registered = registerCommand({
    .name = QStringLiteral("cycles"),
    .usage = Usage,
    .listedAs = {},
    .description = QStringLiteral(
        "Builds an oven's catalogue as choosing it in the window does and lists a range of "
        "days as the cycle list shows it."),
    .options = listedDays().list() + QList{jsonOption()},
    .arguments = {{QStringLiteral("OVEN"), QStringLiteral("The oven's folder name in the store.")}},
    .unexpectedArgument = QStringLiteral("unexpected argument: %1"),
    .missingValue = QStringLiteral("%1 needs a date YYYY-MM-DD"),
    .renders = {},
    .run = run,
});

} // namespace

} // namespace kvaro::cli
