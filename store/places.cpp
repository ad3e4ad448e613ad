#include "store/places.h"

#include <QDir>
#include <QFileInfo>

namespace kvaro {

namespace {

// A relative XDG folder is invalid and ignored, as the base directory rules ask.
QString userFolder(const QString& xdgValue, const QString& home, const QString& belowHome)
{
    if (!xdgValue.isEmpty() && QDir::isAbsolutePath(xdgValue))
        return QDir::cleanPath(xdgValue + QStringLiteral("/kvaro"));
    if (home.isEmpty())
        return {};
    return QDir::cleanPath(home + QLatin1Char('/') + belowHome + QStringLiteral("/kvaro"));
}

} // namespace

Environment Environment::ofProcess()
{
    return {qEnvironmentVariable("XDG_DATA_HOME"), qEnvironmentVariable("XDG_CONFIG_HOME"),
            qEnvironmentVariable("HOME")};
}

QString storeHome(const QString& programFolder, const Environment& environment)
{
    if (QFileInfo(QDir(programFolder).filePath(QStringLiteral("Data"))).isDir())
        return programFolder;
    const QString userData =
        userFolder(environment.xdgDataHome, environment.home, QStringLiteral(".local/share"));
    return userData.isEmpty() ? programFolder : userData;
}

QString configFolder(const Environment& environment)
{
    return userFolder(environment.xdgConfigHome, environment.home, QStringLiteral(".config"));
}

namespace {
const QString sharedDataTail = QStringLiteral("/share/kvaro");
}

QStringList settingsFolders(const QString& workingFolder, const QString& programFolder)
{
    QStringList folders{workingFolder, programFolder};
    if (!programFolder.isEmpty())
        folders.append(QDir::cleanPath(programFolder + QStringLiteral("/..") + sharedDataTail));
    return folders;
}

bool isSharedDataFolder(const QString& folder)
{
    return QDir::cleanPath(folder).endsWith(sharedDataTail);
}

} // namespace kvaro
