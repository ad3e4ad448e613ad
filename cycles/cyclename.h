#pragma once

#include <QString>
#include <QStringList>

namespace kvaro {

class LineBuffer;

// What a cycle file says of where it belongs: the oven (the import files it in that oven's
// folder of the store) and the cycle number (from its name). Every reader that names a
// cycle, stored or not, takes them from here.

// The store folder of the oven a first record came from, built from the identifier fields
// 75 to 82 (two characters each, written by the controller with a digit in between):
// fields 75-78 give their 4th then 2nd character when they have at least 3, fields 79-82
// likewise, or their 2nd character alone when shorter. A record without field 82 or a
// name under 7 characters is oven "0". A position a field does not have adds nothing.
//
// The name comes from a file on a drive, so it is made safe to use as one folder name:
// every character other than an ASCII letter, digit, "-" or "_" becomes "_".
QString ovenName(const QStringList& firstRecordFields);

// The oven of the cycle held in memo1, as the import names it: from the first line whose
// field 0 is a heating type code. Empty when no line is one.
QString ovenNameOfCycle(const LineBuffer& memo1);

// The fallback folder for files whose oven cannot be told.
inline QString unknownOven()
{
    return QStringLiteral("0");
}

// The cycle number from a file name: every "P", then every ".csv" removed (case-sensitive).
QString cycleNumberFromName(const QString& fileName);

} // namespace kvaro
