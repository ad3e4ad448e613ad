#pragma once

#include <QString>
#include <QStringList>

namespace kvaro {

// The variables of the environment that say where a user's own files go. main() reads
// them from the process; tests hand in folders of their own.
struct Environment {
    QString xdgDataHome;   // XDG_DATA_HOME
    QString xdgConfigHome; // XDG_CONFIG_HOME
    QString home;          // HOME

    static Environment ofProcess();
};

// The folder whose Data/ is the store. A Data/ beside the program wins: a portable copy,
// or the build folder once tools/dev.sh has filled it. Otherwise the user's data folder,
// $XDG_DATA_HOME/kvaro (~/.local/share/kvaro), so an installed program never makes a
// store under its install prefix, not even when root runs it. Nothing is created here:
// the import makes the folders it needs. With neither variable set there is nowhere else
// to go, and the program folder is kept.
QString storeHome(const QString& programFolder, const Environment& environment);

// kvaro's folder of the user's configuration, $XDG_CONFIG_HOME/kvaro (~/.config/kvaro),
// where Data.dat goes when the one that was read cannot be written; empty when neither
// variable is set.
QString configFolder(const Environment& environment);

// The folders Data.dat and the language files are looked up in, in order: the working
// folder, the program folder, then the shared data of an installed program
// (<prefix>/share/kvaro beside <prefix>/bin).
QStringList settingsFolders(const QString& workingFolder, const QString& programFolder);

// Whether folder is an installed program's shared data (<prefix>/share/kvaro): its files
// belong to the package and are every user's defaults, so kvaro never writes them.
bool isSharedDataFolder(const QString& folder);

} // namespace kvaro
