#pragma once

#include <QString>
#include <QStringList>

namespace kvaro {

// Case-insensitive order in which runs of digits compare as numbers: P2.csv comes before
// P10.csv, as a file manager lists them. Names equal but for case keep a stable order.
bool naturalLess(const QString& a, const QString& b);
void sortNaturally(QStringList& names);

} // namespace kvaro
