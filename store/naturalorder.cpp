#include "store/naturalorder.h"

#include <algorithm>

namespace kvaro {

namespace {

bool isDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

// -1, 0, 1 like strcmp, ignoring case and reading digit runs as numbers.
int naturalCompare(const QString& a, const QString& b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a.at(i)) && isDigit(b.at(j))) {
            qsizetype ei = i, ej = j;
            while (ei < a.size() && isDigit(a.at(ei)))
                ++ei;
            while (ej < b.size() && isDigit(b.at(ej)))
                ++ej;
            // Compare numbers of any length without overflow: skip leading zeros, then
            // the longer run is larger, then digit by digit.
            qsizetype si = i, sj = j;
            while (si < ei - 1 && a.at(si) == QLatin1Char('0'))
                ++si;
            while (sj < ej - 1 && b.at(sj) == QLatin1Char('0'))
                ++sj;
            if (ei - si != ej - sj)
                return ei - si < ej - sj ? -1 : 1;
            for (; si < ei; ++si, ++sj) {
                if (a.at(si) != b.at(sj))
                    return a.at(si) < b.at(sj) ? -1 : 1;
            }
            i = ei;
            j = ej;
            continue;
        }
        const QChar ca = a.at(i).toCaseFolded(), cb = b.at(j).toCaseFolded();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return 0;
}

} // namespace

bool naturalLess(const QString& a, const QString& b)
{
    const int order = naturalCompare(a, b);
    return order != 0 ? order < 0 : a < b;
}

void sortNaturally(QStringList& names)
{
    std::stable_sort(names.begin(), names.end(), naturalLess);
}

} // namespace kvaro
