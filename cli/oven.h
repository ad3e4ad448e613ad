#pragma once

#include "catalogue/catalogue.h"
#include "catalogue/cyclelist.h"

#include "base/language.h"
#include "base/platform.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDate>
#include <QString>

#include <functional>
#include <optional>

namespace kvaro {
class CatalogueIndex;
} // namespace kvaro

namespace kvaro::cli {

struct Invocation;

// The start every command over an oven's days makes, in one place: the day options, the
// oven's folder in the store, the interface language and the oven's catalogue with its index.

// The day options of a command: --from and --to, and --today where the command has it (a
// command without it takes the system's today). A command may word its own.
struct DayOptions {
    const QCommandLineOption* from = nullptr;
    const QCommandLineOption* to = nullptr;
    const QCommandLineOption* today = nullptr;
    // For the command's list of options, in this order.
    QList<QCommandLineOption> list() const;
};

// --from, --to and --today, as the cycle list's range picker has them.
const DayOptions& listedDays();

// The days a command line gives; a day not given is invalid.
struct GivenDays {
    QDate from;
    QDate to;
    QDate today;
};

// Reads each day option's date (given twice, the last counts), in the order from, to, today.
// False, with the reason in error, for a value that is no date YYYY-MM-DD.
bool readDays(const QCommandLineParser& parser, const DayOptions& options, GivenDays& days,
              QString& error);

// The days from and to as given, either one today when not given, in order: a range
// given backwards lists the same days.
struct DayRange {
    QDate from;
    QDate to;
};

using Show = std::function<void(const QString&)>;

// An oven of the store opened as choosing it in the window opens it.
struct OpenedOven {
    DayRange days; // today: --today, or the system's when not given
    QString folder;
    Language language;
    Catalogue catalogue;
    // The index in the user's cache folder, which every reading of the oven's files asks and
    // teaches, so files unchanged since the last run are not read again.
    CatalogueIndex* index = nullptr;
};

// Opens the oven named on the command line: its days, its folder under the invocation's
// home, the interface language (unless the command read it before and gives it) and its
// catalogue. None, after saying on standard error that there is no such oven, when the
// store has none; the language is read only once the oven is there. A missing language
// file and the files the catalogue could not read go to show.
std::optional<OpenedOven> openOven(const Invocation& invocation, const QString& oven,
                                   const GivenDays& days, const Show& show,
                                   std::optional<Language> language = std::nullopt);

// The oven's cycles of its days as the cycle list lists them; what the listing reports goes
// to show.
CycleListing listCycles(const OpenedOven& oven, const Show& show);

// Says on standard error that the oven's days hold no cycles, for a command that then
// writes nothing.
void sayNoCycles(const OpenedOven& oven, const QString& name);

} // namespace kvaro::cli
