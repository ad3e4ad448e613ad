// kvaro-cli ovens: the ovens of the store, one name a line, in the chooser's order.

#include "cli/command.h"

#include "store/storepaths.h"

namespace kvaro::cli
{

namespace
{

int run(const Invocation& invocation)
{
    if (!invocation.arguments.isEmpty()) {
        err(QStringLiteral("usage: kvaro-cli ovens [--home DIR]"));
        return ExitUsage;
    }
    for (const QString& oven : listOvens(StorePaths(invocation.home).storeRoot()))
        out(oven);
    return ExitOk;
}

const bool registered = registerCommand(QStringLiteral("ovens"), QStringLiteral("ovens"), run);

} // namespace

} // namespace kvaro::cli
