#include "cli/oven.h"

#include "base/failure.h"
#include "catalogue/catalogueindex.h"
#include "cli/command.h"
#include "store/storepaths.h"

#include <QFileInfo>

#include <algorithm>

namespace kvaro::cli {

namespace {

DayRange dayRange(const QDate& from, const QDate& to, const QDate& today)
{
    const QDate first = from.isValid() ? from : today;
    const QDate last = to.isValid() ? to : today;
    return {std::min(first, last), std::max(first, last)};
}

// The clock of --today: noon of that day, or of the system's today when not given.
FixedClock clockOfDay(const QDate& today)
{
    return FixedClock(QDateTime(today.isValid() ? today : SystemClock().today(), QTime(12, 0)));
}

// The oven's folder in the store under home; empty after saying on standard error that
// there is no such oven.
QString existingOvenFolder(const QString& home, const QString& oven)
{
    const StorePaths paths(home);
    const QString folder = paths.ovenFolder(oven);
    if (QFileInfo(folder).isDir())
        return folder;
    err(QStringLiteral("no oven \"%1\" in %2").arg(oven, paths.storeRoot()));
    return {};
}

} // namespace

QList<QCommandLineOption> DayOptions::list() const
{
    QList<QCommandLineOption> options{*from, *to};
    if (today)
        options.append(*today);
    return options;
}

const DayOptions& listedDays()
{
    static const QCommandLineOption from(QStringLiteral("from"),
                                         QStringLiteral("The first day listed (default: today)."),
                                         QStringLiteral("YYYY-MM-DD"));
    static const QCommandLineOption to(QStringLiteral("to"),
                                       QStringLiteral("The last day listed (default: today)."),
                                       QStringLiteral("YYYY-MM-DD"));
    static const QCommandLineOption today(
        QStringLiteral("today"), QStringLiteral("The day taken as today (default: the system's)."),
        QStringLiteral("YYYY-MM-DD"));
    static const DayOptions options{&from, &to, &today};
    return options;
}

bool readDays(const QCommandLineParser& parser, const DayOptions& options, GivenDays& days,
              QString& error)
{
    const std::pair<const QCommandLineOption*, QDate*> read[] = {
        {options.from, &days.from}, {options.to, &days.to}, {options.today, &days.today}};
    for (const auto& [option, day] : read) {
        if (!option)
            continue;
        for (const QString& value : parser.values(*option)) {
            *day = QDate::fromString(value, Qt::ISODate);
            if (!day->isValid()) {
                error = QStringLiteral("not a date YYYY-MM-DD: ") + value;
                return false;
            }
        }
    }
    return true;
}

std::optional<OpenedOven> openOven(const Invocation& invocation, const QString& oven,
                                   const GivenDays& days, const Show& show,
                                   std::optional<Language> language)
{
    const FixedClock clock = clockOfDay(days.today);
    const DayRange range = dayRange(days.from, days.to, clock.today());
    const QString folder = existingOvenFolder(invocation.home, oven);
    if (folder.isEmpty())
        return std::nullopt;
    if (!language)
        language = interfaceLanguage(invocation, show);
    CatalogueIndex* index = &CatalogueIndex::user();
    CatalogueBuild build =
        buildCatalogue(folder, *language, clock, {}, Reading::Partial, {}, index);
    if (!build.report.isEmpty())
        show(build.report.message());
    return OpenedOven{range, folder, std::move(*language), std::move(build.catalogue), index};
}

CycleListing listCycles(const OpenedOven& oven, const Show& show)
{
    const SystemLocale locale;
    CycleListing listing =
        wczytajKalendarz(oven.catalogue, oven.days.from, oven.days.to, oven.language, locale,
                         Reading::Partial, {}, {}, oven.index);
    if (!listing.report.isEmpty())
        show(listing.report.message());
    return listing;
}

void sayNoCycles(const OpenedOven& oven, const QString& name)
{
    err(fillIn(oven.language.text(Text::RangeHoldsNoCycles),
               {name, oven.days.from.toString(Qt::ISODate), oven.days.to.toString(Qt::ISODate)}));
}

} // namespace kvaro::cli
