// kvaro-cli ovens: the ovens of the store, one name a line, in the chooser's order.

#include "cli/command.h"

#include "store/storepaths.h"

namespace kvaro::cli {

namespace {

int run(const Invocation& invocation)
{
    for (const QString& oven : listOvens(StorePaths(invocation.home).storeRoot()))
        out(oven);
    return ExitOk;
}

const bool registered = registerCommand({
    .name = QStringLiteral("ovens"),
    .usage = QStringLiteral("ovens [--home DIR]"),
    .listedAs = QStringLiteral("ovens"),
    .description = QStringLiteral("Lists the ovens of the store, one name a line, in the "
                                  "chooser's order."),
    .options = {},
    .arguments = {},
    .unexpectedArgument = {},
    .missingValue = {},
    .renders = {},
    .run = run,
});

} // namespace

} // namespace kvaro::cli
