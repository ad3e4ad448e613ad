#pragma once

#include <QString>
#include <QStringView>
#include <QVarLengthArray>

namespace kvaro {

class Failure;

// One line of a cycle file cut at ";" into views of the line, reused from line to line so
// a long cycle is read without allocating a string per field. Same rules and failure
// texts as Record: fields are cut as Split cuts them, and every failure names the file
// and the line.
class RecordFields
{
public:
    explicit RecordFields(QString file = {}) : m_file(std::move(file)) {}

    void assign(const QString& line, int lineIndex);

    int size() const { return int(m_fields.size()); }
    int lineIndex() const { return m_lineIndex; }
    const QString& file() const { return m_file; }

    // "List index out of bounds (%d)" beyond the last field.
    QStringView view(int index) const;
    QString text(int index) const { return view(index).toString(); }
    int integer(int index) const;
    double decimal(int index) const;
    // Exact comparison of the whole field.
    bool is(int index, QLatin1StringView value) const { return view(index) == value; }
    bool flag(int index) const { return is(index, QLatin1StringView("1")); }
    bool isRecordLine() const;
    // Seconds since midnight from fields 3, 4, 5.
    int timeOfDay() const;

private:
    [[noreturn]] void fail(Failure failure) const;

    QString m_file;
    QString m_line;
    int m_lineIndex = -1;
    QVarLengthArray<QStringView, 96> m_fields;
};

} // namespace kvaro
