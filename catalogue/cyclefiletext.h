#pragma once

#include "cycles/linebuffer.h"

#include <QString>

#include <memory>

namespace kvaro
{

// How a cycle file is read by the catalogue and the statistics. Both give the same lines;
// Partial reads from the start only as far as asked and takes the last line from the end
// of the file, which is what keeps choosing an oven of thousands of cycles quick.
enum class Reading { Partial, Whole };

// The lines of one cycle file under the line buffer rules (line ends, no empty last line
// after a final break, 4096 characters a line, optional lower case).
class CycleFileText
{
public:
    virtual ~CycleFileText() = default;

    // Whether line `index` exists. Reading forward, only as far as needed.
    virtual bool hasLine(int index) = 0;
    // Line `index`; empty text beyond the last line.
    virtual QString line(int index) = 0;
    // The last line (line count - 1); empty text for a file without lines.
    virtual QString lastLine() = 0;
    // The number of lines. May read the whole file: wanted only for failure messages.
    virtual int lineCount() = 0;

    // Opens `path`; throws Failure with the line buffer's message when it cannot be read.
    static std::unique_ptr<CycleFileText> open(const QString& path, Reading reading,
                                               LineBuffer::Case letterCase);
};

} // namespace kvaro
