#include "store/settings.h"

#include "base/failure.h"
#include "store/places.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace kvaro {

namespace {
const QString dataFileName = QStringLiteral("Data.dat");

// By name: QFileInfo's comparison takes two missing files for the same one.
bool samePath(const QString& a, const QString& b)
{
    return QDir::cleanPath(QFileInfo(a).absoluteFilePath()) ==
           QDir::cleanPath(QFileInfo(b).absoluteFilePath());
}

// A switch saves through a file beside it, so its folder must take new files as well.
bool canWrite(const QString& file)
{
    const QFileInfo info(file);
    return info.isWritable() && QFileInfo(info.absolutePath()).isWritable();
}
} // namespace

Settings::Settings(QString workingFolder, QString programFolder)
    : Settings(QStringList{std::move(workingFolder), std::move(programFolder)}, QString())
{
}

Settings::Settings(QStringList folders, QString configFolder)
    : m_folders(std::move(folders)), m_configFolder(std::move(configFolder))
{
}

QString Settings::configCopyPath() const
{
    return m_configFolder.isEmpty() ? QString() : QDir(m_configFolder).filePath(dataFileName);
}

QString Settings::find(const QString& fileName) const
{
    for (const QString& folder : m_folders) {
        if (folder.isEmpty())
            continue;
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

QStringList Settings::dataFileCandidates() const
{
    QStringList paths;
    const QString copy = configCopyPath();
    bool copyPlaced = copy.isEmpty();
    for (const QString& folder : m_folders) {
        if (folder.isEmpty())
            continue;
        // The user's copy goes before the installed default, which it was made to replace.
        if (!copyPlaced && isSharedDataFolder(folder)) {
            paths.append(copy);
            copyPlaced = true;
        }
        paths.append(QDir(folder).filePath(dataFileName));
    }
    if (!copyPlaced)
        paths.append(copy);
    return paths;
}

void Settings::load()
{
    const QString copy = configCopyPath();
    const bool haveCopy = !copy.isEmpty() && QFileInfo(copy).isFile();
    m_dataPath.clear();
    for (const QString& path : dataFileCandidates()) {
        if (!QFileInfo(path).isFile())
            continue;
        // A Data.dat the user cannot write is a default like the installed one: a switch
        // went into the user's copy instead, and that choice must hold at the next start.
        const bool yields = haveCopy && !samePath(path, copy) && !canWrite(path);
        m_dataPath = yields ? copy : path;
        break;
    }
    m_dataMemo.clear();
    m_languageCode = QStringLiteral("PL");
    if (m_dataPath.isEmpty())
        return;
    try {
        m_dataMemo.loadFile(m_dataPath);
    } catch (const Failure&) {
        // An unreadable settings file is treated like a missing one: Polish.
        return;
    }
    if (m_dataMemo.count() > 0 && !m_dataMemo.line(0).isEmpty())
        m_languageCode = m_dataMemo.line(0);
}

void Settings::setLanguageCode(const QString& code)
{
    QStringList lines = m_dataMemo.lines();
    if (lines.isEmpty())
        lines.append(code);
    else
        lines[0] = code;
    m_dataMemo.setLines(lines);
    if (m_dataPath.isEmpty()) {
        const auto first = std::find_if(m_folders.cbegin(), m_folders.cend(),
                                        [](const QString& folder) { return !folder.isEmpty(); });
        m_dataPath = QDir(first == m_folders.cend() ? QString() : *first).filePath(dataFileName);
    }
    const QString copy = configCopyPath();
    if (!copy.isEmpty() && isSharedDataFolder(QFileInfo(m_dataPath).absolutePath())) {
        // The installed default is the package's and every user's: even root, who could
        // write it, switches only their own copy.
        QDir().mkpath(m_configFolder);
        m_dataMemo.saveFile(copy);
        m_dataPath = copy;
        m_languageCode = code;
        return;
    }
    try {
        m_dataMemo.saveFile(m_dataPath);
    } catch (const Failure& failure) {
        // A program folder the user may not write: the user's own copy takes over, with
        // every line of the one that was read.
        if (copy.isEmpty() || samePath(copy, m_dataPath))
            throw;
        try {
            QDir().mkpath(m_configFolder);
            m_dataMemo.saveFile(copy);
        } catch (const Failure&) {
            throw failure;
        }
        m_dataPath = copy;
    }
    m_languageCode = code;
}

QString Settings::languageFilePath() const
{
    return find(m_languageCode + QStringLiteral(".dat"));
}

void Settings::loadLanguage(Language& language) const
{
    const QString fileName = m_languageCode + QStringLiteral(".dat");
    const QString path = languageFilePath();
    if (path.isEmpty())
        throw Failure(QStringLiteral("Nie znaleziono pliku językowego %1.\n"
                                     "The language file %1 was not found.")
                          .arg(fileName));
    language.buffer().loadFile(path);
}

} // namespace kvaro
