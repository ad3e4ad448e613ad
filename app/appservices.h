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
    QString storeHome;     // the folder whose Data/ is the store
    QString workingFolder; // the process's current folder: Data.dat and the language files
    // The executable's folder: Data.dat and the language files after the working folder,
    // then the shared data of an installed program beside it; empty: the working folder only.
    QString programFolder = {};
    // Where Data.dat goes when the one that was read cannot be written; empty: nowhere else.
    QString configFolder = {};
};

} // namespace kvaro
