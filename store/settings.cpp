#include "store/settings.h"

#include "cycles/failure.h"

#include <QDir>
#include <QFileInfo>

namespace kvaro {

namespace {
const QString dataFileName = QStringLiteral("Data.dat");
}

Settings::Settings(QString workingFolder, QString programFolder)
    : m_workingFolder(std::move(workingFolder)), m_programFolder(std::move(programFolder))
{
}

QString Settings::find(const QString& fileName) const
{
    for (const QString& folder : {m_workingFolder, m_programFolder}) {
        if (folder.isEmpty())
            continue;
        const QString path = QDir(folder).filePath(fileName);
        if (QFileInfo(path).isFile())
            return path;
    }
    return {};
}

void Settings::load()
{
    m_dataPath = find(dataFileName);
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
    if (m_dataPath.isEmpty())
        m_dataPath = QDir(m_workingFolder.isEmpty() ? m_programFolder : m_workingFolder)
                         .filePath(dataFileName);
    m_dataMemo.saveFile(m_dataPath);
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
