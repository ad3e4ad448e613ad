#include "cli/oven.h"

#include "catalogue/catalogueindex.h"
#include "cli/command.h"
#include "store/storepaths.h"

#include <QFileInfo>

#include <algorithm>

namespace kvaro::cli {

const QCommandLineOption& fromOption()
{
    static const QCommandLineOption option(QStringLiteral("from"),
                                           QStringLiteral("The first day listed (default: today)."),
                                           QStringLiteral("YYYY-MM-DD"));
    return option;
}

const QCommandLineOption& toOption()
{
    static const QCommandLineOption option(QStringLiteral("to"),
                                           QStringLiteral("The last day listed (default: today)."),
                                           QStringLiteral("YYYY-MM-DD"));
    return option;
}

const QCommandLineOption& todayOption()
{
    static const QCommandLineOption option(
        QStringLiteral("today"), QStringLiteral("The day taken as today (default: the system's)."),
        QStringLiteral("YYYY-MM-DD"));
    return option;
}

bool readDays(const QCommandLineParser& parser,
              std::initializer_list<std::pair<const QCommandLineOption&, QDate&>> days,
              QString& error)
{
    for (const auto& [option, day] : days) {
        for (const QString& value : parser.values(option)) {
            day = QDate::fromString(value, Qt::ISODate);
            if (!day.isValid()) {
                error = QStringLiteral("not a date YYYY-MM-DD: ") + value;
                return false;
            }
        }
    }
    return true;
}

DayRange dayRange(const QDate& from, const QDate& to, const QDate& today)
{
    const QDate first = from.isValid() ? from : today;
    const QDate last = to.isValid() ? to : today;
    return {std::min(first, last), std::max(first, last)};
}

FixedClock clockOfDay(const QDate& today)
{
    return FixedClock(QDateTime(today.isValid() ? today : SystemClock().today(), QTime(12, 0)));
}

QString existingOvenFolder(const QString& home, const QString& oven)
{
    const StorePaths paths(home);
    const QString folder = paths.ovenFolder(oven);
    if (QFileInfo(folder).isDir())
        return folder;
    err(QStringLiteral("no oven \"%1\" in %2").arg(oven, paths.storeRoot()));
    return {};
}

Catalogue ovenCatalogue(const QString& folder, const Language& language, const Clock& clock,
                        const std::function<void(const QString&)>& show)
{
    const CatalogueBuild build =
        buildCatalogue(folder, language, clock, {}, Reading::Partial, {}, &CatalogueIndex::user());
    if (!build.report.isEmpty())
        show(build.report.message());
    return build.catalogue;
}

} // namespace kvaro::cli
