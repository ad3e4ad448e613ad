#pragma once

#include "cycles/language.h"
#include "cycles/linebuffer.h"

#include <QString>

namespace kvaro {

// Data.dat (line 0: the language code; further lines carried along) and the language file
// named after the code. Both are looked up in the working folder first, then beside the
// program, so kvaro started from another folder still finds them.
class Settings
{
public:
    Settings(QString workingFolder, QString programFolder);

    // Reads Data.dat; a missing file means "PL". Never fails.
    void load();
    const QString& languageCode() const { return m_languageCode; }
    // Sets line 0 of Data.dat to the code, keeping its other lines, and writes the file back
    // where it was found (the working folder when there was none). Throws Failure when it
    // cannot be written.
    void setLanguageCode(const QString& code);

    // The path the language file of the current code was found at; empty when missing.
    QString languageFilePath() const;
    // Loads the language file of the current code into language. Throws Failure naming the
    // file when there is none or it cannot be read; language then keeps its texts.
    void loadLanguage(Language& language) const;

    const LineBuffer& dataMemo() const { return m_dataMemo; } // DataMemo
    QString dataFilePath() const { return m_dataPath; }

    // The first existing file of that name in the working folder, then the program folder;
    // empty when neither has it.
    QString find(const QString& fileName) const;

private:
    QString m_workingFolder;
    QString m_programFolder;
    QString m_dataPath;
    QString m_languageCode = QStringLiteral("PL");
    LineBuffer m_dataMemo;
};

} // namespace kvaro
