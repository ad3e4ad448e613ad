#include "store/storepaths.h"

#include "store/naturalorder.h"

#include <QDir>

namespace kvaro {

StorePaths::StorePaths(QString home) : m_home(std::move(home)) {}

QString StorePaths::storeRoot() const
{
    return QDir(m_home).filePath(QStringLiteral("Data"));
}

QString StorePaths::ovenFolder(const QString& oven) const
{
    return QDir(storeRoot()).filePath(oven);
}

QStringList listOvens(const QString& storeRoot)
{
    // Hidden folders (".git", ".Trash") are the system's, not ovens.
    QStringList ovens = QDir(storeRoot).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    sortNaturally(ovens);
    return ovens;
}

QStringList listCycleFiles(const QString& folder)
{
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.csv")});
    // Without the case-sensitive flag the filter matches P1.CSV as well.
    QStringList files = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    sortNaturally(files);
    return files;
}

} // namespace kvaro
