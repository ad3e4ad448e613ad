// libFuzzer target: arbitrary bytes as a cycle file, through everything a file from a drive
// reaches — the line buffer with its encodings, field splitting, normalisation, the oven
// name, the catalogue's reading (partial and whole, which must agree), the cycle list, the
// statistics and
// the chart loader with its filter list. Failures are expected; crashes, hangs, sanitizer
// reports and disagreements are not. The line buffer and the loader's field reader work on
// bytes; a plain reader of whole strings below checks every line and field they give.
#include "base/failure.h"
#include "base/language.h"
#include "base/linebuffer.h"
#include "base/platform.h"
#include "catalogue/catalogue.h"
#include "catalogue/cyclelist.h"
#include "catalogue/cyclestatistics.h"
#include "chart/chartloader.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "chart/recordfields.h"
#include "cycles/cyclename.h"
#include "cycles/fields.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QStringDecoder>
#include <QTemporaryDir>

#include <algorithm>
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

// The reference: the whole text decoded by its byte-order mark, lower-cased if asked,
// cut into strings at CR LF, CR or LF, and normalised string by string.
QStringList plainLines(const QByteArray& bytes, bool lower)
{
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF"))
        text = QStringDecoder(QStringDecoder::Utf8)(bytes.mid(3));
    else if (bytes.startsWith("\xFF\xFE"))
        text = QStringDecoder(QStringDecoder::Utf16LE)(bytes.mid(2));
    else if (bytes.startsWith("\xFE\xFF"))
        text = QStringDecoder(QStringDecoder::Utf16BE)(bytes.mid(2));
    else
        text = QString::fromLocal8Bit(bytes);
    if (lower)
        text = text.toLower();
    QStringList lines;
    QString current;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) {
            current += c;
            continue;
        }
        lines.append(current);
        current.clear();
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            ++i;
    }
    if (!current.isEmpty())
        lines.append(current);
    return lines;
}

void plainNormalise(QStringList& lines, QChar separator)
{
    bool cut = false;
    for (const QString& line : lines) {
        qsizetype end = 0;
        while (end < line.size() && line.at(end) != QLatin1Char(',') &&
               line.at(end) != QLatin1Char(';'))
            ++end;
        if (end == 1 && line.at(0) >= QLatin1Char('0') && line.at(0) <= QLatin1Char('3')) {
            cut = end < line.size() && line.at(end) == QLatin1Char(';');
            break;
        }
    }
    for (QString& line : lines) {
        line.replace(QLatin1Char(','), cut ? separator : QLatin1Char(';'));
        line.replace(QLatin1Char('.'), separator);
    }
}

QStringList plainFields(const QString& line)
{
    QStringList fields;
    if (line.isEmpty())
        return fields;
    QString current;
    for (const QChar c : line) {
        if (c == QLatin1Char(';')) {
            fields.append(current);
            current.clear();
        } else {
            current += c;
        }
    }
    fields.append(current);
    if (fields.size() >= 2 && fields.last().isEmpty() && fields.at(fields.size() - 2).isEmpty())
        fields.removeLast();
    return fields;
}

template <typename Read> QString outcome(Read read)
{
    try {
        return QString::number(read(), 'g', 17);
    } catch (const Failure& failure) {
        return failure.text();
    }
}

void mustAgree(bool same, const char* what)
{
    if (!same)
        qFatal("the byte reader and the plain reader disagree: %s", what);
}

// Conversions depend on a field's text alone: checking them on one reading of the input is
// enough, and keeps the fuzzer quick.
void compareLines(const LineBuffer& buffer, const QStringList& plain, bool conversions)
{
    mustAgree(buffer.count() == plain.size(), "line count");
    mustAgree(buffer.lines() == plain, "whole lines");
    RecordFields fields(filePath);
    for (int i = 0; i < buffer.count(); ++i) {
        const QString line = plain.at(i).left(LineBuffer::MaxLineLength);
        mustAgree(buffer.line(i) == line, "line");
        fields.assign(buffer.lineBytes(i), i);
        const QStringList expected = plainFields(line);
        mustAgree(fields.size() == expected.size(), "field count");
        for (int f = 0; f < fields.size(); ++f) {
            const QString text = expected.at(f);
            mustAgree(fields.text(f) == text, "field text");
            // The quick conversions take only these characters; any other field goes to the
            // conversion the plain reader uses, on the text just compared.
            const bool numberLike = std::all_of(text.begin(), text.end(), [](QChar c) {
                return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') ||
                       c == QLatin1Char(',') || c == QLatin1Char('-');
            });
            if (!conversions || !numberLike)
                continue;
            mustAgree(outcome([&] { return fields.integer(f); }) ==
                          outcome([&] { return toInteger(text); }),
                      "integer");
            mustAgree(outcome([&] { return fields.decimal(f); }) ==
                          outcome([&] { return toDecimal(text); }),
                      "decimal");
        }
    }
}

void chart(const LineBuffer& memo1, const Language& language)
{
    if (memo1.trimmedCount() < 3)
        return;
    ChartLoad load = WczytajWykres(memo1, language);
    try {
        load.rethrowFailure();
        load.filters.checkAllShown(load.chart);
        load.filters.uncheckAllShown(load.chart);
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

    {
        LineBuffer kept;
        kept.loadBytes(bytes, filePath);
        compareLines(kept, plainLines(bytes, false), false);
    }
    const QStringList lowered = plainLines(bytes, true);
    for (const QChar separator : {QChar(u'.'), QChar(u','), QChar(0x066B)}) {
        LineBuffer memo1(LineBuffer::Case::Lower);
        memo1.loadBytes(bytes, filePath);
        compareLines(memo1, lowered, false);
        normalise(memo1, separator);
        QStringList normalised = lowered;
        plainNormalise(normalised, separator);
        compareLines(memo1, normalised, separator == QLatin1Char(','));
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
