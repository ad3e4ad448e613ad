#pragma once

#include "base/linebuffer.h"
#include "cycles/rawfile.h"

#include <QString>

#include <memory>

namespace kvaro {

// How a cycle file is read by the catalogue and the statistics. Both give the same lines;
// Partial reads from the start only as far as asked and takes the last line from the end
// of the file, which is what keeps choosing an oven of thousands of cycles quick.
enum class Reading { Partial, Whole };

// The lines of one cycle file under the line buffer rules (line ends, no empty last line
// after a final break, 4096 characters a line, optional lower case). Blank lines after the
// last line that holds text are no lines of the cycle: an editor's extra line break at the
// end must not cost the cycle its end record.
class CycleFileText
{
public:
    virtual ~CycleFileText() = default;

    // Whether line `index` exists. Reading forward, only as far as needed.
    bool hasLine(int index);
    // Line `index`; empty text beyond the last line.
    QString line(int index) { return hasLine(index) ? rawLine(index) : QString(); }
    // The last line (line count - 1); empty text for a file without lines.
    QString lastLine() { return rawLastLine(); }
    // The number of lines. May read the whole file: wanted only for failure messages.
    int lineCount();

    // Opens `path`; throws Failure with the line buffer's message when it cannot be read.
    static std::unique_ptr<CycleFileText> open(const QString& path, Reading reading,
                                               LineBuffer::Case letterCase);
    // The same over a file already open; Partial reads it as long as it was when opened.
    static std::unique_ptr<CycleFileText> open(RawFile file, Reading reading,
                                               LineBuffer::Case letterCase);

protected:
    // The file's lines as the line buffer counts them, blank ones at the end included.
    virtual bool hasRawLine(int index) = 0;
    virtual bool isRawLineEmpty(int index) = 0; // for an index that exists
    virtual QString rawLine(int index) = 0;
    // The last line that holds text; empty text when none does.
    virtual QString rawLastLine() = 0;
};

} // namespace kvaro
