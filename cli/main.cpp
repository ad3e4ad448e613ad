#include "cli/command.h"

#include "base/failure.h"
#include "store/places.h"
#include "store/settings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMap>

#include <cstdio>
#include <memory>
#include <optional>

namespace kvaro::cli {

namespace {

QMap<QString, Command>& registry()
{
    static QMap<QString, Command> commands;
    return commands;
}

const QCommandLineOption& homeOption()
{
    static const QCommandLineOption option(
        QStringLiteral("home"),
        QStringLiteral("The program folder; its Data/ is the store (default: the folder of "
                       "kvaro-cli when it has a Data/, else $XDG_DATA_HOME/kvaro, "
                       "~/.local/share/kvaro)."),
        QStringLiteral("DIR"));
    return option;
}

const QCommandLineOption& helpOption()
{
    static const QCommandLineOption option({QStringLiteral("h"), QStringLiteral("help")},
                                           QStringLiteral("Shows this help."));
    return option;
}

QString usageLines()
{
    QString text = QStringLiteral("usage: kvaro-cli COMMAND [--home DIR] ...");
    for (const Command& command : registry())
        text += QStringLiteral("\n  ") +
                (command.listedAs.isEmpty() ? command.usage : command.listedAs);
    return text;
}

void declare(QCommandLineParser& parser, const Command& command)
{
    parser.addOption(helpOption());
    parser.addOption(homeOption());
    parser.addOptions(command.options);
    for (const auto& [name, description] : command.arguments)
        parser.addPositionalArgument(name, description);
    parser.setApplicationDescription(command.description);
}

// The command's own arguments behind the program's name, as the parser expects them.
QStringList commandLine(const QStringList& arguments)
{
    return QStringList{arguments.value(0)} + arguments.mid(2);
}

const QCommandLineOption* findOption(const Command& command, const QString& name)
{
    for (const QCommandLineOption* option : {&helpOption(), &homeOption()}) {
        if (option->names().contains(name))
            return option;
    }
    for (const QCommandLineOption& option : command.options) {
        if (option.names().contains(name))
            return &option;
    }
    return nullptr;
}

// The parser says that a command line is wrong, but not which argument as it was typed,
// and every message names it that way. So a refused command line is walked once more, the
// way the parser reads it: a value option takes the next argument, "--" ends the options.
QList<ArgumentFault> faults(const Command& command, const QStringList& arguments)
{
    QList<ArgumentFault> found;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments.at(i);
        if (argument == QLatin1String("--"))
            break;
        if (argument.size() < 2 || !argument.startsWith(QLatin1Char('-')))
            continue;
        if (!argument.startsWith(QLatin1String("--"))) {
            // Short options are flags here ("-h"); each letter must be one.
            for (qsizetype pos = 1; pos < argument.size(); ++pos) {
                const QCommandLineOption* option = findOption(command, argument.mid(pos, 1));
                if (!option || !option->valueName().isEmpty()) {
                    found.append({ArgumentFault::Kind::Unexpected, argument});
                    break;
                }
            }
            continue;
        }
        const QString name = argument.mid(2).section(QLatin1Char('='), 0, 0);
        const bool withValue = argument.contains(QLatin1Char('='));
        const QCommandLineOption* option = findOption(command, name);
        if (!option || (withValue && option->valueName().isEmpty()))
            found.append({ArgumentFault::Kind::Unexpected, argument});
        else if (!option->valueName().isEmpty() && !withValue && ++i == arguments.size())
            found.append({ArgumentFault::Kind::MissingValue, argument});
    }
    return found;
}

// Refuses a command line in the command's words.
int refuseFault(const Command& command, const ArgumentFault& fault)
{
    const QString& words = fault.kind == ArgumentFault::Kind::MissingValue
                               ? command.missingValue
                               : command.unexpectedArgument;
    return refuse(words.isEmpty() ? QString() : words.arg(fault.argument), command.usage);
}

// Reports a command line the parser refused, as kvaro-cli always worded it: a missing
// folder for --home on its own, everything else through the command.
int reportFaults(const Command& command, const QStringList& arguments, const QString& parserError)
{
    const QList<ArgumentFault> found = faults(command, arguments);
    for (const ArgumentFault& fault : found) {
        if (fault.kind == ArgumentFault::Kind::MissingValue &&
            fault.argument == QLatin1String("--home")) {
            err(QStringLiteral("--home needs a folder"));
            return ExitUsage;
        }
    }
    return found.isEmpty() ? refuse(parserError, command.usage)
                           : refuseFault(command, found.first());
}

QString helpText(const Command& command, const QCommandLineParser& parser)
{
    // The parser's first line names the executable by the path it was started with.
    const QString text = parser.helpText();
    return QStringLiteral("usage: kvaro-cli ") + command.usage + QLatin1Char('\n') +
           text.mid(text.indexOf(QLatin1Char('\n')) + 1);
}

// Whether this command line draws pictures, decided before an application object exists:
// the arguments as the system passed them, read by the command's own options.
bool rendersPictures(int argc, char* argv[])
{
    if (argc < 2)
        return false;
    const auto command = registry().constFind(QString::fromLocal8Bit(argv[1]));
    if (command == registry().cend() || !command->renders)
        return false;
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    QCommandLineParser parser;
    declare(parser, *command);
    return parser.parse(commandLine(arguments)) && command->renders(parser);
}

int dispatch(const QStringList& arguments)
{
    const QString name = arguments.value(1);
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        out(usageLines());
        out(QStringLiteral("kvaro-cli COMMAND --help describes a command."));
        return ExitOk;
    }
    if (!registry().contains(name)) {
        err(usageLines());
        return ExitUsage;
    }
    const Command& command = registry()[name];
    QCommandLineParser parser;
    declare(parser, command);
    const QStringList line = commandLine(arguments);
    if (!parser.parse(line))
        return reportFaults(command, line.mid(1), parser.errorText());
    if (parser.isSet(helpOption())) {
        std::fputs(helpText(command, parser).toUtf8().constData(), stdout);
        return ExitOk;
    }
    // A command takes no more positional arguments than it names.
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > command.arguments.size() && !command.repeatsLastArgument)
        return refuseFault(
            command, {ArgumentFault::Kind::Unexpected, positional.at(command.arguments.size())});
    Invocation invocation{.options = parser};
    // The texts and Data.dat are looked up where the window would look when started from the
    // same folder, whichever store is named.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const Environment environment = Environment::ofProcess();
    invocation.settingsFolders = settingsFolders(QDir::currentPath(), programFolder);
    invocation.configFolder = configFolder(environment);
    if (parser.isSet(homeOption())) {
        // --home names the store and nothing else; a store folder that carries its own
        // language files is still read when no other place has them.
        invocation.home = QDir(parser.value(homeOption())).absolutePath();
        if (!invocation.settingsFolders.contains(invocation.home))
            invocation.settingsFolders.append(invocation.home);
    } else {
        invocation.home = storeHome(programFolder, environment);
    }
    return command.run(invocation);
}

} // namespace

const QCommandLineOption& jsonOption()
{
    static const QCommandLineOption option(QStringLiteral("json"),
                                           QStringLiteral("Prints one JSON object."));
    return option;
}

int refuse(const QString& why, const QString& usage)
{
    if (!why.isEmpty())
        err(why);
    err(QStringLiteral("usage: kvaro-cli ") + usage);
    return ExitUsage;
}

bool registerCommand(Command command)
{
    const QString name = command.name;
    registry().insert(name, std::move(command));
    return true;
}

Language interfaceLanguage(const Invocation& invocation,
                           const std::function<void(const QString&)>& report)
{
    Settings settings(invocation.settingsFolders, invocation.configFolder);
    settings.load();
    Language language;
    try {
        settings.loadLanguage(language);
    } catch (const Failure& failure) {
        report(failure.message());
    }
    return language;
}

void out(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stdout);
    std::fputc('\n', stdout);
}

void err(const QString& text)
{
    std::fputs(text.toUtf8().constData(), stderr);
    std::fputc('\n', stderr);
}

} // namespace kvaro::cli

int main(int argc, char* argv[])
{
    using namespace kvaro::cli;
    std::unique_ptr<QCoreApplication> app;
    if (rendersPictures(argc, argv)) {
        // Drawing a chart to PNG needs a GUI application; it never opens a window.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        app = std::make_unique<QApplication>(argc, argv);
    } else {
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("kvaro-cli"));
    return dispatch(QCoreApplication::arguments());
}
