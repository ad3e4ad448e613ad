// kvaro-gen: writes cycle files and whole controller drive folders for tests, samples and
// the demo data of a first run.

#include "base/failure.h"
#include "tools/cyclegen.h"

#include <QCoreApplication>
#include <QDir>
#include <QHash>
#include <QTextStream>

#include <limits>
#include <optional>

using namespace kvaro;

namespace {

const char usageText[] =
    "usage:\n"
    "  kvaro-gen cycle OUT.csv [--type 0..3] [--burners 0..8] [--duration SECONDS | --records N]\n"
    "                          [--period SECONDS] [--start \"YYYY-MM-DD HH:MM:SS\"] [--set "
    "DEGREES]\n"
    "                          [--oven ID] [--seed N] [--encoding plain|utf8|utf16]\n"
    "  kvaro-gen drive DIR [--demo] [--today YYYY-MM-DD] [--ovens N] [--cycles N] [--seed N]\n"
    "  kvaro-gen [cycle | drive] --help\n"
    "\n"
    "cycle  writes one cycle file in the controller's raw form.\n"
    "drive  writes a controller drive folder: the marker file Kvaro.lerta and the cycle files\n"
    "       of several ovens over the seven days up to --today (default: today);\n"
    "       --demo writes the three demo ovens, otherwise --ovens ovens (default 3) with\n"
    "       --cycles cycles each (default 5).\n";

int usage(const QString& problem)
{
    QTextStream err(stderr);
    err << "kvaro-gen: " << problem << "\n\n" << usageText;
    return 2;
}

// Asked for: on standard output, and no error.
int help()
{
    QTextStream(stdout) << usageText;
    return 0;
}

bool isHelp(const QString& arg)
{
    return arg == QLatin1String("--help") || arg == QLatin1String("-h");
}

// Options given as "--name value" (or "--name" alone for the flags listed in `flags`).
struct Options {
    QString command;
    QString target;
    QHash<QString, QString> values;
    QString error;
    bool help = false; // --help or -h where an option may stand: nothing else is done

    bool has(const QString& name) const { return values.contains(name); }
    std::optional<qint64> integer(const QString& name, qint64 low, qint64 high, qint64 fallback)
    {
        if (!has(name))
            return fallback;
        bool ok = false;
        const qint64 value = values.value(name).toLongLong(&ok);
        if (!ok || value < low || value > high) {
            error = QStringLiteral("--%1 needs a whole number from %2 to %3")
                        .arg(name)
                        .arg(low)
                        .arg(high);
            return std::nullopt;
        }
        return value;
    }
};

Options parse(const QStringList& args, const QStringList& known, const QStringList& flags)
{
    Options options;
    options.command = args.at(0);
    if (args.size() < 2) {
        options.error = QStringLiteral("a command and a target are needed");
        return options;
    }
    // An option where the target belongs means the target was left out: it is never a file
    // to write, so "kvaro-gen cycle --help" asks for help and writes nothing.
    if (args.at(1).startsWith(QLatin1Char('-'))) {
        options.help = isHelp(args.at(1));
        options.error =
            QStringLiteral("\"%1\" is no target: give the output path first").arg(args.at(1));
        return options;
    }
    options.target = args.at(1);
    for (qsizetype i = 2; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        const QString name = arg.mid(2);
        if (isHelp(arg)) {
            options.help = true;
            return options;
        }
        if (!arg.startsWith(QLatin1String("--")) ||
            !(known.contains(name) || flags.contains(name))) {
            options.error = QStringLiteral("unknown argument \"%1\"").arg(arg);
            return options;
        }
        if (flags.contains(name)) {
            options.values.insert(name, {});
        } else if (i + 1 < args.size()) {
            options.values.insert(name, args.at(++i));
        } else {
            options.error = QStringLiteral("%1 needs a value").arg(arg);
            return options;
        }
    }
    return options;
}

int cycle(const QStringList& args)
{
    Options o = parse(args,
                      {QStringLiteral("type"), QStringLiteral("burners"),
                       QStringLiteral("duration"), QStringLiteral("records"),
                       QStringLiteral("period"), QStringLiteral("start"), QStringLiteral("set"),
                       QStringLiteral("oven"), QStringLiteral("seed"), QStringLiteral("encoding")},
                      {});
    if (o.help)
        return help();
    gen::CycleSpec spec;
    const auto type = o.integer(QStringLiteral("type"), 0, 3, spec.heatingType);
    const auto burners = o.integer(QStringLiteral("burners"), 0, 8, spec.burnerCount);
    const auto period = o.integer(QStringLiteral("period"), 1, 86400, spec.samplePeriodSeconds);
    const auto duration =
        o.integer(QStringLiteral("duration"), 0, 10 * 86400, spec.durationSeconds);
    const auto records = o.integer(QStringLiteral("records"), 1, 10'000'000, 1);
    const auto set = o.integer(QStringLiteral("set"), 1, 2000, qint64(spec.setTemperature));
    const auto seed = o.integer(QStringLiteral("seed"), 0, std::numeric_limits<qint64>::max(), 1);
    if (!o.error.isEmpty())
        return usage(o.error);
    if (o.has(QStringLiteral("duration")) && o.has(QStringLiteral("records")))
        return usage(QStringLiteral("give either --duration or --records, not both"));
    spec.heatingType = int(*type);
    spec.burnerCount = int(*burners);
    spec.samplePeriodSeconds = int(*period);
    spec.durationSeconds =
        o.has(QStringLiteral("records")) ? int((*records - 1) * *period) : int(*duration);
    spec.setTemperature = double(*set);
    spec.seed = quint64(*seed);
    if (o.has(QStringLiteral("start"))) {
        spec.start = QDateTime::fromString(o.values.value(QStringLiteral("start")),
                                           QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!spec.start.isValid())
            return usage(QStringLiteral("--start needs \"YYYY-MM-DD HH:MM:SS\""));
    }
    const QString encoding = o.values.value(QStringLiteral("encoding"), QStringLiteral("plain"));
    if (encoding == QLatin1String("plain"))
        spec.encoding = gen::Encoding::Plain;
    else if (encoding == QLatin1String("utf8"))
        spec.encoding = gen::Encoding::Utf8Bom;
    else if (encoding == QLatin1String("utf16"))
        spec.encoding = gen::Encoding::Utf16LeBom;
    else
        return usage(QStringLiteral("--encoding is plain, utf8 or utf16"));
    if (o.has(QStringLiteral("oven")))
        spec.ovenId = gen::ovenIdFields(o.values.value(QStringLiteral("oven")));

    gen::writeCycleFile(o.target, spec);
    QTextStream(stdout) << "kvaro-gen: wrote " << o.target << " (" << gen::sampleCount(spec)
                        << " records)\n";
    return 0;
}

int drive(const QStringList& args)
{
    Options o = parse(args,
                      {QStringLiteral("today"), QStringLiteral("ovens"), QStringLiteral("cycles"),
                       QStringLiteral("seed")},
                      {QStringLiteral("demo")});
    if (o.help)
        return help();
    const auto ovens = o.integer(QStringLiteral("ovens"), 1, 9999, 3);
    const auto cycles = o.integer(QStringLiteral("cycles"), 1, 10000, 5);
    const auto seed = o.integer(QStringLiteral("seed"), 0, std::numeric_limits<qint64>::max(), 1);
    if (!o.error.isEmpty())
        return usage(o.error);
    QDate today = QDate::currentDate();
    if (o.has(QStringLiteral("today"))) {
        today = QDate::fromString(o.values.value(QStringLiteral("today")),
                                  QStringLiteral("yyyy-MM-dd"));
        if (!today.isValid())
            return usage(QStringLiteral("--today needs YYYY-MM-DD"));
    }
    if (o.has(QStringLiteral("demo")) &&
        (o.has(QStringLiteral("ovens")) || o.has(QStringLiteral("cycles"))))
        return usage(QStringLiteral("--demo writes its own ovens; leave out --ovens and --cycles"));
    gen::DriveSpec spec = o.has(QStringLiteral("demo"))
                              ? gen::demoDrive(today)
                              : gen::mixedDrive(today, int(*ovens), int(*cycles), quint64(*seed));
    if (o.has(QStringLiteral("demo")) && o.has(QStringLiteral("seed")))
        spec.seed = quint64(*seed);
    const QStringList files = gen::writeDrive(o.target, spec);
    QTextStream(stdout) << "kvaro-gen: wrote the marker and " << files.size() << " cycle files of "
                        << spec.ovens.size() << " ovens to " << QDir::toNativeSeparators(o.target)
                        << "\n";
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.isEmpty())
        return usage(QStringLiteral("no command given"));
    if (isHelp(args.first()))
        return help();
    try {
        if (args.first() == QLatin1String("cycle"))
            return cycle(args);
        if (args.first() == QLatin1String("drive"))
            return drive(args);
    } catch (const Failure& failure) {
        QTextStream(stderr) << "kvaro-gen: " << failure.message() << "\n";
        return 1;
    }
    return usage(QStringLiteral("unknown command \"%1\"").arg(args.first()));
}
