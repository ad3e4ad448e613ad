#pragma once

#include <QString>
#include <QStringList>

namespace kvaro {

// Where the store lies: the folder "Data" in its home (see storeHome() in places.h: beside
// the program or in the user's data folder), one folder per oven.
class StorePaths
{
public:
    explicit StorePaths(QString home);

    const QString& home() const { return m_home; }
    QString storeRoot() const;
    QString ovenFolder(const QString& oven) const;

private:
    QString m_home;
};

// The ovens of the store: every sub-folder of the store root except hidden ones (a name
// starting with "."), in natural order. A missing or unreadable root lists nothing.
QStringList listOvens(const QString& storeRoot);

// The cycle files of one oven folder: files matching "*.csv" in any letter case, in
// natural order.
QStringList listCycleFiles(const QString& folder);

} // namespace kvaro
