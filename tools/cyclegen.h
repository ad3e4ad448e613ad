#pragma once

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

// Writes cycle files the way an oven controller does: raw form ("," between fields, "."
// decimals), a header line, one record per sample with believable curves, the end record.
// Tests, samples, benchmarks and the demo data all come from here. Deterministic for a
// seed on every platform: its own random numbers and plain arithmetic, no libm curves.
namespace kvaro::gen {

enum class Encoding { Plain, Utf8Bom, Utf16LeBom };

struct CycleSpec {
    int heatingType = 0; // 0 oil, 1 and 2 gas, 3 electric
    int burnerCount = 2; // 0..8; ignored for electric ovens
    int probeCount = 2;
    double setTemperature = 180;
    // Programmed cycle time; a negative minute count means "the length of the hold phase".
    int programmedMinutes = -1;
    int programmedSeconds = 0;
    // An invalid date writes "0" into the start-date fields (a cycle without a date).
    QDateTime start = QDateTime(QDate(2024, 3, 14), QTime(8, 0));
    int durationSeconds = 3 * 3600;
    int samplePeriodSeconds = 10;
    bool powerRegulation = false;
    int powerRegulationLevel = 100; // 0..100, written when powerRegulation is on
    bool airing = false;
    bool secondChannel = false;
    // Fields 75..82 as the controller writes them; ovenIdFields() makes them from a name.
    QStringList ovenId;
    int number = 1;
    quint64 seed = 1;
    bool finalLineBreak = true;
    Encoding encoding = Encoding::Plain;
    // Off: the oven stays well below the set temperature, a cycle that never reaches it.
    bool reachSetTemperature = true;
};

// Record lines between the header and the last two lines: one per sample from the start
// to the end inclusive. The file has this many lines plus three.
int sampleCount(const CycleSpec& spec);

QByteArray writeCycle(const CycleSpec& spec);
// writeCycle() into a file; throws Failure when it cannot be written.
void writeCycleFile(const QString& path, const CycleSpec& spec);
QString cycleFileName(int number); // "P<number>.csv"

// The eight identifier fields from which the import names the oven `name` (4 to 16
// characters; 7 or more for a name the import accepts). Pairs of characters go into the
// fields the way the controller stores them; the import lower-cases letters, so a name
// of digits is what a controller really carries.
QStringList ovenIdFields(const QString& name);

struct OvenSpec {
    // Template: start, number, seed and oven id are set per cycle, and the duration varies
    // by up to 15 % either way (a whole number of sample periods).
    CycleSpec cycle;
    QString name; // the oven's identifier, written through ovenIdFields()
    int cycles = 5;
    // Index of the cycle that starts late in the evening and runs past midnight; -1: none.
    int acrossMidnight = -1;
};

struct DriveSpec {
    QList<OvenSpec> ovens;
    QDate firstDay;      // cycles are spread evenly from this day ...
    QDate lastDay;       // ... to this one; each oven's last cycle starts on it
    int firstNumber = 1; // cycle numbers run on consecutively over all ovens
    quint64 seed = 1;
};

// A controller drive folder: "Kvaro.lerta" at its root and one file per cycle. Creates the
// folder when missing; returns the file names written, in cycle-number order. Throws
// Failure when a file cannot be written.
QStringList writeDrive(const QString& folder, const DriveSpec& spec);

// The newcomer's first run: an oil oven with two burners, a gas oven with power
// regulation and a second channel and an electric oven, about twenty cycles over the
// seven days up to `today`, several of them today and one running past midnight.
DriveSpec demoDrive(const QDate& today);

// `ovens` ovens of mixed heating types with `cycles` cycles each over the seven days up to
// `today`.
DriveSpec mixedDrive(const QDate& today, int ovens, int cycles, quint64 seed);

} // namespace kvaro::gen
