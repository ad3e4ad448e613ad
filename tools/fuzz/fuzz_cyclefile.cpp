// libFuzzer target: arbitrary bytes as a cycle file, through everything a file from a drive
// reaches — the line buffer with its encodings, field splitting, normalisation, the oven
// name, the catalogue's reading (partial and whole, which must agree), the cycle list, the
// statistics and
// the chart loader with its filter list. Failures are expected; crashes, hangs, sanitizer
// reports and disagreements are not.
#include "catalogue/catalogue.h"
#include "catalogue/cyclelist.h"
#include "catalogue/cyclestatistics.h"
#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "cycles/failure.h"
#include "cycles/fields.h"
#include "cycles/language.h"
#include "cycles/linebuffer.h"
#include "cycles/platform.h"
#include "store/ovenname.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>
#include <optional>

using namespace kvaro;

namespace {

QTemporaryDir* folder = nullptr;
QString filePath;

void catalogueAndStatistics(const Language& language)
{
    const FixedClock clock(QDateTime(QDate(2024, 3, 14), QTime(12, 0)));
    CatalogueBuild partial = buildCatalogue(folder->path(), language, clock, {}, Reading::Partial);
    CatalogueBuild whole = buildCatalogue(folder->path(), language, clock, {}, Reading::Whole);
    if (partial.catalogue.CycleDates != whole.catalogue.CycleDates ||
        partial.catalogue.ListBox3 != whole.catalogue.ListBox3 ||
        partial.catalogue.StartRecordTable != whole.catalogue.StartRecordTable ||
        partial.catalogue.EndRecordTable != whole.catalogue.EndRecordTable ||
        partial.report.lines != whole.report.lines) {
        qFatal("partial and whole reading of a cycle file disagree");
    }
    const FixedLocale locale(QLatin1Char(','));
    const CycleListing listing = wczytajKalendarz(partial.catalogue, QDate(1900, 1, 1),
                                                  QDate(2999, 12, 31), language, locale);
    (void)listing.report.message();
    for (const Reading reading : {Reading::Partial, Reading::Whole}) {
        std::optional<int> length, held;
        try {
            length = getCyklSekund(filePath, reading);
        } catch (const Failure&) {
        }
        try {
            held = getSekundWtemperaturze(filePath, 100, reading);
        } catch (const Failure&) {
        }
        static std::optional<int> firstLength, firstHeld;
        if (reading == Reading::Partial) {
            firstLength = length;
            firstHeld = held;
        } else if (firstLength != length || firstHeld != held) {
            qFatal("partial and whole statistics of a cycle file disagree");
        }
    }
}

void chart(const LineBuffer& memo1, const Language& language)
{
    if (memo1.trimmedCount() < 3)
        return;
    ChartModel model;
    ChartSummary summary;
    FilterList filters;
    RecordingMessages messages;
    try {
        WczytajWykres(memo1, language, model, summary, filters, messages);
        filters.checkAllShown(model);
        filters.uncheckAllShown(model);
    } catch (const Failure& failure) {
        (void)failure.message();
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    folder = new QTemporaryDir;
    filePath = QDir(folder->path()).filePath(QStringLiteral("P1.csv"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        QFile file(filePath);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(bytes);
    }
    const Language language(QStringList{QStringLiteral("text 0")});

    for (const QChar separator : {QLatin1Char('.'), QLatin1Char(',')}) {
        LineBuffer memo1(LineBuffer::Case::Lower);
        memo1.loadBytes(bytes, filePath);
        normalise(memo1, separator);
        for (int i = 0; i < memo1.count(); ++i) {
            const Record record(memo1.line(i), filePath, i);
            if (record.size() > 0 && record.isRecordLine()) {
                (void)ovenName(record.fields());
                break;
            }
        }
        (void)memo1.toBytes();
        (void)normalisedCopy(bytes, separator);
        chart(memo1, language);
    }
    catalogueAndStatistics(language);
    return 0;
}
