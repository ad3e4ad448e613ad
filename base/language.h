#pragma once

#include "base/linebuffer.h"
#include "base/textlines.h"

#include <cstddef>
#include <iterator>
#include <utility>

namespace kvaro {

// Every line of a language file, by name: line N is the text of Text(N). Lines 47 and
// after came later; older language files end before them, and each then reads as its
// built-in English text (englishText), so no message and no caption is ever empty for
// want of a line.
enum class Text : int {
#define KVARO_TEXT_NAME(number, name, english) name = number,
    KVARO_TEXT_LINES(KVARO_TEXT_NAME)
#undef KVARO_TEXT_NAME
};

// The first line that has a built-in text: the lines before it were in every language
// file from the start.
inline constexpr int FirstNamedText = int(Text::CycleCountOne);
static_assert(FirstNamedText == 47, "a language file's lines keep their numbers");

namespace textlines {

struct Row {
    int number;
    const char* english;
};
inline constexpr Row rows[] = {
#define KVARO_TEXT_ROW(number, name, english) {number, english},
    KVARO_TEXT_LINES(KVARO_TEXT_ROW)
#undef KVARO_TEXT_ROW
};

constexpr bool numberedInOrder()
{
    for (std::size_t i = 0; i < std::size(rows); ++i) {
        if (rows[i].number != int(i))
            return false;
    }
    return true;
}
static_assert(numberedInOrder(), "each line of the table has the number of its place");

// The cycle-count words fall back to line 9 instead (see Language::cycleCount).
constexpr bool laterLinesHaveEnglish()
{
    for (std::size_t i = FirstNamedText; i < std::size(rows); ++i) {
        const bool fallsBack =
            int(i) == int(Text::CycleCountOne) || int(i) == int(Text::CycleCountFew);
        if (!rows[i].english && !fallsBack)
            return false;
    }
    return true;
}
static_assert(laterLinesHaveEnglish(), "every line after 46 has its built-in English text");

} // namespace textlines

inline constexpr int LastNamedText = int(std::size(textlines::rows)) - 1;

// The built-in text of a named line: English, and the stable wording the command line's
// JSON carries whatever the interface language. The two cycle-count words fall back to
// line 9 (Cycles) instead (see cycleCount), so a language file without them shows what it
// always showed; the hint falls back to the form the time line has always had.
inline QString englishText(Text text)
{
    if (int(text) < FirstNamedText || int(text) > LastNamedText)
        return QString();
    const char* english = textlines::rows[int(text)].english;
    return english ? QString::fromUtf8(english) : QString();
}

// The text with %1 to %9 replaced by the values, in one pass: a value that itself holds
// "%1" (a file name, a system's message) is taken as it is. A placeholder without a value
// stays as written.
inline QString fillIn(const QString& form, const QStringList& values)
{
    QString text;
    text.reserve(form.size());
    for (qsizetype i = 0; i < form.size(); ++i) {
        const QChar c = form.at(i);
        if (c == QLatin1Char('%') && i + 1 < form.size()) {
            const int n = form.at(i + 1).digitValue();
            if (n >= 1 && n <= values.size()) {
                text += values.at(n - 1);
                ++i;
                continue;
            }
        }
        text += c;
    }
    return text;
}

// The interface texts of one language: text N is line N of the language file, read at the
// moment it is shown. A short file leaves the missing texts of lines 0 to 46 empty; the
// named lines after them fall back as englishText says.
class Language
{
public:
    Language() = default;
    explicit Language(const QStringList& lines) { m_lines.setLines(lines); }

    QString text(Text name) const
    {
        const QString line = m_lines.line(int(name));
        if (!line.isEmpty() || int(name) < FirstNamedText)
            return line;
        if (name == Text::CycleCountOne || name == Text::CycleCountFew)
            return text(Text::Cycles);
        return englishText(name);
    }
    LineBuffer& buffer() { return m_lines; } // JezykMemo
    const LineBuffer& buffer() const { return m_lines; }

    // "5 cykli", "1 cykl", "22 cykle": the count, a blank and the word that fits it. The
    // Polish rule, which also serves English as long as its "few" word is the plural.
    QString cycleCount(qsizetype count) const
    {
        const qsizetype last = count % 10;
        const qsizetype lastTwo = count % 100;
        QString word;
        if (count == 1)
            word = text(Text::CycleCountOne);
        else if (last >= 2 && last <= 4 && (lastTwo < 12 || lastTwo > 14))
            word = text(Text::CycleCountFew);
        else
            word = text(Text::Cycles);
        return QString::number(count) + QLatin1Char(' ') + word;
    }

private:
    LineBuffer m_lines;
};

} // namespace kvaro
