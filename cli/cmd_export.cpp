// kvaro-cli export: writes the records of one cycle file as a spreadsheet table, the table
// the window's CSV button saves.

#include "cli/command.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "chart/openedcycle.h"
#include "exports/cycletable.h"

#include <QDir>

namespace kvaro::cli {

namespace {

const QString Usage = QStringLiteral("export FILE --csv OUT.csv [--stored]");

const QCommandLineOption StoredOption(
    QStringLiteral("stored"),
    QStringLiteral("The file is a stored copy: it is read without normalising it first."));
const QCommandLineOption
    CsvOption(QStringLiteral("csv"),
              QStringLiteral("Writes the cycle's drawn records into this CSV file: \";\" "
                             "between fields where the locale writes decimals with \",\", "
                             "\",\" elsewhere."),
              QStringLiteral("OUT.csv"));

int run(const Invocation& invocation)
{
    const QCommandLineParser& parser = invocation.options;
    const QString file = parser.positionalArguments().value(0);
    if (file.isEmpty())
        return refuse(QStringLiteral("export needs a cycle file"), Usage);
    // Given twice, the last one counts.
    const QString csv = parser.value(CsvOption);
    if (csv.isEmpty())
        return refuse(QStringLiteral("export needs --csv OUT.csv"), Usage);

    // The header's words in the interface language, as the window writes them; a missing
    // language file is reported and the built-in words stay.
    const Language language = interfaceLanguage(invocation, [](const QString& text) { err(text); });
    const SystemLocale locale;
    try {
        const OpenedCycle opened =
            openCycle(file, parser.isSet(StoredOption) ? CycleSource::Stored : CycleSource::Picked,
                      locale.decimalSeparator());
        const CsvTable table = cycleTable(opened, language, locale.decimalSeparator());
        table.save(csv);
        out(QStringLiteral("%1: %2 records")
                .arg(QDir::toNativeSeparators(csv))
                .arg(table.rowCount() - 1));
    } catch (const WriteFailure& failure) {
        err(cannotWrite(language, failure.file(), failure.reason()));
        return ExitFailed;
    } catch (const Failure& failure) {
        err(failure.message());
        return ExitFailed;
    }
    return ExitOk;
}

const bool registered = registerCommand({
    .name = QStringLiteral("export"),
    .usage = Usage,
    .listedAs = {},
    .description = QStringLiteral(
        "Writes the records of one cycle file, as the window draws them, into a CSV file for a "
        "spreadsheet: clock time, time from the start, every measured series, the outputs as 0 "
        "or 1 and each burner's event code."),
    .options = {StoredOption, CsvOption},
    .arguments = {{QStringLiteral("FILE"), QStringLiteral("The cycle file.")}},
    .unexpectedArgument = QStringLiteral("unexpected argument %1"),
    .missingValue = QStringLiteral("%1 needs a value"),
    .renders = {},
    .run = run,
});

} // namespace

} // namespace kvaro::cli
