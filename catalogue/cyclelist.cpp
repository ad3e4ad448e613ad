#include "catalogue/cyclelist.h"

#include "catalogue/cyclestatistics.h"
#include "cycles/cycleformat.h"
#include "cycles/failure.h"
#include "cycles/fields.h"
#include "cycles/language.h"
#include "cycles/platform.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace kvaro {

namespace {

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

QDateTime sectionTime(const CycleStamp& stamp, const QString& file)
{
    const QDateTime time = stamp.toDateTime();
    if (!time.isValid())
        throw Failure(QStringLiteral("'%1-%2-%3 %4:%5' is not a valid date and time")
                          .arg(stamp.year)
                          .arg(stamp.month)
                          .arg(stamp.day)
                          .arg(stamp.hour)
                          .arg(stamp.minute, 2, 10, QLatin1Char('0')),
                      file);
    return time;
}

double decimalField(const QString& text, const QString& file)
{
    try {
        return toDecimal(text);
    } catch (Failure& failure) {
        throw failure.at(file);
    }
}

} // namespace

QDebug operator<<(QDebug debug, const TimeLineSection& section)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "TimeLineSection(" << section.start << ", " << section.end << ", "
                    << section.hint << ')';
    return debug;
}

QDebug operator<<(QDebug debug, const CycleListItem& item)
{
    QDebugStateSaver saver(debug);
    debug.nospace() << "CycleListItem(" << item.file << ", " << item.caption << ", " << item.info
                    << ", " << item.notes << ", " << item.progress << ", ";
    if (item.section)
        debug << *item.section;
    else
        debug << "no section";
    debug << ')';
    return debug;
}

QString cycleCaption(const QDate& date, const Locale& locale)
{
    // The closing tags come in this order in every list the oven people know.
    return QStringLiteral("<b><font face=\"Calibri\" color=\"red\">") +
           escaped(locale.shortDate(date)) + QStringLiteral("</b></font>");
}

QString cycleNotes(const Catalogue& catalogue, int entry, const Language& language)
{
    const auto e = [&](int column) { return escaped(catalogue.endField(entry, column)); };
    return QStringLiteral("<b>") + language.text(Text::Start) + QStringLiteral(":</b> ") +
           escaped(catalogue.ListBox3.value(entry)) + QStringLiteral("<br><b>") +
           language.text(Text::End) + QStringLiteral(":</b> ") + e(field::Hour) + QLatin1Char(':') +
           e(field::Minute) + QLatin1Char(':') + e(field::Second) + QStringLiteral("<br><i>") +
           language.text(Text::Consumption) + QStringLiteral(": ") + e(field::Fuel) +
           QStringLiteral("<br>") + language.text(Text::Temperature) + QStringLiteral(": ") +
           escaped(catalogue.startField(entry, field::SetTemperature)) +
           QStringLiteral("°C</i><br><br>");
}

QString sectionHint(const QString& number, const CycleStamp& start, const CycleStamp& end,
                    const Language& language)
{
    return fillIn(language.text(Text::TimeLineHint),
                  {number, QString::number(start.hour), QString::number(start.minute),
                   QString::number(end.hour), QString::number(end.minute)});
}

CycleListing wczytajKalendarz(const Catalogue& catalogue, const QDate& dataOd, const QDate& dataDo,
                              const Language& language, const Locale& locale, Reading reading,
                              const CatalogueProgress& progress, const CancelCheck& cancel)
{
    CycleListing listing;
    double sum = 0;
    auto inRange = [&](int i) {
        const QDate date = catalogue.CycleDates.value(i);
        return date.isValid() && date >= dataOd && date <= dataDo;
    };
    int total = 0;
    for (int i = 0; i < catalogue.size(); ++i)
        total += inRange(i) ? 1 : 0;
    if (progress)
        progress(0, total);
    for (int i = 0; i < catalogue.size(); ++i) {
        if (!inRange(i))
            continue;
        if (cancel && cancel()) {
            listing.cancelled = true;
            break;
        }
        const QDate date = catalogue.CycleDates.value(i);
        const QString file = catalogue.CycleFileNames.at(i);
        listing.items.append(CycleListItem{});
        CycleListItem& item = listing.items.last();
        item.file = file;
        item.info = QStringLiteral("nr ") + catalogue.CycleNumbers.value(i);
        item.notes = cycleNotes(catalogue, i, language);
        item.caption = cycleCaption(date, locale);
        try {
            const auto& start = catalogue.CycleStartStamps.value(i);
            const auto& end = catalogue.CycleEndStamps.value(i);
            if (start && end)
                item.section = TimeLineSection{
                    sectionTime(*start, file), sectionTime(*end, file),
                    sectionHint(catalogue.CycleNumbers.value(i), *start, *end, language)};
            // A cycle without an end record has no consumption to add.
            if (!catalogue.EndRecordTable.value(i).isEmpty())
                sum += decimalField(catalogue.endField(i, field::Fuel), file);

            const QString path = QDir(catalogue.OvenFolder).filePath(file);
            // Clamped before the conversion: a damaged file's 1e90 fits no integer.
            const int temperatura = int(std::clamp(
                std::floor(decimalField(catalogue.startField(i, field::SetTemperature), file)),
                -1e9, 1e9));
            const int atTemperature = getSekundWtemperaturze(path, temperatura, reading);
            if (atTemperature > 0) {
                const int length = getCyklSekund(path, reading);
                if (length > 0)
                    item.progress =
                        int(std::min(std::floor(double(atTemperature) / length * 100.0), 1e9));
            }
        } catch (Failure& failure) {
            listing.report.add(reportLine(failure.at(file)));
        }
        if (progress)
            progress(int(listing.items.size()), total);
    }
    listing.footer = language.cycleCount(listing.items.size());
    listing.footerConsLabel = formatGeneral(sum, locale.decimalSeparator());
    listing.dataButton =
        locale.shortDate(dataOd) + QStringLiteral(" - ") + locale.shortDate(dataDo);
    return listing;
}

} // namespace kvaro
