#pragma once

#include "app/appservices.h"
#include "store/drives.h"
#include "store/importer.h"
#include "store/mountwatch.h"

#include <QObject>
#include <QPointer>

#include <memory>
#include <optional>

class QLabel;
class QPushButton;
class QThread;
class QWidget;

namespace kvaro {

class ImportJob;
class Language;
class ProgressDialog;
class WindowJobs;

// The import from the controller drive behind KvaroLoadButton. The file work runs on a
// thread of its own so the window keeps answering; MsgDialog shows how many files are
// done, and whatever the import has to say comes as modal messages once it has ended.
class ImportController : public QObject
{
    Q_OBJECT

public:
    // What KvaroLoadButton offers; the look of each is in one table in the source.
    enum class ButtonState {
        NotYet,        // no import yet
        NoDrive,       // the last import found no marked drive
        ImportedAll,   // every file is stored and off the drive: one import per insertion
        FilesLeft,     // the last import left files on the drive
        DrivesChanged, // marked drives came or went since the last import
        DriveArrived,  // a marked drive was plugged in while the window ran: highlighted
    };

    // The main window's controls this part drives, by their object names.
    struct Controls {
        QWidget* Form2; // the progress dialog opens on its screen
        QPushButton* KvaroLoadButton;
        QLabel* DolnyBarEmpty; // the summary of the last import
        QLabel* DolnyBarDrive; // names a controller drive plugged in meanwhile
        ProgressDialog* MsgDialog;
    };
    // The window's state this part reads; the window owns it.
    struct State {
        const QChar& decimalSeparator;
        const Language& language;
        // Lends MsgDialog to the import from its start to its end.
        WindowJobs& jobs;
    };

    // Without drives, the machine's removable volumes; without a watch, the mount table.
    ImportController(const Controls& controls, const State& state, const AppServices& services,
                     QObject* parent, std::unique_ptr<Drives> drives = {},
                     std::unique_ptr<MountWatch> watch = {});
    // A running import finishes the file in hand first; the rest stay on the drive.
    ~ImportController() override;

    bool DriveFound() const { return m_driveFound; }
    const QString& DriveRoot() const { return m_driveRoot; }
    bool isRunning() const { return m_thread != nullptr; }
    ButtonState buttonState() const { return m_buttonState; }
    // The outcome of the last import that ended.
    const ImportResult& lastResult() const { return m_lastResult; }

    // "Cycles: 12, ovens: 3" in the window's language, for the status bar.
    static QString summary(const ImportResult& result, const Language& language);

public slots:
    void KvaroLoadButtonClick();

signals:
    // The import has ended and its messages were shown: the oven list may have grown.
    void importFinished();

private:
    void driveScanned(const DriveScan& scan);
    void progressed(int done, int total);
    void finished(const ImportResult& result);
    void mountsChanged();
    void setButtonState(ButtonState state);
    // Names the drive in the status bar, or clears the notice for an empty root.
    void showArrivedDrive(const QString& root);

    Controls m_controls;
    State m_state;
    AppServices m_services;
    std::unique_ptr<Drives> m_drives;
    MountWatch* m_watch = nullptr;
    QThread* m_thread = nullptr;
    QPointer<ImportJob> m_job;
    int m_dialogJob = 0; // the window's job number while the import runs
    bool m_driveFound = false;
    QString m_driveRoot;
    ImportResult m_lastResult;
    ButtonState m_buttonState = ButtonState::NotYet;
    // The marked drives as the last import's scan found them, and whether the mounts
    // changed while it ran.
    QStringList m_markedAtImport;
    bool m_mountsChangedWhileRunning = false;
    // The marked drives the last look at the mount table found, the one the status bar
    // names (empty: none), and the button's state before it was highlighted for it.
    std::optional<QStringList> m_markedSeen;
    QString m_arrivedDrive;
    ButtonState m_stateBeforeArrival = ButtonState::NotYet;
};

} // namespace kvaro
