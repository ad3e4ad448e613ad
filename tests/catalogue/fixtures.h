#pragma once

// Small cycle files written by the tests themselves: a record line is 83 fields of "0"
// with the fields a case cares about set.
#include "cycles/language.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMap>
#include <QString>
#include <QStringList>

namespace fixtures
{

inline QString record(const QMap<int, QString>& set, int size = 83)
{
    QStringList fields(size, QStringLiteral("0"));
    fields[0] = QStringLiteral("1");
    for (auto it = set.begin(); it != set.end(); ++it)
        fields[it.key()] = it.value();
    return fields.join(QLatin1Char(';'));
}

// A first record dated 7 April 2019 starting at h:m.
inline QString first(const QString& h = QStringLiteral("8"), const QString& m = QStringLiteral("5"),
                     QMap<int, QString> more = {})
{
    more.insert(3, h);
    more.insert(4, m);
    if (!more.contains(53))
        more.insert(53, QStringLiteral("19"));
    if (!more.contains(54))
        more.insert(54, QStringLiteral("4"));
    if (!more.contains(55))
        more.insert(55, QStringLiteral("7"));
    return record(more);
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
