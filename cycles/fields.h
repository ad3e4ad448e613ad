#pragma once

#include <QString>
#include <QStringList>

namespace kvaro {

class LineBuffer;

// Cuts str at every sep. Differs from QString::split in two ways the stored files rely on:
// an empty text gives no field, and a trailing separator after an empty field adds no
// further empty field (";;" gives two fields, not three).
void Split(const QString& str, const QString& sep, QStringList& list);
QStringList Split(const QString& str, const QString& sep = QStringLiteral(";"));

// The controller writes "," between fields and "." for decimals; the store keeps ";"
// between fields and the locale's separator. The order of the two passes matters: on a
// "," locale the decimal commas made by the second pass must not become separators.
QString normalisedText(const QString& text, QChar decimalSeparator);
void normalise(LineBuffer& buffer, QChar decimalSeparator);

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
