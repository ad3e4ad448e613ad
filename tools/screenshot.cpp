// Renders the real main window with a drawn demo cycle to a PNG, for the README:
//   screenshot OUT.png [--lang PL|EN]
// The window runs offscreen over a temporary program folder filled with the demo drive.
#include "app/appservices.h"
#include "app/cataloguecontroller.h"
#include "app/style.h"
#include "app/tform2.h"
#include "app/tform2controls.h"
#include "app/windowjobs.h"
#include "app/windowparts.h"
#include "base/platform.h"
#include "store/drives.h"
#include "store/importer.h"
#include "store/storepaths.h"
#include "tools/cyclegen.h"

#include <QAbstractItemModel>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

using namespace kvaro;

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.isEmpty()) {
        std::fprintf(stderr, "usage: screenshot OUT.png [--lang PL|EN]\n");
        return 2;
    }
    const QString out = args.takeFirst();
    const QString lang = args.size() == 2 && args.at(0) == QLatin1String("--lang")
                             ? args.at(1)
                             : QStringLiteral("PL");
    applyLook(app);

    QTemporaryDir home, drive;
    const QDate today(2026, 12, 9);
    gen::writeDrive(drive.path(), gen::demoDrive(today));
    const FakeDrives drives({drive.path()});
    Importer importer(drives, StorePaths(home.path()), QLatin1Char(','));
    importer.run();
    const QString assets = QStringLiteral(KVARO_ASSETS);
    for (const QString& name : {QStringLiteral("PL.dat"), QStringLiteral("EN.dat")})
        QFile::copy(QDir(assets).filePath(name), QDir(home.path()).filePath(name));
    QFile data(QDir(home.path()).filePath(QStringLiteral("Data.dat")));
    if (data.open(QIODevice::WriteOnly))
        data.write(lang.toUtf8() + "\r\n");
    data.close();

    const FixedClock clock(QDateTime(today, QTime(15, 30)));
    const FixedLocale locale(QLatin1Char(','), QStringLiteral("dd.MM.yyyy"));
    RecordingMessages messages;
    const AppServices services{clock, locale, messages, home.path(), home.path()};
    TForm2 form(services);
    attachWindowParts(form);
    form.show();

    // The gas oven with power regulation shows the most of the window.
    const TForm2Controls& c = form.controls();
    auto* catalogue = form.findChild<CatalogueController*>();
    const int oven = std::max(0, c.ComboPiec->findText(QStringLiteral("10230002")));
    c.ComboPiec->setCurrentIndex(oven);
    // Each step answers once the window is quiet again: the list is built, then the
    // clicked cycle is drawn.
    int status = 1;
    bool listed = false;
    QObject::connect(&form.jobs(), &WindowJobs::idle, &app, [&] {
        if (!listed) {
            listed = true;
            const QModelIndex first = c.ListBox1->model()->index(0, 0);
            c.ListBox1->setCurrentIndex(first);
            catalogue->ListBox1ItemClick(first);
            return;
        }
        c.AdvSmoothButton9->click();
        c.Advsmoothtabpager1->setCurrentWidget(c.AdvSmoothTabPager11);
        QTimer::singleShot(300, &app, [&] {
            status = form.grab().save(out) ? 0 : 1;
            for (const QString& text : messages.texts())
                std::fprintf(stderr, "message: %s\n", qPrintable(text));
            app.quit();
        });
    });
    catalogue->ComboPiecItemSelected(oven);
    app.exec();
    return status;
}
