#pragma once

#include "cycles/rawfile.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kvaro {

// An oven folder opened once to list its cycle files and look at their stamps. The listing
// takes the file type the folder itself records, so naming the cycle files of a large oven
// costs no status call per file (only links, and file systems that record no type, are
// looked at one by one).
class CycleFolder
{
public:
    explicit CycleFolder(const QString& folder);
    ~CycleFolder();
    CycleFolder(const CycleFolder&) = delete;
    CycleFolder& operator=(const CycleFolder&) = delete;

    // The names listCycleFiles() gives, in its natural order. When knownOrder holds exactly
    // these names, already in natural order, it is returned as it is instead of sorting anew;
    // isKnown, when given, tells whether a name is in knownOrder (quicker than a set of them
    // made here).
    QStringList cycleFiles(const QStringList& knownOrder = {},
                           const std::function<bool(const QString&)>& isKnown = {}) const;
    // The same in two steps: the names as the folder lists them, then put in order.
    QStringList listedCycleFiles() const;
    static QStringList naturalOrder(QStringList names, const QStringList& knownOrder = {},
                                    const std::function<bool(const QString&)>& isKnown = {});

    // naturalLess, quick for plain cycle file names ("P123.csv").
    static bool inOrder(const QString& a, const QString& b);

    // The file's stamp, following a link; empty when it cannot be looked at.
    std::optional<FileStamp> stamp(const QString& name) const;

private:
    QString m_folder;
    int m_fd = -1;
};

} // namespace kvaro
