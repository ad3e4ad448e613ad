#pragma once

// Small cycle files written by the tests themselves: a record line is 83 fields of "0"
// with the fields a case cares about set, named as in kvaro::field.
#include "base/language.h"
#include "cycles/cycleformat.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QStringList>

namespace fixtures {

inline QString record(const QMap<int, QString>& set, int size = kvaro::field::OvenIdRecordSize)
{
    QStringList fields(size, QStringLiteral("0"));
    fields[kvaro::field::HeatingType] = QStringLiteral("1");
    for (auto it = set.begin(); it != set.end(); ++it)
        fields[it.key()] = it.value();
    return fields.join(QLatin1Char(';'));
}

// A first record dated 7 April 2019 starting at h:m.
inline QString first(const QString& h = QStringLiteral("8"), const QString& m = QStringLiteral("5"),
                     QMap<int, QString> more = {})
{
    using namespace kvaro;
    more.insert(field::Hour, h);
    more.insert(field::Minute, m);
    if (!more.contains(field::StartYear))
        more.insert(field::StartYear, QStringLiteral("19"));
    if (!more.contains(field::StartMonth))
        more.insert(field::StartMonth, QStringLiteral("4"));
    if (!more.contains(field::StartDay))
        more.insert(field::StartDay, QStringLiteral("7"));
    return record(more);
}

// The start date fields of a first record: year within the century, month, day.
inline QMap<int, QString> startDate(const QString& year, const QString& month, const QString& day)
{
    using namespace kvaro;
    return {{field::StartYear, year}, {field::StartMonth, month}, {field::StartDay, day}};
}

// A cycle's last line: its end time and the fuel used since the start.
inline QString end(const QString& h, const QString& m, const QString& s, const QString& fuel)
{
    using namespace kvaro;
    return record({{field::Hour, h}, {field::Minute, m}, {field::Second, s}, {field::Fuel, fuel}});
}

inline QString header()
{
    return QStringLiteral("M;T1;T2;H;M;S");
}

inline bool write(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(bytes) == bytes.size();
}

inline bool writeLines(const QString& path, const QStringList& lines)
{
    return write(path, (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8());
}

// Language text n reads "Tn".
inline kvaro::Language language()
{
    QStringList lines;
    for (int n = 0; n <= 45; ++n)
        lines.append(QStringLiteral("T%1").arg(n));
    return kvaro::Language(lines);
}

} // namespace fixtures
