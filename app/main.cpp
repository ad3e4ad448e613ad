#include "app/appservices.h"
#include "app/messagebox.h"
#include "app/style.h"
#include "app/tform2.h"
#include "app/windowparts.h"
#include "base/platform.h"
#include "store/places.h"
#include "store/storepaths.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvaro"));
    QApplication::setApplicationDisplayName(kvaro::applicationTitle());
    // Wayland docks match the window to its menu entry (and its icon) by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("pl.kvaro.Kvaro"));
    kvaro::applyLook(app);

    kvaro::SystemClock clock;
    const kvaro::SystemLocale locale;
    kvaro::MessageBoxMessages messages;
    // Where things live is decided once: a store made by the first import stays where it is
    // looked for until the program starts again.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const kvaro::Environment environment = kvaro::Environment::ofProcess();
    const kvaro::AppServices services{clock,
                                      locale,
                                      messages,
                                      kvaro::storeHome(programFolder, environment),
                                      QDir::currentPath(),
                                      programFolder,
                                      kvaro::configFolder(environment)};

    // An installed program's store is the user's own folder: made at the first start, so
    // people can find it (and copy cycle files in) before the first import.
    if (services.storeHome != programFolder)
        QDir().mkpath(kvaro::StorePaths(services.storeHome).storeRoot());

    // Messages of the start (a missing language file) have no window to sit on yet.
    kvaro::TForm2 form(services);
    messages.setParent(&form);
    kvaro::attachWindowParts(form);
    form.show();
    // "kvaro FILE.csv" (as a file manager's "open with" starts it): the file opens once the
    // window is up, as one picked in the open dialog.
    const QString given = kvaro::TForm2::givenFile(QCoreApplication::arguments());
    if (!given.isEmpty())
        QTimer::singleShot(0, &form, [&form, given] { form.openGivenFile(given); });
    return app.exec();
}
