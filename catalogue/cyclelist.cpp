#include "catalogue/cyclelist.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "catalogue/cyclestatistics.h"
#include "catalogue/indexedpass.h"
#include "cycles/cycleformat.h"
#include "cycles/fields.h"
#include "cycles/orderedwork.h"
#include "store/cyclefolder.h"

#include <QDir>
#include <QHash>

#include <algorithm>
#include <cmath>

namespace kvaro {

namespace {

QString escaped(const QString& text)
{
    return text.toHtmlEscaped();
}

// A clock field as people read it: "6" is written "06", so "6:1" never reads as ten past
// six. A field that is no small whole number is shown as the file has it.
QString clockPart(const QString& text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok || value < 0 || value > 99 || text.size() > 2)
        return text;
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString clockPart(int value)
{
    return clockPart(QString::number(value));
}

// "hh:mm" or "hh:mm:ss" from the fields of a record, each part as clockPart writes it.
QString clockText(const QStringList& parts)
{
    QStringList texts;
    for (const QString& part : parts)
        texts.append(clockPart(part));
    return texts.join(QLatin1Char(':'));
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
    const QString start = catalogue.ListBox3.value(entry);
    return QStringLiteral("<b>") + language.text(Text::Start) + QStringLiteral(":</b> ") +
           escaped(clockText(start.split(QLatin1Char(':')))) + QStringLiteral("<br><b>") +
           language.text(Text::End) + QStringLiteral(":</b> ") +
           escaped(clockText({catalogue.endField(entry, field::Hour),
                              catalogue.endField(entry, field::Minute),
                              catalogue.endField(entry, field::Second)})) +
           QStringLiteral("<br><i>") + language.text(Text::Consumption) + QStringLiteral(": ") +
           e(field::Fuel) + QStringLiteral("<br>") + language.text(Text::Temperature) +
           QStringLiteral(": ") + escaped(catalogue.startField(entry, field::SetTemperature)) +
           QStringLiteral("°C</i><br><br>");
}

QList<CycleListItem> itemsByStart(const Catalogue& catalogue, QList<CycleListItem> items)
{
    QHash<QString, QDateTime> starts;
    starts.reserve(catalogue.size());
    for (int i = 0; i < catalogue.size(); ++i)
        starts.insert(catalogue.CycleFileNames.at(i), catalogue.startOf(i));
    std::stable_sort(items.begin(), items.end(),
                     [&](const CycleListItem& a, const CycleListItem& b) {
                         return starts.value(a.file) < starts.value(b.file);
                     });
    return items;
}

QString sectionHint(const QString& number, const CycleStamp& start, const CycleStamp& end,
                    const Language& language)
{
    return fillIn(language.text(Text::TimeLineHint),
                  {number, clockPart(start.hour), clockPart(start.minute), clockPart(end.hour),
                   clockPart(end.minute)});
}

namespace {

// The set temperature the cycle's progress is measured against. Clamped before the
// conversion: a damaged file's 1e90 fits no integer.
int setTemperature(const Catalogue& catalogue, int entry, const QString& file)
{
    return int(std::clamp(
        std::floor(decimalField(catalogue.startField(entry, field::SetTemperature), file)), -1e9,
        1e9));
}

// One of the file readings behind the progress bar, its failure kept as its report line.
template <typename Read> Measured measure(const QString& file, Read read)
{
    Measured measured;
    try {
        measured.value = read();
    } catch (Failure& failure) {
        measured.failure = reportLine(failure.at(file));
    }
    return measured;
}

// The figures of one listed cycle, as a thread of the pool works them out.
struct Figured {
    std::optional<CycleFigures> figures; // none when the set temperature cannot be read
    bool read = false;                   // read now, not taken from the index
    bool keep = false;                   // ... from the file as the index knows it
};

Figured figure(const Catalogue& catalogue, int entry, Reading reading, const OvenIndex* known,
               const CycleFolder* folder)
{
    const QString& file = catalogue.CycleFileNames.at(entry);
    Figured figured;
    int temperature = 0;
    try {
        temperature = setTemperature(catalogue, entry, file);
    } catch (Failure&) {
        return figured; // the listing meets this failure itself, in its place
    }
    const IndexedFile* indexed = nullptr;
    std::optional<FileStamp> stamp;
    if (known) {
        indexed = known->find(file);
        if (indexed)
            stamp = folder->stamp(file);
    }
    const bool unchanged = indexed && stamp && *stamp == indexed->stamp;
    if (unchanged && indexed->figures && indexed->figures->temperature == temperature) {
        figured.figures = indexed->figures;
        return figured;
    }

    CycleFigures figures;
    figures.temperature = temperature;
    // The folder ends with a separator in every catalogue built; QDir for any other.
    const QString path = catalogue.OvenFolder.endsWith(QLatin1Char('/'))
                             ? catalogue.OvenFolder + file
                             : QDir(catalogue.OvenFolder).filePath(file);
    figures.held =
        measure(file, [&] { return getSekundWtemperaturze(path, temperature, reading); });
    if (!figures.held.failed() && figures.held.value > 0)
        figures.length = measure(file, [&] { return getCyklSekund(path, reading); });
    figured.figures = figures;
    figured.read = true;
    figured.keep = unchanged;
    return figured;
}

} // namespace

CycleListing wczytajKalendarz(const Catalogue& catalogue, const QDate& dataOd, const QDate& dataDo,
                              const Language& language, const Locale& locale, Reading reading,
                              const CatalogueProgress& progress, const CancelCheck& cancel,
                              CatalogueIndex* index)
{
    CycleListing listing;
    double sum = 0;
    const QList<int> listed = catalogue.entriesDated(dataOd, dataDo);
    const int total = int(listed.size());
    if (progress)
        progress(0, total);

    // The files are read on every core; the list is put together here, in catalogue order.
    IndexedPass pass(index, catalogue.OvenFolder, total > 0);
    QList<std::pair<QString, CycleFigures>> fresh;
    {
        OrderedWork<Figured> work(total, [&](int k) {
            return figure(catalogue, listed.at(k), reading, pass.known(), pass.folder());
        });
        for (int k = 0; k < total; ++k) {
            if (cancel && cancel()) {
                listing.cancelled = true;
                break;
            }
            const int i = listed.at(k);
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
                if (!catalogue.EndRecordTable.isRowEmpty(i))
                    sum += decimalField(catalogue.endField(i, field::Fuel), file);

                setTemperature(catalogue, i, file); // throws here if it cannot be read
                Figured figured = work.take(k);
                const CycleFigures& figures = *figured.figures;
                if (figured.keep)
                    fresh.append({file, figures});
                pass.count(figured.read);
                if (figures.held.failed()) {
                    listing.report.add(figures.held.failure);
                } else if (figures.held.value > 0) {
                    if (figures.length->failed())
                        listing.report.add(figures.length->failure);
                    else if (figures.length->value > 0)
                        item.progress = int(std::min(
                            std::floor(double(figures.held.value) / figures.length->value * 100.0),
                            1e9));
                }
            } catch (Failure& failure) {
                listing.report.add(reportLine(failure.at(file)));
            }
            if (progress)
                progress(int(listing.items.size()), total);
        }
    }
    pass.giveBack(fresh, [](IndexedFile& indexed, const CycleFigures& figures) {
        indexed.figures = figures;
    });
    listing.footer = language.cycleCount(listing.items.size());
    listing.footerConsLabel = formatGeneral(sum, locale.decimalSeparator());
    listing.dataButton =
        locale.shortDate(dataOd) + QStringLiteral(" - ") + locale.shortDate(dataDo);
    return listing;
}

} // namespace kvaro
