#pragma once

#include <QStringView>
#include <QVarLengthArray>

#include <climits>
#include <optional>

namespace kvaro {

// A line's fields as views into it, cut exactly where Split cuts (an empty text has no
// field; a trailing separator after an empty field adds none), up to `most` fields. For
// readers that look at a few fields of many lines: no string per field. They read plain
// fields here and leave anything else to Record, whose failures name the file and line.
class FieldViews
{
public:
    explicit FieldViews(QStringView line, int most = INT_MAX);

    int size() const { return int(m_fields.size()); }
    QStringView at(int index) const { return m_fields.at(index); }
    // Record::isRecordLine for a line with a field: field 0 is a heating type code.
    bool startsWithHeatingType() const;
    // The first `count` fields (as many as there are) joined by ";": the line up to the end
    // of the last of them.
    QStringView joined(int count) const;

private:
    QStringView m_line;
    QVarLengthArray<QStringView, 96> m_fields;
};

// A field of nothing but one to nine digits, as toInteger reads it; nothing for any other,
// which toInteger may refuse.
std::optional<int> plainInteger(QStringView field);

} // namespace kvaro
