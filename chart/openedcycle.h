#pragma once

#include "base/linebuffer.h"

#include <QString>

namespace kvaro {

// Where a cycle file to be drawn comes from, which decides whether it is normalised.
enum class CycleSource {
    Picked, // any file the user chose, as the controller wrote it or already stored
    Stored, // a copy in the store, normalised when it was imported
};

// A cycle file read for drawing: the lines the loader takes (lower case, normalised) and
// whether there is a cycle to draw in them.
struct OpenedCycle {
    LineBuffer lines{LineBuffer::Case::Lower};
    // At least the header, one record and the end record, blank lines after the end
    // record not counted. A file that falls short is reported with the "cannot be drawn"
    // text and nothing is drawn.
    bool drawable = false;
};

// The one way a cycle is opened for drawing: by the window's file dialog, by a click on a
// listed cycle and by kvaro-cli chart. A picked file is normalised under the locale's
// decimal separator; a stored one is taken as it is. Throws Failure naming the file when
// it cannot be read.
OpenedCycle openCycle(const QString& path, CycleSource source, QChar decimalSeparator);

} // namespace kvaro
