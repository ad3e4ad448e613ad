#pragma once

#include "cycles/language.h"

#include <QString>
#include <QStringList>

#include <functional>

namespace kvaro::cli {

// What every command shares: its arguments (after the command name), with the options
// common to all commands already taken out.
struct Invocation {
    QStringList arguments;
    QString home; // the program folder: the store is home/Data
};

using CommandFunction = std::function<int(const Invocation&)>;

// Called from a static initialiser in each command's file.
bool registerCommand(const QString& name, const QString& usage, CommandFunction run);

// Exit statuses shared by the commands.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

// The interface language as the window finds it: Data.dat and the language file in the
// working folder, then in the program folder. A missing language file is reported through
// report, and the texts stay empty.
Language interfaceLanguage(const Invocation& invocation,
                           const std::function<void(const QString&)>& report);

// Prints to standard output / standard error as UTF-8.
void out(const QString& text);
void err(const QString& text);

} // namespace kvaro::cli
