#pragma once

#include <QString>

namespace kvaro {

class Clock;
class Locale;
class Messages;

// The outside world the main window works with. main() hands in the real machine; tests
// hand in a fixed clock and locale, recorded messages and temporary folders.
struct AppServices {
    const Clock& clock;
    const Locale& locale;
    Messages& messages;
    QString programFolder; // the executable's folder: the store lies below it
    QString workingFolder; // the process's current folder: Data.dat and the language files
};

} // namespace kvaro
