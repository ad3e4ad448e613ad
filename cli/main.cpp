#include "cli/command.h"

#include "cycles/failure.h"
#include "store/settings.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QMap>

#include <cstdio>
#include <memory>

namespace kvaro::cli {

namespace {

struct Command {
    QString usage;
    CommandFunction run;
};

QMap<QString, Command>& registry()
{
    static QMap<QString, Command> commands;
    return commands;
}

void usage()
{
    err(QStringLiteral("usage: kvaro-cli COMMAND [--home DIR] ..."));
    for (const Command& command : registry())
        err(QStringLiteral("  ") + command.usage);
}

} // namespace

bool registerCommand(const QString& name, const QString& usageText, CommandFunction run)
{
    registry().insert(name, Command{usageText, std::move(run)});
    return true;
}

Language interfaceLanguage(const Invocation& invocation,
                           const std::function<void(const QString&)>& report)
{
    Settings settings(QDir::currentPath(), invocation.home);
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
    // Drawing a chart to PNG needs a GUI application; it never opens a window.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvaro-cli"));

    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || !registry().contains(args.first())) {
        usage();
        return ExitUsage;
    }
    const QString name = args.takeFirst();
    Invocation invocation;
    invocation.home = QCoreApplication::applicationDirPath();
    for (int i = 0; i < args.size(); ++i) {
        if (args.at(i) == QLatin1String("--home")) {
            if (i + 1 >= args.size()) {
                err(QStringLiteral("--home needs a folder"));
                return ExitUsage;
            }
            invocation.home = QDir(args.at(i + 1)).absolutePath();
            ++i;
        } else {
            invocation.arguments.append(args.at(i));
        }
    }
    return registry().value(name).run(invocation);
}
