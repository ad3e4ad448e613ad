#include "app/importcontroller.h"

#include "app/progressdialog.h"
#include "app/windowjobs.h"
#include "store/drives.h"
#include "store/importjob.h"
#include "store/mountwatch.h"

#include "base/platform.h"
#include <QColor>
#include <QDir>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QThread>

#include <algorithm>
#include <optional>

namespace kvaro {

namespace {

using ButtonState = ImportController::ButtonState;

struct ButtonLook {
    ButtonState state;
    bool enabled;
    std::optional<QColor> colour; // none: the button's own look
};

// KvaroLoadButton after each turn of events. Green and disabled once everything of the
// marked drive is in; grey (the colour of a scan that found no marked drive) and enabled
// while something is left to do; enabled again, in its own look, once marked drives came
// or went, so the next drive needs no restart.
const QColor green(0, 255, 0);
const QColor grey(128, 128, 128);
// A drive plugged in while the window runs: the button asks to be pressed.
const QColor amber(255, 191, 0);
const ButtonLook buttonLooks[] = {
    {ButtonState::NotYet, true, std::nullopt},        {ButtonState::NoDrive, true, grey},
    {ButtonState::ImportedAll, false, green},         {ButtonState::FilesLeft, true, grey},
    {ButtonState::DrivesChanged, true, std::nullopt}, {ButtonState::DriveArrived, true, amber},
};

} // namespace

ImportController::ImportController(const Controls& controls, const State& state,
                                   const AppServices& services, QObject* parent,
                                   std::unique_ptr<Drives> drives,
                                   std::unique_ptr<MountWatch> watch)
    : QObject(parent), m_controls(controls), m_state(state), m_services(services),
      m_drives(std::move(drives))
{
    setObjectName(QStringLiteral("ImportController"));
    if (!m_drives)
        m_drives = std::make_unique<LinuxDrives>();
    m_watch = watch ? watch.release() : new MountTableWatch;
    m_watch->setParent(this);
    connect(m_watch, &MountWatch::changed, this, &ImportController::mountsChanged);
    connect(m_controls.KvaroLoadButton, &QPushButton::clicked, this,
            &ImportController::KvaroLoadButtonClick);
}

ImportController::~ImportController()
{
    if (!m_thread)
        return;
    // The job reads m_drives: it must be done before they go.
    if (m_job)
        m_job->requestStop();
    m_thread->quit();
    m_thread->wait();
}

QString ImportController::summary(const ImportResult& result, const Language& language)
{
    return fillIn(language.text(Text::ImportSummary),
                  {QString::number(result.newlyStored()), QString::number(result.ovensStoredTo())});
}

void ImportController::KvaroLoadButtonClick()
{
    if (m_thread)
        return;
    QPushButton* button = m_controls.KvaroLoadButton;
    // No second import while this one runs; its outcome decides the state afterwards.
    button->setEnabled(false);
    showArrivedDrive({});
    m_driveFound = false;
    m_mountsChangedWhileRunning = false;

    // The import shows its progress from its start to its end, whatever else the window
    // is doing meanwhile.
    m_dialogJob = m_state.jobs.start();
    ProgressDialog* dialog = m_state.jobs.takeDialog(m_dialogJob);
    dialog->setProgress(0);

    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("KvaroImport"));
    auto* job =
        new ImportJob(*m_drives, m_services.storeHome, m_state.decimalSeparator, m_state.language);
    job->moveToThread(m_thread);
    m_job = job;
    connect(m_thread, &QThread::started, job, &ImportJob::run);
    connect(job, &ImportJob::driveScanned, this, &ImportController::driveScanned);
    connect(job, &ImportJob::progress, this, &ImportController::progressed);
    connect(job, &ImportJob::finished, this, &ImportController::finished);
    connect(m_thread, &QThread::finished, job, &QObject::deleteLater);
    m_thread->start();
}

void ImportController::driveScanned(const DriveScan& scan)
{
    m_driveFound = scan.found;
    m_markedAtImport = scan.marked;
    m_markedSeen = scan.marked;
    if (!scan.found) {
        setButtonState(ButtonState::NoDrive);
        return;
    }
    m_driveRoot = scan.root;
    ProgressDialog* dialog = m_controls.MsgDialog;
    dialog->setCaption(m_state.language.text(Text::LoadingCaption));
    dialog->setBody(m_state.language.text(Text::LoadingBody));
    dialog->setProgress(0);
    dialog->adjustSize();
    const QScreen* screen = m_controls.Form2->screen();
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (screen)
        dialog->move(screen->availableGeometry().center() - dialog->rect().center());
    dialog->show();
}

void ImportController::progressed(int done, int total)
{
    if (total > 0)
        m_controls.MsgDialog->setProgress(100.0 * done / total);
}

void ImportController::finished(const ImportResult& result)
{
    m_thread->quit();
    m_thread->wait();
    m_thread->deleteLater();
    m_thread = nullptr;
    m_lastResult = result;

    m_state.jobs.finish(std::exchange(m_dialogJob, 0));
    m_controls.MsgDialog->hide();
    if (!result.driveFound)
        setButtonState(ButtonState::NoDrive);
    else
        setButtonState(result.allHandled() ? ButtonState::ImportedAll : ButtonState::FilesLeft);
    if (m_mountsChangedWhileRunning)
        mountsChanged();
    if (result.driveFound)
        m_controls.DolnyBarEmpty->setText(summary(result, m_state.language));
    for (const QString& message : result.messages)
        m_services.messages.show(message);
    emit importFinished();
}

void ImportController::mountsChanged()
{
    if (m_thread) {
        m_mountsChangedWhileRunning = true;
        return;
    }
    m_mountsChangedWhileRunning = false;
    const QStringList marked = scanDrives(*m_drives).marked;
    QString arrived;
    // Before any look at the drives, a marked drive found now is news too: the window does
    // not scan when it opens, since a scan may wait on a slow drive.
    for (const QString& root : marked) {
        if (!m_markedSeen.value_or(QStringList()).contains(root))
            arrived = root;
    }
    m_markedSeen = marked;

    if (!arrived.isEmpty()) {
        // Nothing is imported until the user presses the button.
        if (m_buttonState != ButtonState::DriveArrived)
            m_stateBeforeArrival = m_buttonState;
        showArrivedDrive(arrived);
        setButtonState(ButtonState::DriveArrived);
        return;
    }
    if (!m_arrivedDrive.isEmpty() && !marked.contains(m_arrivedDrive)) {
        // Pulled out before it was imported: the notice goes, the button is as it was.
        showArrivedDrive({});
        if (m_buttonState == ButtonState::DriveArrived)
            setButtonState(m_stateBeforeArrival);
    }
    if (m_buttonState == ButtonState::NotYet || m_buttonState == ButtonState::DrivesChanged ||
        m_buttonState == ButtonState::DriveArrived)
        return;
    if (marked != m_markedAtImport)
        setButtonState(ButtonState::DrivesChanged);
}

void ImportController::showArrivedDrive(const QString& root)
{
    m_arrivedDrive = root;
    m_controls.DolnyBarDrive->setText(
        root.isEmpty()
            ? QString()
            : fillIn(m_state.language.text(Text::DriveArrived), {QDir::toNativeSeparators(root)}));
}

void ImportController::setButtonState(ButtonState state)
{
    m_buttonState = state;
    const auto look = std::find_if(std::begin(buttonLooks), std::end(buttonLooks),
                                   [state](const ButtonLook& l) { return l.state == state; });
    QPushButton* button = m_controls.KvaroLoadButton;
    button->setEnabled(look->enabled);
    button->setProperty("driveColour", look->colour ? QVariant(*look->colour) : QVariant());
    button->setStyleSheet(
        look->colour ? QStringLiteral("QPushButton#KvaroLoadButton { background-color: %1; }")
                           .arg(look->colour->name())
                     : QString());
}

} // namespace kvaro
