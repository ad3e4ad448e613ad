#pragma once

#include "catalogue/catalogue.h"

#include <QCommandLineOption>
#include <QString>

#include <functional>

namespace kvaro {
class Clock;
class Language;
} // namespace kvaro

namespace kvaro::cli {

// What the commands over an oven's days share.

// --from, --to and --today, as the cycle list's range picker has them.
const QCommandLineOption& fromOption();
const QCommandLineOption& toOption();
const QCommandLineOption& todayOption();

// The oven's folder in the store under home; empty after saying on standard error that
// there is no such oven.
QString existingOvenFolder(const QString& home, const QString& oven);

// The oven's catalogue as the window builds it, with the index in the user's cache folder,
// so files unchanged since the last run are not read again. What the build reports goes
// to show.
Catalogue ovenCatalogue(const QString& folder, const Language& language, const Clock& clock,
                        const std::function<void(const QString&)>& show);

} // namespace kvaro::cli
