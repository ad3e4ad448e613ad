#pragma once

#include "base/language.h"
#include "base/platform.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace kvaro::cli {

// A command line the parser refused, named as the user typed it.
struct ArgumentFault {
    enum class Kind {
        Unexpected,   // an unknown option, or a value given to an option that takes none
        MissingValue, // an option that takes a value came last
    };
    Kind kind = Kind::Unexpected;
    QString argument; // "--colour", "--json=1", "-x"; the option itself for a missing value
};

// What a command gets: its parsed command line (the options every command shares already
// taken care of) and where things live.
struct Invocation {
    const QCommandLineParser& options;
    QString home = {}; // --home, or the folder the window takes: the store is home/Data
    // Where Data.dat and the language files are looked up, in order, and the configuration
    // folder whose Data.dat is read before the installed default (empty with --home).
    QStringList settingsFolders = {};
    QString configFolder = {};
};

struct Command {
    QString name;
    QString usage;       // the usage line after "kvaro-cli "
    QString listedAs;    // in the list of every command, when it differs from usage
    QString description; // what --help says the command does
    QList<QCommandLineOption> options;
    // Positional arguments as --help lists them: name, description. A command line with
    // more is refused as an unexpected argument.
    QList<std::pair<QString, QString>> arguments;
    // The last named argument may be given any number of times ("FILE...").
    bool repeatsLastArgument = false;
    // The line above the usage line when the parser refused the command line, for each
    // kind of fault; %1 is the argument as typed. Without them, the usage line alone.
    QString unexpectedArgument;
    QString missingValue;
    // Whether this command line draws pictures: only then does kvaro-cli start a GUI
    // application (offscreen); every other command runs without a window system.
    std::function<bool(const QCommandLineParser&)> renders;
    std::function<int(const Invocation&)> run;
};

// --json, which several commands share.
const QCommandLineOption& jsonOption();

// Called from a static initialiser in each command's file.
bool registerCommand(Command command);

// Exit statuses shared by the commands.
inline constexpr int ExitOk = 0;
inline constexpr int ExitFailed = 1;
inline constexpr int ExitUsage = 2;

// Refuses a command line: prints why (unless empty) and the usage line ("usage: kvaro-cli "
// and usage) to standard error, and returns ExitUsage.
int refuse(const QString& why, const QString& usage);

// The interface language as the window finds it: Data.dat and the language file in the
// invocation's folders (with --home: the working folder, then home). A missing language
// file is reported through report, and the texts stay empty.
Language interfaceLanguage(const Invocation& invocation,
                           const std::function<void(const QString&)>& report);

// Prints to standard output / standard error as UTF-8.
void out(const QString& text);
void err(const QString& text);

// Every message the window would show, in order, echoed to standard error as it comes: a
// command's JSON carries them again under "messages".
class EchoingMessages : public Messages
{
public:
    void show(const QString& text) override
    {
        m_texts.append(text);
        err(text);
    }
    const QStringList& texts() const { return m_texts; }
    // show() as a function, for the operations that report through one.
    std::function<void(const QString&)> sink()
    {
        return [this](const QString& text) { show(text); };
    }

private:
    QStringList m_texts;
};

} // namespace kvaro::cli
