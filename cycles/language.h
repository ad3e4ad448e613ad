#pragma once

#include "cycles/linebuffer.h"

namespace kvaro {

// The interface texts of one language: text N is line N of the language file, read at the
// moment it is shown. A short file leaves the missing texts empty.
class Language
{
public:
    Language() = default;
    explicit Language(const QStringList& lines) { m_lines.setLines(lines); }

    QString text(int n) const { return m_lines.line(n); }
    LineBuffer& buffer() { return m_lines; } // JezykMemo
    const LineBuffer& buffer() const { return m_lines; }

private:
    LineBuffer m_lines;
};

} // namespace kvaro
