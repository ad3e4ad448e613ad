#pragma once

#include "catalogue/catalogue.h"

#include "base/platform.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QDate>
#include <QString>

#include <functional>
#include <initializer_list>
#include <utility>

namespace kvaro {
class Language;
} // namespace kvaro

namespace kvaro::cli {

// What the commands over an oven's days share.

// --from, --to and --today, as the cycle list's range picker has them.
const QCommandLineOption& fromOption();
const QCommandLineOption& toOption();
const QCommandLineOption& todayOption();

// Reads each option's date into its day (left alone when not given; given twice, the last
// counts). False, with the reason in error, for a value that is no date YYYY-MM-DD.
bool readDays(const QCommandLineParser& parser,
              std::initializer_list<std::pair<const QCommandLineOption&, QDate&>> days,
              QString& error);

// The days from and to as given, either one today when not given, in order: a range
// given backwards lists the same days.
struct DayRange {
    QDate from;
    QDate to;
};
DayRange dayRange(const QDate& from, const QDate& to, const QDate& today);

// The clock of --today: noon of that day, or of the system's today when not given.
FixedClock clockOfDay(const QDate& today);

// The oven's folder in the store under home; empty after saying on standard error that
// there is no such oven.
QString existingOvenFolder(const QString& home, const QString& oven);

// The oven's catalogue as the window builds it, with the index in the user's cache folder,
// so files unchanged since the last run are not read again. What the build reports goes
// to show.
Catalogue ovenCatalogue(const QString& folder, const Language& language, const Clock& clock,
                        const std::function<void(const QString&)>& show);

} // namespace kvaro::cli
