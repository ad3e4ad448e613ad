#include "app/appservices.h"
#include "app/messagebox.h"
#include "app/style.h"
#include "app/tform2.h"
#include "app/windowparts.h"
#include "cycles/platform.h"
#include "store/places.h"

#include <QApplication>
#include <QDir>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kvaro"));
    QApplication::setApplicationDisplayName(kvaro::applicationTitle());
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
