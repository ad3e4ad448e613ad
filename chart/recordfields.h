#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QLatin1StringView>
#include <QString>
#include <QVarLengthArray>

#include <optional>

namespace kvaro {

class Failure;

// One line of a cycle file cut at ";" into views of the line, reused from line to line so
// a long cycle is read without allocating a string per field. Same rules and failure
// texts as Record: fields are cut as Split cuts them, and every failure names the file
// and the line.
//
// The line is held in the bytes LineBuffer::lineBytes gives: numbers convert straight
// from them, and a field becomes text only when text is asked for.
class RecordFields
{
public:
    explicit RecordFields(QString file = {}) : m_file(std::move(file)) {}

    void assign(const QString& line, int lineIndex);
    // The bytes are not copied: they must outlast the use of the fields.
    void assign(QByteArrayView line, int lineIndex);

    int size() const { return int(m_fields.size()); }
    int lineIndex() const { return m_lineIndex; }
    const QString& file() const { return m_file; }

    // "List index out of bounds (%d)" beyond the last field.
    QByteArrayView bytes(int index) const;
    QString text(int index) const;
    int integer(int index) const;
    double decimal(int index) const;
    // Exact comparison of the whole field with an ASCII value.
    bool is(int index, QLatin1StringView value) const
    {
        return bytes(index) == QByteArrayView(value.data(), value.size());
    }
    bool flag(int index) const { return is(index, QLatin1StringView("1")); }
    bool isRecordLine() const;
    // Seconds since midnight from fields 3, 4, 5.
    int timeOfDay() const;

    // A field the controller writes as a plain decimal (an optional "-", digits with at
    // most one "." or ","), converted as every full conversion of it would convert it;
    // empty for anything else.
    static std::optional<double> plainDecimal(QByteArrayView field);

private:
    [[noreturn]] void fail(Failure failure) const;

    QString m_file;
    QByteArray m_owned; // the line given as text
    int m_lineIndex = -1;
    QVarLengthArray<QByteArrayView, 96> m_fields;
};

} // namespace kvaro
