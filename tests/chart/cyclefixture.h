#pragma once

#include "base/language.h"
#include "base/linebuffer.h"
#include "cycles/cycleformat.h"

#include <QStringList>
#include <QTime>

#include <array>

namespace kvaro::test {

// One record line of a cycle file, as the controller writes it after normalisation.
struct Rec {
    QString code = QStringLiteral("0");
    QString t1 = QStringLiteral("20");
    QString t2 = QStringLiteral("20");
    QTime time = QTime(10, 0, 0);
    QString fuel = QStringLiteral("1.5");
    QString probes = QStringLiteral("2");
    QString working = QStringLiteral("20");
    std::array<QString, 8> exchanger{}; // empty: "0"
    std::array<int, 8> events{};
    QString energy = QStringLiteral("3.25"); // electric records only (field 23)
    QString power = QStringLiteral("40");    // electric records only (field 26)
    std::array<QString, 5> outputs{};        // fields 27, 28, 29, 33, 35; empty: "0"
};

// The settings the first record carries besides its measurements.
struct FirstSettings {
    QString minutes = QStringLiteral("90");
    QString seconds = QStringLiteral("0");
    QString setTemperature = QStringLiteral("180");
    QString burners = QStringLiteral("2");
    QString secondChannel = QStringLiteral("0");
    QString airing = QStringLiteral("0");
    QString regulation = QStringLiteral("0");
    QString regulationLevel = QStringLiteral("50"); // field 11, read when regulation is "1"
};

inline QStringList recordFields(const Rec& r)
{
    QStringList f;
    for (int i = 0; i < field::OvenIdRecordSize; ++i)
        f.append(QStringLiteral("0"));
    f[field::HeatingType] = r.code;
    f[field::T1] = r.t1;
    f[field::T2] = r.t2;
    f[field::Hour] = QString::number(r.time.hour());
    f[field::Minute] = QString::number(r.time.minute());
    f[field::Second] = QString::number(r.time.second());
    f[field::Fuel] = r.fuel;
    f[field::ProbeCount] = r.probes;
    f[field::WorkingTemperature] = r.working;
    for (int b = 0; b < 8; ++b) {
        if (!r.exchanger[std::size_t(b)].isEmpty())
            f[field::burnerTemperature(b)] = r.exchanger[std::size_t(b)];
        f[field::burnerEvent(b)] = QString::number(r.events[std::size_t(b)]);
    }
    if (r.code == QLatin1String("3")) {
        f[field::Energy] = r.energy;
        f[field::Power] = r.power;
    }
    const int outputFields[] = {field::OutputBurner1, field::OutputFan, field::OutputAiring,
                                field::OutputBurner2, field::OutputFan2};
    for (int o = 0; o < 5; ++o) {
        if (!r.outputs[std::size_t(o)].isEmpty())
            f[outputFields[o]] = r.outputs[std::size_t(o)];
    }
    return f;
}

inline QString recordLine(const Rec& r)
{
    return recordFields(r).join(QLatin1Char(';'));
}

inline QString firstRecordLine(const Rec& r, const FirstSettings& s = {})
{
    QStringList f = recordFields(r);
    f[field::ProgrammedMinutes] = s.minutes;
    f[field::ProgrammedSeconds] = s.seconds;
    f[field::SetTemperature] = s.setTemperature;
    f[field::BurnerCount] = s.burners;
    f[field::SecondChannelOption] = s.secondChannel;
    f[field::AiringOption] = s.airing;
    f[field::PowerRegulationOption] = s.regulation;
    if (s.regulation == QLatin1String("1"))
        f[field::PowerRegulationLevel] = s.regulationLevel;
    return f.join(QLatin1Char(';'));
}

// A cycle file in Memo1: the header, the first record with its settings, the other
// records, then the two closing lines the loader does not draw (copies of the last record).
inline LineBuffer cycle(const QList<Rec>& records, const FirstSettings& settings = {},
                        const QString& fileName = QStringLiteral("P7.csv"))
{
    QStringList lines{QStringLiteral("typ;t1;t2;godz;min;sek")};
    for (qsizetype i = 0; i < records.size(); ++i)
        lines.append(i == 0 ? firstRecordLine(records.at(i), settings) : recordLine(records.at(i)));
    Rec closing = records.isEmpty() ? Rec{} : records.constLast();
    closing.outputs = {};
    lines.append(recordLine(closing));
    lines.append(recordLine(closing));
    LineBuffer buffer(LineBuffer::Case::Lower);
    buffer.setLines(lines);
    buffer.setFileName(fileName);
    return buffer;
}

// Records of one heating type at one-second steps from 10:00:00.
inline QList<Rec> records(int count, const QString& code = QStringLiteral("0"))
{
    QList<Rec> list;
    for (int i = 0; i < count; ++i) {
        Rec r;
        r.code = code;
        r.time = QTime(10, 0, 0).addSecs(i);
        list.append(r);
    }
    return list;
}

// Language text N reads "LN", so a test sees which text went where.
inline Language numberedLanguage()
{
    QStringList lines;
    for (int n = 0; n <= 46; ++n)
        lines.append(QStringLiteral("L%1").arg(n));
    return Language(lines);
}

} // namespace kvaro::test
