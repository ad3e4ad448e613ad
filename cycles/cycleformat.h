#pragma once

// Where every value sits in a line of a cycle file. Lines count from 0: line 0 is the
// header, line 1 the first record, the last line the end record. Fields count from 0.
namespace kvaro {

namespace line {
inline constexpr int Header = 0;
inline constexpr int FirstRecord = 1;
// A file needs at least this many lines to be opened at all.
inline constexpr int MinimumCount = 3;
} // namespace line

namespace heating {
inline constexpr int Oil = 0;
inline constexpr int Gas = 1;
inline constexpr int Gas2 = 2;
inline constexpr int Electric = 3;
} // namespace heating

namespace field {
// Every record line.
inline constexpr int HeatingType = 0;
inline constexpr int T1 = 1;
inline constexpr int T2 = 2;
inline constexpr int Hour = 3;
inline constexpr int Minute = 4;
inline constexpr int Second = 5;
inline constexpr int Fuel = 6; // kg since the cycle start (burner ovens)
inline constexpr int ProbeCount = 7;
inline constexpr int WorkingTemperature = 8;
inline constexpr int BurnerTemperatureFirst = 9; // burners 1..8: fields 9..16
inline constexpr int BurnerEventFirst = 17;      // burners 1..8: fields 17..24
inline constexpr int MaxBurners = 8;
inline constexpr int Energy = 23;        // kWh since the cycle start (electric ovens)
inline constexpr int Power = 26;         // electric ovens
inline constexpr int OutputBurner1 = 27; // heaters on electric ovens
inline constexpr int OutputFan = 28;
inline constexpr int OutputAiring = 29;
inline constexpr int OutputBurner2 = 33; // second-channel heaters on electric ovens
inline constexpr int OutputFan2 = 35;

// The first record only.
inline constexpr int PowerRegulationLevel = 11; // when PowerRegulationOption is "1"
inline constexpr int ProgrammedMinutes = 44;
inline constexpr int ProgrammedSeconds = 45;
inline constexpr int SetTemperature = 48;
inline constexpr int BurnerCount = 49;
inline constexpr int StartYear = 53; // two digits within the century; "0" = no date
inline constexpr int StartMonth = 54;
inline constexpr int StartDay = 55;
inline constexpr int SecondChannelOption = 58;
inline constexpr int AiringOption = 59;
inline constexpr int PowerRegulationOption = 60;
inline constexpr int OvenIdFirst = 75; // fields 75..82, two characters each
inline constexpr int OvenIdLast = 82;
// A first record the import can name the oven from has fields 0 to 82.
inline constexpr int OvenIdRecordSize = 83;

// The end record (the last line) reuses Hour, Minute, Second and Fuel.

constexpr int burnerTemperature(int burner)
{
    return BurnerTemperatureFirst + burner;
} // 0-based
constexpr int burnerEvent(int burner)
{
    return BurnerEventFirst + burner;
} // 0-based
} // namespace field

} // namespace kvaro
