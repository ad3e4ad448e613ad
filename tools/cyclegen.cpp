#include "tools/cyclegen.h"

#include "base/failure.h"
#include "cycles/cycleformat.h"

#include <QByteArrayList>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <array>
#include <cmath>

namespace kvaro::gen {

namespace {

// Every record is this wide: the import needs fields 0..82, the controller writes a few more.
constexpr int RecordSize = 90;

const char* const marker = "Kvaro.lerta";

// splitmix64: tiny, good enough, and the same numbers everywhere (unlike the standard
// distributions, whose output is up to each library).
class Random
{
public:
    explicit Random(quint64 seed) : m_state(seed) {}

    quint64 next()
    {
        quint64 z = (m_state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    double unit() { return double(next() >> 11) * 0x1.0p-53; } // [0, 1)
    double between(double low, double high) { return low + (high - low) * unit(); }
    int below(int bound) { return int(next() % quint64(std::max(bound, 1))); }

private:
    quint64 m_state;
};

quint64 mixSeed(quint64 seed, quint64 salt)
{
    Random random(seed ^ (salt * 0xD1B54A32D192ED03ull));
    return random.next();
}

QByteArray decimal(double value, int decimals)
{
    // No "-0.0" from a curve that ends a hair below zero.
    const double scale = decimals == 1 ? 10.0 : 100.0;
    if (std::fabs(value) * scale < 0.5)
        value = 0;
    return QByteArray::number(value, 'f', decimals);
}

QByteArray number(double value)
{
    return value == std::floor(value) ? QByteArray::number(qint64(value)) : decimal(value, 1);
}

QByteArray flag(bool on)
{
    return on ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
}

// A triangle wave in [-1, 1] with period 1; plain arithmetic keeps the curves identical on
// every machine.
double triangle(double phase)
{
    const double p = phase - std::floor(phase);
    return p < 0.5 ? 4 * p - 1 : 3 - 4 * p;
}

// The course of one cycle: heat up, hold around the set temperature, cool down.
class Course
{
public:
    Course(const CycleSpec& spec, Random& random)
        : m_duration(std::max(spec.durationSeconds, 0)), m_heatEnd(int(m_duration * 0.3)),
          m_coolStart(int(m_duration * 0.8)),
          m_holdPeriod(std::max(6 * std::max(spec.samplePeriodSeconds, 1),
                                std::min(1800, (m_coolStart - m_heatEnd) / 4)))
    {
        const double set = spec.setTemperature;
        m_ambient = std::min(random.between(17, 23), set - 10);
        m_top = spec.reachSetTemperature ? set + 1
                                         : std::min(m_ambient + (set - m_ambient) * 0.7, set - 8);
        m_swing = spec.reachSetTemperature ? 1.5 : 1.0;
    }

    int heatEnd() const { return m_heatEnd; }
    int coolStart() const { return m_coolStart; }
    int duration() const { return m_duration; }

    double working(int t) const
    {
        if (t < m_heatEnd) {
            const double x = double(t) / m_heatEnd;
            return m_ambient + (m_top - m_swing - m_ambient) * (1 - (1 - x) * (1 - x));
        }
        if (t < m_coolStart)
            return m_top + m_swing * triangle(double(t - m_heatEnd) / m_holdPeriod);
        const double atCoolStart =
            m_top + m_swing * triangle(double(m_coolStart - m_heatEnd) / m_holdPeriod);
        const double y = double(t - m_coolStart) / (m_duration - m_coolStart + 1);
        return m_ambient + (atCoolStart - m_ambient) / (1 + 2 * y);
    }

    // How much heat is asked for, 0..1: full while heating up, a falling ramp over each rising
    // half of the hold wave (burners drop out one after another), nothing while cooling.
    double demand(int t) const
    {
        if (t < m_heatEnd)
            return 1;
        if (t >= m_coolStart)
            return 0;
        const double phase = double(t - m_heatEnd) / m_holdPeriod;
        const double p = phase - std::floor(phase);
        return p < 0.5 ? 1 - 2 * p + 1e-9 : 0; // rising half of the triangle: heat on
    }

private:
    int m_duration;
    int m_heatEnd;
    int m_coolStart;
    int m_holdPeriod;
    double m_ambient = 20;
    double m_top = 0;
    double m_swing = 1;
};

// Burner event codes: 1 ignition, 2 flame established, 3 shut-down, 4..7 the rare faults.
struct Burner {
    bool on = false;
    int onSamples = 0;
    double exchanger = 20;

    int step(bool nowOn, Random& random)
    {
        int code = 0;
        if (nowOn && !on)
            code = 1;
        else if (nowOn && onSamples == 1)
            code = 2;
        else if (!nowOn && on)
            code = 3;
        else if (nowOn && random.unit() < 0.003)
            code = 4 + random.below(4);
        onSamples = nowOn ? onSamples + 1 : 0;
        on = nowOn;
        return code;
    }
};

class Writer
{
public:
    explicit Writer(const CycleSpec& spec)
        : m_spec(spec), m_random(spec.seed), m_course(spec, m_random),
          m_electric(spec.heatingType == heating::Electric),
          m_burners(m_electric ? 0 : std::clamp(spec.burnerCount, 0, field::MaxBurners)),
          m_period(std::max(spec.samplePeriodSeconds, 1)),
          m_level(spec.powerRegulation ? std::clamp(spec.powerRegulationLevel, 0, 100) / 100.0
                                       : 1.0),
          m_ovenId(spec.ovenId.size() == 8 ? spec.ovenId : ovenIdFields(QStringLiteral("10000001")))
    {
        m_fuelRate =
            (spec.heatingType == heating::Oil ? 0.0045 : 0.0038) * m_random.between(0.9, 1.1);
        m_nominalPower = m_random.between(18, 30);
        for (Burner& burner : m_burnerState)
            burner.exchanger = m_course.working(0);
        m_fields.fill(QByteArrayLiteral("0"), RecordSize);
    }

    QByteArray text()
    {
        m_out.reserve(qsizetype(sampleCount(m_spec) + 3) * RecordSize * 3);
        m_out += "Typ,T1,T2,Godz,Min,Sek,Paliwo,Sondy,Tpracy";
        for (int b = 1; b <= field::MaxBurners; ++b)
            m_out += ",Tw" + QByteArray::number(b);
        for (int b = 1; b <= field::MaxBurners; ++b)
            m_out += ",Zd" + QByteArray::number(b);
        settings();
        const int samples = sampleCount(m_spec);
        for (int i = 0; i < samples; ++i)
            sample(i * m_period, i == 0);
        // The controller closes the file with two lines at the end time, everything off.
        closing();
        closing();
        if (m_spec.finalLineBreak)
            m_out += "\r\n";
        return m_out;
    }

private:
    void settings()
    {
        const CycleSpec& s = m_spec;
        int minutes = s.programmedMinutes;
        int seconds = s.programmedSeconds;
        if (minutes < 0) {
            const int hold = m_course.coolStart() - m_course.heatEnd();
            minutes = hold / 60;
            seconds = hold % 60;
        }
        m_fields[field::ProgrammedMinutes] = QByteArray::number(minutes);
        m_fields[field::ProgrammedSeconds] = QByteArray::number(seconds);
        m_fields[field::SetTemperature] = number(s.setTemperature);
        m_fields[field::BurnerCount] = QByteArray::number(m_burners);
        const QDate date = s.start.date();
        m_fields[field::StartYear] = QByteArray::number(date.isValid() ? date.year() % 100 : 0);
        m_fields[field::StartMonth] = QByteArray::number(date.isValid() ? date.month() : 0);
        m_fields[field::StartDay] = QByteArray::number(date.isValid() ? date.day() : 0);
        m_fields[field::SecondChannelOption] = flag(s.secondChannel);
        m_fields[field::AiringOption] = flag(s.airing);
        m_fields[field::PowerRegulationOption] = flag(s.powerRegulation);
        for (int i = 0; i < 8; ++i)
            m_fields[field::OvenIdFirst + i] = m_ovenId.at(i).toLatin1();
        m_fields[field::ProbeCount] = QByteArray::number(s.probeCount);
        m_fields[field::HeatingType] = QByteArray::number(s.heatingType);
    }

    void setTime(int elapsed)
    {
        const QTime start = m_spec.start.time().isValid() ? m_spec.start.time() : QTime(0, 0);
        const int day = (start.msecsSinceStartOfDay() / 1000 + elapsed) % 86400;
        m_fields[field::Hour] = QByteArray::number(day / 3600);
        m_fields[field::Minute] = QByteArray::number(day / 60 % 60);
        m_fields[field::Second] = QByteArray::number(day % 60);
    }

    void setTemperatures(double working)
    {
        const double t1 = working + m_random.between(-0.4, 0.4);
        m_fields[field::T1] = decimal(t1, 1);
        m_fields[field::T2] = decimal(t1 - m_random.between(0.2, 3.0), 1);
        m_fields[field::WorkingTemperature] = decimal(working + m_random.between(-0.2, 0.2), 1);
    }

    void sample(int t, bool first)
    {
        setTime(t);
        const double working = m_course.working(t);
        setTemperatures(working);
        const double demand = m_course.demand(t);
        const double share = m_period / 120.0;
        int burning = 0;
        for (int b = 0; b < m_burners; ++b) {
            Burner& burner = m_burnerState[size_t(b)];
            const bool on = demand > double(b) / m_burners;
            m_fields[field::burnerEvent(b)] = QByteArray::number(burner.step(on, m_random));
            const double target = working + (on ? 140 + 15 * b : 5);
            burner.exchanger += (target - burner.exchanger) * std::min(1.0, share);
            m_fields[field::burnerTemperature(b)] =
                decimal(burner.exchanger + m_random.between(-0.5, 0.5), 1);
            burning += on ? 1 : 0;
        }
        const bool channel1 = m_electric ? demand > 0 : m_burnerState[0].on && m_burners > 0;
        const bool channel2 = m_electric ? m_spec.secondChannel && demand > 0.5
                                         : m_burners > 1 && m_burnerState[1].on;
        if (m_electric) {
            const double power =
                m_nominalPower * m_level *
                ((channel1 ? (m_spec.secondChannel ? 0.5 : 1.0) : 0) + (channel2 ? 0.5 : 0));
            m_energy += power * m_period / 3600.0;
            m_fields[field::Power] = decimal(power, 1);
            m_fields[field::Energy] = decimal(m_energy, 2);
        } else if (t > 0) {
            m_fuel += m_fuelRate * m_level * m_period * burning;
        }
        m_fields[field::Fuel] = decimal(m_electric ? 0 : m_fuel, 2);
        const int coolHalf =
            m_course.coolStart() + (m_course.duration() - m_course.coolStart()) / 2;
        const int airingEnd =
            m_course.coolStart() + (m_course.duration() - m_course.coolStart()) * 6 / 10;
        m_fields[field::OutputBurner1] = flag(channel1);
        m_fields[field::OutputFan] = flag(t > 0 && t < coolHalf);
        m_fields[field::OutputAiring] =
            flag(m_spec.airing && t >= m_course.coolStart() && t < airingEnd);
        m_fields[field::OutputBurner2] = flag(channel2);
        m_fields[field::OutputFan2] =
            flag(m_spec.secondChannel && t >= m_course.heatEnd() && t < m_course.coolStart());
        // The first record's field 11 is the power regulation level, not burner 3's exchanger.
        const QByteArray exchanger3 = m_fields[field::PowerRegulationLevel];
        if (first && m_spec.powerRegulation)
            m_fields[field::PowerRegulationLevel] =
                QByteArray::number(std::clamp(m_spec.powerRegulationLevel, 0, 100));
        appendRecord();
        m_fields[field::PowerRegulationLevel] = exchanger3;
    }

    void closing()
    {
        setTime(m_course.duration());
        setTemperatures(m_course.working(m_course.duration()));
        for (int b = 0; b < m_burners; ++b)
            m_fields[field::burnerEvent(b)] = "0";
        for (int output : {field::OutputBurner1, field::OutputFan, field::OutputAiring,
                           field::OutputBurner2, field::OutputFan2})
            m_fields[output] = "0";
        if (m_electric)
            m_fields[field::Power] = "0.0";
        appendRecord();
    }

    void appendRecord()
    {
        m_out += "\r\n";
        m_out += m_fields.join(',');
    }

    const CycleSpec& m_spec;
    Random m_random;
    Course m_course;
    bool m_electric;
    int m_burners;
    int m_period;
    double m_level;
    QStringList m_ovenId;
    double m_fuelRate = 0;
    double m_nominalPower = 0;
    double m_fuel = 0;
    double m_energy = 0;
    std::array<Burner, field::MaxBurners> m_burnerState{};
    QByteArrayList m_fields;
    QByteArray m_out;
};

QByteArray encode(const QByteArray& ascii, Encoding encoding)
{
    switch (encoding) {
    case Encoding::Plain:
        return ascii;
    case Encoding::Utf8Bom:
        return QByteArrayLiteral("\xEF\xBB\xBF") + ascii;
    case Encoding::Utf16LeBom: {
        QByteArray wide(2 + ascii.size() * 2, '\0');
        wide[0] = '\xFF';
        wide[1] = '\xFE';
        for (qsizetype i = 0; i < ascii.size(); ++i)
            wide[2 + 2 * i] = ascii.at(i);
        return wide;
    }
    }
    return ascii;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw Failure(QStringLiteral("Cannot write file \"%1\". %2").arg(path, file.errorString()));
}

} // namespace

int sampleCount(const CycleSpec& spec)
{
    return std::max(spec.durationSeconds, 0) / std::max(spec.samplePeriodSeconds, 1) + 1;
}

QByteArray writeCycle(const CycleSpec& spec)
{
    return encode(Writer(spec).text(), spec.encoding);
}

void writeCycleFile(const QString& path, const CycleSpec& spec)
{
    writeFile(path, writeCycle(spec));
}

QString cycleFileName(int number)
{
    return QStringLiteral("P%1.csv").arg(number);
}

QStringList ovenIdFields(const QString& name)
{
    const int length = int(name.size());
    if (length < 4 || length > 16)
        throw Failure(
            QStringLiteral("An oven identifier has 4 to 16 characters: \"%1\"").arg(name));
    // Fields 75..78 give two characters each or none, fields 79..82 two or one.
    const int fullFirst = std::min(4, (length - 4) / 2);
    const int fullSecond = length - 4 - 2 * fullFirst;
    QStringList fields;
    int next = 0;
    // The name reads the 4th, then the 2nd character of a long field.
    auto full = [&] {
        const QString pair = name.mid(next, 2);
        next += 2;
        fields << QLatin1Char('3') + pair.at(1) + QLatin1Char('3') + pair.at(0);
    };
    for (int i = 0; i < 4; ++i) {
        if (i < fullFirst)
            full();
        else
            fields << QStringLiteral("00");
    }
    for (int i = 0; i < 4; ++i) {
        if (i < fullSecond)
            full();
        else
            fields << QLatin1Char('0') + name.at(next++);
    }
    return fields;
}

QStringList writeDrive(const QString& folder, const DriveSpec& spec)
{
    const QDir dir(folder);
    if (!QDir().mkpath(folder))
        throw Failure(QStringLiteral("Cannot create folder \"%1\"").arg(folder));
    writeFile(dir.filePath(QLatin1String(marker)), {});

    Random random(spec.seed);
    const int days = std::max(1, int(spec.firstDay.daysTo(spec.lastDay)) + 1);
    int number = spec.firstNumber;
    QStringList written;
    for (const OvenSpec& oven : spec.ovens) {
        const int count = std::max(oven.cycles, 0);
        // Day of each cycle: the first on the first day, the last on the last day.
        QList<int> dayOf;
        for (int i = 0; i < count; ++i)
            dayOf << (count > 1 ? int(std::lround(double(i) * (days - 1) / (count - 1)))
                                : days - 1);
        for (int i = 0; i < count; ++i) {
            const int sameDay = int(std::count(dayOf.cbegin(), dayOf.cend(), dayOf[i]));
            const int rank = int(std::count(dayOf.cbegin(), dayOf.cbegin() + i, dayOf[i]));
            const int slot = 16 * 3600 / sameDay;
            int startSecond = 6 * 3600 + rank * slot + random.below(std::min(1800, slot / 4));
            if (i == oven.acrossMidnight)
                startSecond = 22 * 3600 + 30 * 60 + random.below(1200);

            CycleSpec cycle = oven.cycle;
            cycle.number = number;
            cycle.seed = mixSeed(spec.seed, quint64(number));
            cycle.start =
                QDateTime(spec.firstDay.addDays(dayOf[i]), QTime(0, 0).addSecs(startSecond));
            const int period = std::max(cycle.samplePeriodSeconds, 1);
            cycle.durationSeconds =
                int(oven.cycle.durationSeconds * random.between(0.85, 1.15)) / period * period;
            if (!oven.name.isEmpty())
                cycle.ovenId = ovenIdFields(oven.name);
            const QString name = cycleFileName(number++);
            writeCycleFile(dir.filePath(name), cycle);
            written << name;
        }
    }
    return written;
}

DriveSpec demoDrive(const QDate& today)
{
    CycleSpec oil;
    oil.heatingType = heating::Oil;
    oil.burnerCount = 2;
    oil.setTemperature = 200;
    oil.durationSeconds = 3 * 3600;
    oil.airing = true;

    CycleSpec gas;
    gas.heatingType = heating::Gas;
    gas.burnerCount = 2;
    gas.setTemperature = 160;
    gas.durationSeconds = 150 * 60;
    gas.powerRegulation = true;
    gas.powerRegulationLevel = 70;
    gas.secondChannel = true;

    CycleSpec electric;
    electric.heatingType = heating::Electric;
    electric.burnerCount = 0;
    electric.probeCount = 3;
    electric.setTemperature = 120;
    electric.durationSeconds = 4 * 3600;
    electric.samplePeriodSeconds = 20;

    DriveSpec drive;
    drive.firstDay = today.addDays(-6);
    drive.lastDay = today;
    drive.seed = 2024;
    // The oil oven's sixth cycle falls on yesterday: it runs past midnight into today.
    drive.ovens = {OvenSpec{oil, QStringLiteral("10230001"), 7, 5},
                   OvenSpec{gas, QStringLiteral("10230002"), 7, -1},
                   OvenSpec{electric, QStringLiteral("10230003"), 6, -1}};
    return drive;
}

DriveSpec mixedDrive(const QDate& today, int ovens, int cycles, quint64 seed)
{
    static constexpr std::array<int, 4> types{heating::Oil, heating::Gas, heating::Electric,
                                              heating::Gas2};
    DriveSpec drive;
    drive.firstDay = today.addDays(-6);
    drive.lastDay = today;
    drive.seed = seed;
    for (int o = 0; o < ovens; ++o) {
        CycleSpec cycle;
        cycle.heatingType = types[size_t(o) % types.size()];
        cycle.burnerCount =
            cycle.heatingType == heating::Electric ? 0 : 1 + (o * 3) % field::MaxBurners;
        cycle.setTemperature = 120 + 20 * (o % 5);
        cycle.durationSeconds = (2 + o % 3) * 3600;
        cycle.airing = o % 2 == 1;
        cycle.secondChannel = o % 3 == 1;
        cycle.powerRegulation = o % 3 == 2;
        cycle.powerRegulationLevel = 50 + 10 * (o % 5);
        cycle.reachSetTemperature = o % 7 != 6;
        drive.ovens << OvenSpec{cycle, QStringLiteral("1023%1").arg(o + 1, 4, 10, QLatin1Char('0')),
                                cycles, cycles > 1 ? cycles - 2 : -1};
    }
    return drive;
}

} // namespace kvaro::gen
