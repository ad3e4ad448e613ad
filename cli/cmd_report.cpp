// kvaro-cli report: the PDF report of cycle files, one after another, or the batch report
// of an oven's cycles listed for a range of days, with its cover table.

#include "cli/command.h"
#include "cli/oven.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/cyclelist.h"
#include "report/batchreport.h"
#include "report/cyclereport.h"
#include "report/reportdocument.h"

#include <QDir>
#include <QSaveFile>

#include <optional>

namespace kvaro::cli {

namespace {

const QString Usage = QStringLiteral(
    "report FILE... [--stored] --pdf OUT.pdf | report --oven OVEN [--from YYYY-MM-DD] "
    "[--to YYYY-MM-DD] [--today YYYY-MM-DD] --pdf OUT.pdf");

const QCommandLineOption PdfOption(QStringLiteral("pdf"),
                                   QStringLiteral("The PDF file the report is written to."),
                                   QStringLiteral("OUT.pdf"));
const QCommandLineOption StoredOption(
    QStringLiteral("stored"),
    QStringLiteral("The files are stored copies: they are read without normalising them."));
const QCommandLineOption OvenOption(
    QStringLiteral("oven"),
    QStringLiteral("The batch report of this oven's cycles listed for the range, with a cover "
                   "table."),
    QStringLiteral("OVEN"));

struct Options {
    QStringList files;
    bool stored = false;
    QString oven;
    GivenDays days;
    QString pdf;
};

std::optional<Options> parse(const QCommandLineParser& parser, QString& error)
{
    Options options;
    options.files = parser.positionalArguments();
    options.stored = parser.isSet(StoredOption);
    options.oven = parser.value(OvenOption);
    options.pdf = parser.value(PdfOption);
    if (!readDays(parser, listedDays(), options.days, error))
        return std::nullopt;
    const bool batch = parser.isSet(OvenOption);
    if (options.pdf.isEmpty())
        error = QStringLiteral("report needs --pdf OUT.pdf");
    else if (batch && options.oven.isEmpty())
        error = QStringLiteral("which oven?");
    else if (batch && !options.files.isEmpty())
        error = QStringLiteral("report takes either cycle files or --oven, not both");
    else if (!batch && options.files.isEmpty())
        error = QStringLiteral("report needs cycle files or --oven");
    else if (!batch && (parser.isSet(*listedDays().from) || parser.isSet(*listedDays().to)))
        error = QStringLiteral("--from and --to go with --oven");
    else if (batch && options.stored)
        error = QStringLiteral("--stored goes with cycle files: an oven's cycles are stored");
    if (!error.isEmpty())
        return std::nullopt;
    return options;
}

// Cycle files one after another, each on pages of its own. Any file that cannot be drawn
// stops the report before anything is written.
int reportFiles(const Options& options, const Language& language)
{
    const SystemLocale locale;
    const CycleSource source = options.stored ? CycleSource::Stored : CycleSource::Picked;
    std::vector<LoadedReportCycle> cycles;
    for (const QString& file : options.files) {
        try {
            cycles.push_back(loadReportCycle(file, source, locale.decimalSeparator(), language));
        } catch (const Failure& failure) {
            err(failure.file().isEmpty() ? Failure(failure.text(), file).message()
                                         : failure.message());
            return ExitFailed;
        }
    }
    QSaveFile file(options.pdf);
    bool written = file.open(QIODevice::WriteOnly);
    int pages = 0;
    if (written) {
        ReportDocument document(&file, language, locale.decimalSeparator(),
                                cycles.front().report.identity);
        written = document.isValid();
        for (const LoadedReportCycle& cycle : cycles) {
            if (written)
                document.addCycle(cycle.report, *cycle.chart);
        }
        pages = document.pageCount();
        written = written && document.finish();
    }
    if (!written || !file.commit()) {
        err(cannotWrite(language, options.pdf, file.errorString()));
        return ExitFailed;
    }
    out(QStringLiteral("%1: %2 pages, %3 cycles").arg(options.pdf).arg(pages).arg(cycles.size()));
    return ExitOk;
}

int reportOven(const Options& options, const Invocation& invocation, const Language& language)
{
    const std::optional<OpenedOven> oven =
        openOven(invocation, options.oven, options.days, err, language);
    if (!oven)
        return ExitFailed;
    const SystemLocale locale;
    // The cycles as kvaro-cli cycles lists them.
    const CycleListing listing = listCycles(*oven, err);

    // A batch of nothing is no report: nothing is written, and a script learns it by the
    // status.
    if (listing.items.isEmpty()) {
        sayNoCycles(*oven, options.oven);
        return ExitFailed;
    }
    // The reason a file cannot be written is known before a month of cycles is read.
    {
        QSaveFile probe(options.pdf);
        if (!probe.open(QIODevice::WriteOnly)) {
            err(cannotWrite(language, options.pdf, probe.errorString()));
            return ExitFailed;
        }
    }

    QList<BatchCycle> cycles;
    for (const CycleListItem& item : itemsByStart(oven->catalogue, listing.items))
        cycles.append({QDir(oven->catalogue.OvenFolder).filePath(item.file), item.progress});
    const BatchOutcome outcome =
        writeBatchReport(options.pdf, QDir(oven->folder).dirName(), oven->days.from, oven->days.to,
                         cycles, CycleSource::Stored, language, locale.decimalSeparator());
    for (const BatchRow& row : outcome.rows) {
        if (!row.failure.isEmpty())
            err(row.number + QStringLiteral(": ") + row.failure);
    }
    if (!outcome.written) {
        // Opened and then failed: the file system stopped taking it (a disk filled meanwhile).
        QSaveFile probe(options.pdf);
        const bool opens = probe.open(QIODevice::WriteOnly);
        err(cannotWrite(language, options.pdf,
                        opens ? QStringLiteral("the file could not be written to its end")
                              : probe.errorString()));
        return ExitFailed;
    }
    out(QStringLiteral("%1: %2 pages, %3 cycles")
            .arg(options.pdf)
            .arg(outcome.pages)
            .arg(outcome.rows.size()));
    return ExitOk;
}

int run(const Invocation& invocation)
{
    QString error;
    const std::optional<Options> parsed = parse(invocation.options, error);
    if (!parsed)
        return refuse(error, Usage);
    const Language language = interfaceLanguage(invocation, [](const QString& text) { err(text); });
    return parsed->oven.isEmpty() ? reportFiles(*parsed, language)
                                  : reportOven(*parsed, invocation, language);
}

const bool registered = registerCommand({
    .name = QStringLiteral("report"),
    .usage = Usage,
    .listedAs = QStringLiteral("report FILE... --pdf OUT.pdf | report --oven OVEN ... --pdf "
                               "OUT.pdf"),
    .description = QStringLiteral(
        "Writes the PDF report of cycle files (header, figures, chart, burner events, output "
        "periods), or with --oven the batch report of the cycles listed for a range of days: "
        "a cover table of every cycle and their total, then one report per cycle."),
    .options = QList{PdfOption, StoredOption, OvenOption} + listedDays().list(),
    .arguments = {{QStringLiteral("FILE"), QStringLiteral("A cycle file; several may follow.")}},
    .repeatsLastArgument = true,
    .unexpectedArgument = QStringLiteral("unexpected argument %1"),
    .missingValue = QStringLiteral("%1 needs a value"),
    .renders = [](const QCommandLineParser&) { return true; },
    .run = run,
});

} // namespace

} // namespace kvaro::cli
