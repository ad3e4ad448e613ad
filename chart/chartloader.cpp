#include "chart/chartloader.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/linebuffer.h"
#include "base/platform.h"
#include "chart/chartmodel.h"
#include "chart/chartsummary.h"
#include "chart/filterlist.h"
#include "chart/recordfields.h"
#include "cycles/cycleformat.h"
#include "cycles/wallclock.h"

#include <QLocale>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <optional>
#include <vector>

namespace kvaro {

namespace {

constexpr double BubbleRadius = 5;
constexpr double ReachedMargin = 5; // the set temperature counts as reached 5 °C below it

// The five outputs drawn as arrows: flag field, arrow series, lane (y of both ends).
struct Output {
    int flagField;
    int series;
    double lane;
};
constexpr std::array<Output, 5> Outputs{{
    {field::OutputBurner1, series::ArrowFirst, 1},
    {field::OutputFan, series::ArrowFirst + 1, 2},
    {field::OutputAiring, series::ArrowFirst + 2, 3},
    {field::OutputBurner2, series::ArrowFirst + 3, 4},
    {field::OutputFan2, series::ArrowFirst + 4, 5},
}};

// An output flag as the arrow scan reads it. Only "1" is on; a missing field fails when
// the scan reaches it, not before.
enum Flag : std::uint8_t { Off, On, Missing };
using LineFlags = std::array<Flag, Outputs.size()>;

LineFlags flagsOf(const RecordFields& fields)
{
    LineFlags flags{};
    for (std::size_t o = 0; o < Outputs.size(); ++o) {
        const int f = Outputs[o].flagField;
        flags[o] = f >= fields.size() ? Missing : (fields.flag(f) ? On : Off);
    }
    return flags;
}

QString twoDigits(qint64 value)
{
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

// Writes value with at least two digits; value is not negative.
char* putTwoDigits(char* out, qint64 value)
{
    if (value < 10)
        *out++ = '0';
    return std::to_chars(out, out + 20, value).ptr;
}

// "5" becomes "05"; longer or empty texts stay as they are.
QString padded(const QString& field)
{
    return field.size() == 1 ? QLatin1Char('0') + field : field;
}

// A consumption counter as a number, where its field reads as one: the figure is only for
// the figures beside the chart, so a text that is none leaves it out rather than stopping
// the load.
std::optional<double> counterOf(QByteArrayView field)
{
    if (const std::optional<double> plain = RecordFields::plainDecimal(field))
        return plain;
    // The separator is "," or "." depending on where the file was normalised.
    QString text = LineBuffer::fromLineBytes(field);
    text.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double value = QLocale::c().toDouble(text, &ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<double> counterOf(const RecordFields& fields, int fieldIndex)
{
    return counterOf(fields.bytes(fieldIndex));
}

// A field the summary shows as it stands, as an integer where it reads as one.
std::optional<int> integerOf(const RecordFields& fields, int fieldIndex)
{
    try {
        return fields.integer(fieldIndex);
    } catch (const Failure&) {
        return std::nullopt;
    }
}

// The consumption counter of the last drawn record.
void keepConsumption(ChartModel& chart, const RecordFields& fields, int fieldIndex,
                     RecordTotals::Unit unit, int x)
{
    if (chart.records().isEmpty() || chart.records().constLast().x != x)
        return;
    RecordTotals& last = chart.records().last();
    last.consumed = counterOf(fields, fieldIndex);
    last.unit = last.consumed ? unit : RecordTotals::Unit::None;
}

class Loader
{
public:
    Loader(const LineBuffer& memo1, const Language& language, ChartModel& chart,
           ChartSummary& summary, Messages& messages)
        : m_memo(memo1), m_language(language), m_chart(chart), m_summary(summary),
          m_messages(messages), m_fields(memo1.fileName()), m_count(memo1.trimmedCount())
    {
    }

    void run()
    {
        m_summary.LoadedProbeCount = 0;
        m_summary.setTemperatureReached.clear();
        m_chart.setPoint() = {};
        m_chart.meanAbsT1T2().reset();
        m_chart.endLine().reset();
        recordLoop();
        readEndLine();
        showHeatingType();
        showMeanDifference();
        showTimeHeld();
        addOutputArrows();
    }

private:
    void recordLoop();
    void record(int x);
    void burnerRecord(int x);
    void firstRecord();
    void readEndLine();
    void showHeatingType();
    void showMeanDifference();
    void showTimeHeld();
    void addOutputArrows();
    bool isOn(int line, std::size_t output);
    void setConsumption(int fieldIndex, const char* unit, RecordTotals::Unit typedUnit);
    void showConsumption();

    const LineBuffer& m_memo;
    const Language& m_language;
    ChartModel& m_chart;
    ChartSummary& m_summary;
    Messages& m_messages;
    RecordFields m_fields;
    const int m_count;

    ElapsedClock m_clock;                // from the first drawn record
    std::optional<qint64> m_lastElapsed; // of the last drawn record
    int m_lastX = 0;

    // The consumption text of the last record that gives one, made into text once: its
    // field's bytes stay in memo1 for the whole load.
    QByteArrayView m_consumption;
    const char* m_consumptionUnit = nullptr;
    RecordTotals::Unit m_consumptionTypedUnit = RecordTotals::Unit::None;

    double m_setTemperature = 0;
    bool m_reached = false;            // at a record after the start
    std::optional<qint64> m_reachedAt; // elapsed seconds when reached, at the start too
    double m_differenceSum = 0;
    int m_differenceCount = 0;
    bool m_firstRecordHandled = false;
    std::array<int, field::MaxBurners> m_lastEvent{};

    std::vector<LineFlags> m_flags; // by line, for the lines the record loop visited
};

void Loader::recordLoop()
{
    const int last = std::max(line::FirstRecord, m_count - 3);
    m_flags.assign(std::size_t(last + 1), LineFlags{});
    const qsizetype expected = last;
    m_chart.at(series::T1).points.reserve(expected);
    m_chart.at(series::T2).points.reserve(expected);
    m_chart.at(series::WorkingTemperature).points.reserve(expected);

    try {
        for (int i = line::FirstRecord; i <= last; ++i) {
            m_fields.assign(m_memo.lineBytes(i), i);
            m_flags[std::size_t(i)] = flagsOf(m_fields);
            const int x = i - 1;
            const QByteArrayView code = m_fields.bytes(field::HeatingType);
            const bool recordLine = m_fields.isRecordLine();
            if (recordLine)
                record(x);
            if (recordLine && code != "3")
                burnerRecord(x);
            if (!m_firstRecordHandled) {
                firstRecord();
                m_firstRecordHandled = true;
            }
            if (code == "3") {
                // At the time of the last drawn record, as T1's last point.
                m_chart.at(series::Power)
                    .points.appendElapsed(double(x), m_fields.decimal(field::Power),
                                          m_lastElapsed.value_or(0));
                setConsumption(field::Energy, " kWh", RecordTotals::Unit::KilowattHours);
                keepConsumption(m_chart, m_fields, field::Energy, RecordTotals::Unit::KilowattHours,
                                x);
            }
        }
    } catch (...) {
        // What the records before the failing line set stays.
        showConsumption();
        throw;
    }
    showConsumption();
}

void Loader::readEndLine()
{
    const int index = m_count - 1;
    if (!m_lastElapsed || index <= m_lastX + line::FirstRecord)
        return;
    // The line is read on the side: nothing in it may stop a chart that was drawn.
    RecordFields fields(m_memo.fileName());
    try {
        fields.assign(m_memo.lineBytes(index), index);
        if (!fields.isRecordLine())
            return;
        CycleEndLine end;
        end.timeOfDay = fields.timeOfDay();
        const bool electric = fields.is(field::HeatingType, QLatin1StringView("3"));
        try {
            end.consumed = counterOf(fields, electric ? field::Energy : field::Fuel);
        } catch (const Failure&) {
            // A line too short to carry the counter still ends the cycle.
        }
        if (end.consumed)
            end.unit = electric ? RecordTotals::Unit::KilowattHours : RecordTotals::Unit::Kilograms;
        end.elapsed = m_clock.elapsed(end.timeOfDay);
        m_chart.endLine() = end;
    } catch (const Failure&) {
    }
}

void Loader::setConsumption(int fieldIndex, const char* unit, RecordTotals::Unit typedUnit)
{
    m_consumption = m_fields.bytes(fieldIndex); // a missing field fails at its line
    m_consumptionUnit = unit;
    m_consumptionTypedUnit = typedUnit;
}

void Loader::showConsumption()
{
    if (!m_consumptionUnit)
        return;
    m_summary.consumption =
        LineBuffer::fromLineBytes(m_consumption) + QLatin1String(m_consumptionUnit);
    m_summary.numbers.consumption = counterOf(m_consumption);
    m_summary.numbers.consumptionUnit = m_consumptionTypedUnit;
}

void Loader::record(int x)
{
    const qint64 e = m_clock.elapsed(m_fields.timeOfDay());
    m_lastElapsed = e;
    m_lastX = x;
    m_chart.records().append(RecordTotals{double(x), e, std::nullopt, RecordTotals::Unit::None});

    const double t1 = m_fields.decimal(field::T1);
    m_chart.at(series::T1).points.appendElapsed(double(x), t1, e);
    const double t2 = m_fields.decimal(field::T2);
    const ChartPoints& t1Points = m_chart.at(series::T1).points;
    m_chart.at(series::T2).points.appendAlongside(t1Points, t2);

    m_differenceSum += std::abs(t1 - t2);
    ++m_differenceCount;

    const int probes = m_fields.integer(field::ProbeCount);
    if (probes > m_summary.LoadedProbeCount)
        m_summary.LoadedProbeCount = probes;

    const double working = m_fields.decimal(field::WorkingTemperature);
    if (!m_reached && m_setTemperature > 0 && working >= m_setTemperature - ReachedMargin &&
        working > 0) {
        if (e != 0) {
            m_reached = true;
            m_summary.setTemperatureReached = m_language.text(Text::SetTemperatureReachedAfter) +
                                              QLatin1Char(' ') + elapsedLabel(e);
        } else {
            // Reached at the very start: later records are tested again.
            m_summary.setTemperatureReached = m_language.text(Text::SetTemperatureReachedAtStart);
        }
        m_reachedAt = e;
        m_chart.setPoint().reachedX = double(x);
        m_chart.setPoint().reachedElapsed = e;
    }
    m_chart.at(series::WorkingTemperature).points.appendAlongside(t1Points, working);
}

void Loader::burnerRecord(int x)
{
    const ChartPoints& t1Points = m_chart.at(series::T1).points; // this record's last
    std::array<double, field::MaxBurners> exchanger{};
    for (int k = 0; k < field::MaxBurners; ++k) {
        exchanger[std::size_t(k)] = m_fields.decimal(field::burnerTemperature(k));
        ChartPoints& points = m_chart.at(series::BurnerTemperatureFirst + k).points;
        if (points.isEmpty())
            points.reserve(m_count);
        points.appendAlongside(t1Points, exchanger[std::size_t(k)]);
    }

    // A marker where a burner enters a code other than the last one it had; codes without
    // an event picture draw nothing.
    for (int b = 1; b <= field::MaxBurners; ++b) {
        const int code = m_fields.integer(field::burnerEvent(b - 1));
        int& last = m_lastEvent[std::size_t(b - 1)];
        if (code > 0 && code != last) {
            last = code;
            if (code <= 7)
                m_chart.at(series::event(b, code))
                    .bubbles.append(ChartBubble{double(x), exchanger[std::size_t(b - 1)],
                                                BubbleRadius, m_fields.timeOfDay(),
                                                m_lastElapsed.value_or(0)});
        }
    }

    setConsumption(field::Fuel, "kg", RecordTotals::Unit::Kilograms);
    keepConsumption(m_chart, m_fields, field::Fuel, RecordTotals::Unit::Kilograms, x);
}

void Loader::firstRecord()
{
    const QString minutes = m_fields.text(field::ProgrammedMinutes);
    const QString seconds = m_fields.text(field::ProgrammedSeconds);
    m_summary.programmedTime = padded(minutes) + QLatin1Char(':') + padded(seconds);
    const std::optional<int> programmedMinutes = integerOf(m_fields, field::ProgrammedMinutes);
    const std::optional<int> programmedSeconds = integerOf(m_fields, field::ProgrammedSeconds);
    m_summary.numbers.programmedSeconds.reset();
    if (programmedMinutes && programmedSeconds)
        m_summary.numbers.programmedSeconds = qint64(*programmedMinutes) * 60 + *programmedSeconds;

    m_setTemperature = m_fields.decimal(field::SetTemperature);
    m_summary.setTemperature = m_fields.text(field::SetTemperature) + QStringLiteral(" °C");
    m_summary.numbers.setTemperature = m_setTemperature;
    m_chart.setPoint().temperature = m_setTemperature;
    m_chart.setPoint().band = ReachedMargin;

    m_summary.LoadedOvenKind = m_fields.integer(field::HeatingType);
    SummaryShown& shown = m_summary.shown;
    const int kind = m_summary.LoadedOvenKind;
    if (kind == heating::Oil || kind == heating::Gas || kind == heating::Gas2) {
        shown.burners = true;
        shown.burnerCount = true;
        m_summary.burnerCount = m_fields.text(field::BurnerCount);
        m_summary.numbers.burnerCount.reset();
        m_summary.LoadedBurnerCount = m_fields.integer(field::BurnerCount);
        m_summary.numbers.burnerCount = m_summary.LoadedBurnerCount;
    } else {
        shown.burners = false;
        shown.burnerCount = false;
    }

    shown.secondChannel = m_fields.flag(field::SecondChannelOption);
    shown.airing = m_fields.flag(field::AiringOption);
    if (m_fields.flag(field::PowerRegulationOption)) {
        shown.powerRegulation = true;
        shown.powerBar = true;
        m_summary.powerLevel = m_fields.integer(field::PowerRegulationLevel);
    } else {
        shown.powerRegulation = false;
        shown.powerBar = false;
    }
}

} // namespace

void titleHeatingArrows(ChartModel& chart, int heatingType, const Language& language)
{
    if (!isDrawableOvenKind(heatingType))
        return;
    if (heatingType != heating::Electric) {
        chart.at(series::ArrowFirst).title = language.text(Text::Burner) + QStringLiteral(" 1");
        chart.at(series::ArrowFirst + 3).title = language.text(Text::Burner) + QStringLiteral(" 2");
    } else {
        chart.at(series::ArrowFirst).title = language.text(Text::HeatersArrows);
        chart.at(series::ArrowFirst + 3).title =
            language.text(Text::HeatersArrows) + QStringLiteral(" CH2");
    }
}

namespace {

void Loader::showHeatingType()
{
    SummaryShown& shown = m_summary.shown;
    const int kind = m_summary.LoadedOvenKind;
    const bool electric = kind == heating::Electric;
    if (isDrawableOvenKind(kind)) {
        shown.chart = true;
        titleHeatingArrows(m_chart, kind, m_language);
        const FuelPicture picture = kind == heating::Oil ? FuelPicture::Olej
                                    : electric           ? FuelPicture::Prad
                                                         : FuelPicture::Gaz;
        shown.oil = picture == FuelPicture::Olej;
        shown.gas = picture == FuelPicture::Gaz;
        shown.electricity = picture == FuelPicture::Prad;
        shown.fuelFooter = true;
        m_summary.fuel = picture;
        m_summary.cycleTabsEnabled = true;
        return;
    }
    shown.chart = false;
    shown.oil = false;
    shown.gas = false;
    shown.electricity = false;
    shown.fuelFooter = false;
    m_summary.cycleTabsEnabled = false;
    m_messages.show(m_language.text(Text::NotDrawable));
}

void Loader::showMeanDifference()
{
    m_summary.meanHeatingDifference = m_language.text(Text::MeanHeatingDifference);
    if (m_differenceCount == 0)
        return;
    const double mean = m_differenceSum / m_differenceCount;
    m_chart.meanAbsT1T2() = mean;
    const double shown = halfMeanAbsT1T2RoundedDown(mean);
    // Formatted as a real number: temperatures of 1e90 in a damaged file fit no integer.
    m_summary.meanHeatingDifference += QString::number(shown, 'f', 0) + QStringLiteral("°C");
}

void Loader::showTimeHeld()
{
    if (!m_reachedAt || !m_lastElapsed) {
        m_summary.setTemperatureReached = m_language.text(Text::SetTemperatureNotReached);
        return;
    }
    const qint64 held = std::abs(*m_lastElapsed - *m_reachedAt);
    m_chart.setPoint().holdEndX = double(m_lastX);
    m_chart.setPoint().holdEndElapsed = *m_lastElapsed;
    m_summary.setTemperatureReached += QLatin1Char(' ') + m_language.text(Text::HeldFor) +
                                       QStringLiteral(": ") + QString::number(held / 60) +
                                       QLatin1Char(':') +
                                       QStringLiteral("%1").arg(held % 60, 2, 10, QLatin1Char('0'));
}

bool Loader::isOn(int line, std::size_t output)
{
    Flag value = Missing;
    if (line < int(m_flags.size())) {
        value = m_flags[std::size_t(line)][output];
    } else {
        m_fields.assign(m_memo.lineBytes(line), line);
        value = flagsOf(m_fields)[output];
    }
    if (value == Missing) {
        m_fields.assign(m_memo.lineBytes(line), line);
        m_fields.bytes(Outputs[output].flagField); // throws, naming the field and the line
    }
    return value == On;
}

void Loader::addOutputArrows()
{
    // A run of "1" from its first line to the line before the one that ends it; the scan
    // covers lines 1 to count - 3 and a run may look one line further.
    const int end = m_count - 2;
    for (std::size_t o = 0; o < Outputs.size(); ++o) {
        QVector<ChartArrow>& arrows = m_chart.at(Outputs[o].series).arrows;
        int i = line::FirstRecord;
        do {
            if (isOn(i, o)) {
                int j = i + 1;
                while (isOn(j, o)) {
                    ++j;
                    if (j >= end)
                        break;
                }
                const double lane = Outputs[o].lane;
                arrows.append(ChartArrow{double(i - 1), lane, double(j - 2), lane});
                i = j;
            }
            ++i;
        } while (i < end);
    }
}

} // namespace

QString elapsedLabel(qint64 seconds)
{
    if (seconds == 0)
        return QStringLiteral("00:00");
    if (seconds >= 3600)
        return hoursMinutesSeconds(seconds);
    if (seconds > 0) {
        // One label per record: written in place rather than pieced together.
        char text[64];
        char* end = putTwoDigits(text, seconds / 60);
        *end++ = ':';
        end = putTwoDigits(end, seconds % 60);
        return QString::fromLatin1(text, end - text);
    }
    return twoDigits((seconds / 60) % 60) + QLatin1Char(':') + twoDigits(seconds % 60);
}

qint64 secondsOfLabel(const QString& label)
{
    const QStringList parts = label.split(QLatin1Char(':'));
    if (parts.size() < 2 || parts.size() > 3)
        return -1;
    qint64 seconds = 0;
    for (const QString& part : parts) {
        bool ok = false;
        const int value = part.toInt(&ok);
        if (!ok || value < 0)
            return -1;
        seconds = seconds * 60 + value;
    }
    return seconds;
}

QString hoursMinutesSeconds(qint64 seconds)
{
    if (seconds >= 0) {
        char text[64];
        char* end = putTwoDigits(text, seconds / 3600);
        *end++ = ':';
        end = putTwoDigits(end, (seconds / 60) % 60);
        *end++ = ':';
        end = putTwoDigits(end, seconds % 60);
        return QString::fromLatin1(text, end - text);
    }
    return twoDigits(seconds / 3600) + QLatin1Char(':') + twoDigits((seconds / 60) % 60) +
           QLatin1Char(':') + twoDigits(seconds % 60);
}

ChartLoad WczytajWykres(const LineBuffer& memo1, const Language& language, ChartLoad start)
{
    ChartLoad load = std::move(start);
    RecordingMessages said;
    try {
        Loader(memo1, language, load.chart, load.summary, said).run();
        load.filters.WczytajFiltry(load.summary, load.chart);
    } catch (const Failure&) {
        load.failure = std::current_exception();
    }
    load.messages = said.texts();
    return load;
}

} // namespace kvaro
