#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <utility>

namespace kvaro {

// A whole text file held as lines. Every reader of cycle, settings and language files goes
// through it, so the line rules are the same everywhere: CR LF, CR or LF end a line; a
// final line break does not start an empty last line; a line beyond the last reads as
// empty text; a line reads as at most its first 4096 characters.
//
// The text is kept as bytes, not as a string per line: a cycle of a million records is a
// quarter of a gigabyte already. ASCII is kept as it is, so a plain file is read without
// any decoding and the chart loader converts numbers straight from the bytes; any other
// character is kept in UTF-8, one UTF-16 unit at a time (a character beyond the BMP as
// its two halves), so that a line's cut after 4096 UTF-16 units falls between sequences
// and an unpaired half from a damaged UTF-16 file survives. Text is built only where
// text is asked for.
class LineBuffer
{
public:
    enum class Encoding { Locale, Utf8, Utf16LE, Utf16BE };
    enum class Case { Keep, Lower };

    static constexpr int MaxLineLength = 4096;

    explicit LineBuffer(Case letterCase = Case::Keep);

    // Reads the file whole; a byte-order mark selects UTF-8 or UTF-16, otherwise the
    // locale's encoding. Throws Failure when the file cannot be read.
    void loadFile(const QString& path);
    void loadBytes(const QByteArray& bytes, const QString& fileName = {});
    // Replaces the text; the encoding is kept.
    void setText(const QString& text);
    void setLines(const QStringList& lines);
    // Replaces one character by another in every line; neither may be a letter, so the
    // buffer's letter case rule still holds.
    void replaceInLines(QChar from, QChar to);
    // The replacements in their order, as one pass where every character is ASCII: what
    // the first pair writes the second one may replace again.
    void replaceInLines(const QList<std::pair<QChar, QChar>>& replacements);
    void clear();

    int count() const { return int(m_spans.size()); }
    // The lines up to the last one that holds text: what a cycle file has. Readers of the
    // last line, and of the lines counted back from it, use this, so blank lines after the
    // end record (an editor's extra line break) change nothing.
    int trimmedCount() const;
    QString line(int index) const;
    // The bytes of line(index) (see above: ASCII as itself, other characters as UTF-8 a
    // UTF-16 unit at a time); empty beyond the last line. The view lasts until the buffer
    // changes.
    QByteArrayView lineBytes(int index) const;
    // Every line whole, not cut to MaxLineLength.
    QStringList lines() const;
    // The lines joined with CR LF, each line whole.
    QString text() const;

    Encoding encoding() const { return m_encoding; }
    void setEncoding(Encoding encoding) { m_encoding = encoding; }
    // The file the text was read from (for messages); empty for text put in directly.
    const QString& fileName() const { return m_fileName; }
    void setFileName(const QString& fileName) { m_fileName = fileName; }

    // The bytes a copy written from this buffer holds: the encoding it was read in (with
    // its byte-order mark), CR LF after every line.
    QByteArray toBytes() const;
    // Writes toBytes() to path; throws Failure when it cannot be written.
    void saveFile(const QString& path) const;
    // Writes bytes to path whole or not at all; throws WriteFailure with the system's reason.
    static void saveBytes(const QString& path, const QByteArray& bytes);

    static Encoding detectEncoding(const QByteArray& bytes);
    static QString decode(const QByteArray& bytes, Encoding* encoding = nullptr);
    static QStringList splitLines(const QString& text);

    // The line rules above, for readers that take a file piece by piece (the catalogue's
    // quick reading of the first and last records) and must see what a whole read sees.
    // The bytes of the byte-order mark, and of one code unit, in an encoding.
    static int markSize(Encoding encoding);
    static int unitSize(Encoding encoding);
    // The text of bytes after the mark. Given only bytes up to a line break, it is the text
    // a whole read has there: no encoding read here has a line break inside a character.
    static QString decodeBody(QByteArrayView body, Encoding encoding);
    // Appends the lines text ends and returns how many characters they took. Before the
    // end, the text after the last break (and a final CR, which may be half of a CR LF)
    // waits for more; at the end it is the last line.
    static qsizetype cutLines(QStringView text, bool atEnd, QStringList& lines);
    // A line as line() gives it: in the letter case asked for, cut to MaxLineLength.
    static QString lineAsRead(QString line, Case letterCase);
    // Text to the bytes lineBytes() gives, and back. Bytes not made by toLineBytes are
    // read as far as they go.
    static QByteArray toLineBytes(QStringView text);
    static QString fromLineBytes(QByteArrayView bytes);
    // Throws the failure of a file that cannot be opened or read, naming it.
    [[noreturn]] static void cannotRead(const QString& path, const QString& reason);

private:
    // Where a line's bytes sit in m_bytes, its line break left out.
    struct Span {
        qsizetype begin;
        qsizetype end;
    };

    void load(QByteArray bytes);
    void setLineBytes(QByteArray bytes);
    QByteArrayView wholeLineBytes(int index) const;

    Case m_case;
    Encoding m_encoding = Encoding::Locale;
    QString m_fileName;
    QByteArray m_bytes;
    QList<Span> m_spans;
};

} // namespace kvaro
