#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace kvaro {

class LineBuffer;

// Cuts str at every sep. Differs from QString::split in two ways the stored files rely on:
// an empty text gives no field, and a trailing separator after an empty field adds no
// further empty field (";;" gives two fields, not three).
void Split(const QString& str, const QString& sep, QStringList& list);
QStringList Split(const QString& str, const QString& sep = QStringLiteral(";"));

// The controller writes "," between fields and "." for decimals; the store keeps ";"
// between fields and the locale's separator. A file is judged once, by its first record
// line (the first line whose text before the first "," or ";" is a heating type code):
// when that line is already cut at ";" (a stored copy, or a controller set to ";"), its
// commas are decimal commas and both "," and "." become the decimal separator; otherwise
// "," becomes ";" and "." the decimal separator. A file without a record line is taken as
// the controller writes it.
struct Normalisation {
    QChar comma; // what every "," becomes
    QChar point; // what every "." becomes

    static Normalisation of(bool cutAtSemicolon, QChar decimalSeparator);
    static Normalisation forLines(const QStringList& lines, QChar decimalSeparator);
    // One raw line's verdict: empty when it is no record line, otherwise whether it is
    // already cut at ";".
    static std::optional<bool> cutAtSemicolon(QStringView line);
};

// The single-file open and the import: the buffer's text rewritten as judged above.
void normalise(LineBuffer& buffer, QChar decimalSeparator);

// The bytes the store keeps for a file read from the drive: lower case, normalised, CR LF
// after every line. Text with a byte-order mark is decoded and written back in its
// encoding; text without one is handled as bytes, so a header in any code page keeps its
// bytes: only ASCII letters, "," and "." change.
QByteArray normalisedCopy(const QByteArray& raw, QChar decimalSeparator);

// Conversions with the failure texts users see. Both throw Failure without a place; the
// Record below adds the file and the line.
int toInteger(const QString& text);
// Either "." or "," is the decimal point: a stored copy written under another locale
// still reads.
double toDecimal(const QString& text);
// Seconds since midnight; "Invalid argument to time encode" for an hour above 23, a
// minute or second above 59, or a negative part.
int encodeTime(int hour, int minute, int second);

bool isHeatingTypeCode(const QString& field);

// One line of a cycle file cut into fields, knowing where it came from so every failure
// names the file and the line.
class Record
{
public:
    Record() = default;
    Record(const QString& line, QString file = {}, int lineIndex = -1);
    Record(QStringList fields, QString file, int lineIndex);

    int size() const { return int(m_fields.size()); }
    const QStringList& fields() const { return m_fields; }
    const QString& file() const { return m_file; }
    int lineIndex() const { return m_line; }

    // "List index out of bounds (%d)" beyond the last field.
    const QString& field(int index) const;
    int integer(int index) const;
    double decimal(int index) const;
    // Exact, case-sensitive comparison of the whole field: " 1" is not "1".
    bool is(int index, const QString& value) const;
    bool flag(int index) const { return is(index, QStringLiteral("1")); }
    // A record line's field 0 is exactly one of the heating type codes.
    bool isRecordLine() const;
    // Seconds since midnight from fields 3, 4, 5.
    int timeOfDay() const;

private:
    [[noreturn]] void rethrow(const class Failure& failure) const;

    QStringList m_fields;
    QString m_file;
    int m_line = -1;
};

} // namespace kvaro
