#include "cli/command.h"

#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"
#include "store/drives.h"
#include "store/importer.h"
#include "store/storepaths.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace kvaro::cli {

namespace {

const QString usageText = QStringLiteral("import --drive DIR [--home DIR] [--json]");

QJsonObject fileJson(const ImportedFile& file)
{
    QJsonObject object;
    object.insert(QStringLiteral("file"), file.file);
    object.insert(QStringLiteral("oven"),
                  file.oven.isEmpty() ? QJsonValue() : QJsonValue(file.oven));
    object.insert(QStringLiteral("result"), file.resultText());
    // Stable English whatever the language, for scripts; the messages follow the language.
    const QString reason = file.reason();
    object.insert(QStringLiteral("reason"), reason.isEmpty() ? QJsonValue() : QJsonValue(reason));
    object.insert(QStringLiteral("leftOnDrive"), file.leftOnDrive);
    return object;
}

const QCommandLineOption DriveOption(QStringLiteral("drive"),
                                     QStringLiteral("The folder of the controller's drive."),
                                     QStringLiteral("DIR"));

int run(const Invocation& invocation)
{
    const QCommandLineParser& options = invocation.options;
    const QString driveFolder =
        options.isSet(DriveOption) ? QDir(options.value(DriveOption)).absolutePath() : QString();
    const bool json = options.isSet(jsonOption());
    if (driveFolder.isEmpty())
        return refuse({}, usageText);

    // The messages (the NoControllerDrive line and the end message) come in the language the
    // program would show.
    const Language language = interfaceLanguage(invocation, err);

    const SystemLocale locale;
    const FakeDrives drives({driveFolder});
    const StorePaths store(invocation.home);
    Importer importer(drives, store, locale.decimalSeparator());
    importer.setLanguage(language);
    const ImportResult result = importer.run();
    const QStringList ovens = listOvens(store.storeRoot());
    // What the window would show as modal messages; into the JSON as well when asked.
    for (const QString& message : result.messages)
        err(message);

    if (json) {
        QJsonArray files;
        for (const ImportedFile& file : result.files)
            files.append(fileJson(file));
        QJsonObject object;
        object.insert(QStringLiteral("messages"), QJsonArray::fromStringList(result.messages));
        object.insert(QStringLiteral("driveFound"), result.driveFound);
        object.insert(QStringLiteral("files"), files);
        object.insert(QStringLiteral("ovens"), QJsonArray::fromStringList(ovens));
        out(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented)).trimmed());
    } else {
        for (const ImportedFile& file : result.files) {
            QString line = file.file + QLatin1Char('\t') +
                           (file.oven.isEmpty() ? QStringLiteral("-") : file.oven) +
                           QLatin1Char('\t') + file.resultText();
            if (file.leftOnDrive)
                line += QStringLiteral("\tleft on the drive");
            out(line);
        }
    }
    // A folder without the marker imports nothing, and a file left on the drive (not
    // stored, or stored but not moved into Backup) is work undone: a script must be able
    // to tell both.
    return result.driveFound && result.allHandled() ? ExitOk : ExitFailed;
}

} // namespace

static const bool registered = registerCommand({
    .name = QStringLiteral("import"),
    .usage = usageText,
    .listedAs = {},
    .description = QStringLiteral(
        "Imports the cycle files of a marked controller drive into the store, as the import "
        "button does: a normalised copy in the oven's folder, the original moved into Backup "
        "on the drive."),
    .options = {DriveOption, jsonOption()},
    .arguments = {},
    .unexpectedArgument = {},
    .missingValue = {},
    .renders = {},
    .run = run,
});

} // namespace kvaro::cli
