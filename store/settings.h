#pragma once

#include "base/language.h"
#include "base/linebuffer.h"

#include <QString>
#include <QStringList>

namespace kvaro {

// Data.dat (line 0: the language code; further lines carried along) and the language file
// named after the code. Both are looked up in a list of folders, the first that has the
// file wins: the working folder first, then beside the program, so kvaro started from
// another folder still finds them, and a portable copy keeps its own language. An
// installed Data.dat cannot be written by its users, so a language switch writes the
// user's own copy into the configuration folder. That copy is read after the working and
// the program folder and before the installed default; a Data.dat in those two folders
// that the user cannot write yields to it, since the switch could not go there.
class Settings
{
public:
    // Looks in the working folder, then the program folder; no configuration folder.
    Settings(QString workingFolder, QString programFolder);
    // Looks in each of folders in order (empty ones are skipped); configFolder may be empty.
    Settings(QStringList folders, QString configFolder);

    // Reads Data.dat; a missing file means "PL". Never fails.
    void load();
    const QString& languageCode() const { return m_languageCode; }
    // Sets line 0 of Data.dat to the code, keeping its other lines, and writes the file back
    // where it was found (the first folder when there was none). When it cannot be written
    // there, it goes into the configuration folder, made when missing. Throws Failure, the
    // one of the first place, when it cannot be written anywhere.
    void setLanguageCode(const QString& code);

    // The path the language file of the current code was found at; empty when missing.
    QString languageFilePath() const;
    // Loads the language file of the current code into language. Throws Failure naming the
    // file when there is none or it cannot be read; language then keeps its texts.
    void loadLanguage(Language& language) const;

    const LineBuffer& dataMemo() const { return m_dataMemo; } // DataMemo
    QString dataFilePath() const { return m_dataPath; }

    // The first existing file of that name in the folders; empty when none has it. The
    // configuration folder is not one of them: only Data.dat is read from there.
    QString find(const QString& fileName) const;

private:
    QString configCopyPath() const;
    // Where Data.dat is looked for, in order: the folders, the user's copy placed before
    // the installed default (last when there is none).
    QStringList dataFileCandidates() const;

    QStringList m_folders;
    QString m_configFolder;
    QString m_dataPath;
    QString m_languageCode = QStringLiteral("PL");
    LineBuffer m_dataMemo;
};

} // namespace kvaro
