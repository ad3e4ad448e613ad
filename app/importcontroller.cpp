#include "app/importcontroller.h"

#include "app/msgdialog.h"
#include "app/tform2.h"
#include "store/drives.h"
#include "store/importjob.h"
#include "store/mountwatch.h"

#include <QColor>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QThread>

#include <algorithm>
#include <optional>

namespace kvaro
{

namespace {

using State = ImportController::ButtonState;

struct ButtonLook {
    State state;
    bool enabled;
    std::optional<QColor> colour; // none: the button's own look
};

// KvaroLoadButton after each turn of events. Green and disabled once everything of the
// marked drive is in; grey (the colour of a scan that found no marked drive) and enabled
// while something is left to do; enabled again, in its own look, once marked drives came
// or went, so the next drive needs no restart.
const QColor green(0, 255, 0);
const QColor grey(128, 128, 128);
const ButtonLook buttonLooks[] = {
    {State::NotYet, true, std::nullopt},        {State::NoDrive, true, grey},
    {State::ImportedAll, false, green},         {State::FilesLeft, true, grey},
    {State::DrivesChanged, true, std::nullopt},
};

} // namespace

ImportController::ImportController(TForm2& form, std::unique_ptr<Drives> drives,
                                   std::unique_ptr<MountWatch> watch)
    : QObject(&form), m_form(form), m_drives(std::move(drives))
{
    setObjectName(QStringLiteral("ImportController"));
    if (!m_drives)
        m_drives = std::make_unique<LinuxDrives>();
    m_watch = watch ? watch.release() : new MountTableWatch;
    m_watch->setParent(this);
    connect(m_watch, &MountWatch::changed, this, &ImportController::mountsChanged);
    connect(form.controls().KvaroLoadButton, &QPushButton::clicked, this,
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
    QPushButton* button = m_form.controls().KvaroLoadButton;
    // No second import while this one runs; its outcome decides the state afterwards.
    button->setEnabled(false);
    m_driveFound = false;
    m_mountsChangedWhileRunning = false;

    MsgDialog* dialog = m_form.MsgDialog();
    dialog->setProgress(0);

    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("KvaroImport"));
    auto* job = new ImportJob(*m_drives, m_form.services().programFolder,
                              m_form.LocaleDecimalSeparator(), m_form.JezykMemo());
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
    if (!scan.found) {
        setButtonState(State::NoDrive);
        return;
    }
    m_driveRoot = scan.root;
    MsgDialog* dialog = m_form.MsgDialog();
    dialog->setCaption(m_form.text(Text::LoadingCaption));
    dialog->setBody(m_form.text(Text::LoadingBody));
    dialog->setProgress(0);
    dialog->adjustSize();
    if (const QScreen* screen = m_form.screen() ? m_form.screen() : QGuiApplication::primaryScreen())
        dialog->move(screen->availableGeometry().center() - dialog->rect().center());
    dialog->show();
}

void ImportController::progressed(int done, int total)
{
    if (total > 0)
        m_form.MsgDialog()->setProgress(100.0 * done / total);
}

void ImportController::finished(const ImportResult& result)
{
    m_thread->quit();
    m_thread->wait();
    m_thread->deleteLater();
    m_thread = nullptr;
    m_lastResult = result;

    m_form.MsgDialog()->hide();
    if (!result.driveFound)
        setButtonState(State::NoDrive);
    else
        setButtonState(result.allHandled() ? State::ImportedAll : State::FilesLeft);
    if (m_mountsChangedWhileRunning)
        mountsChanged();
    if (result.driveFound)
        m_form.controls().DolnyBarEmpty->setText(summary(result, m_form.JezykMemo()));
    for (const QString& message : result.messages)
        m_form.showMessage(message);
    m_form.OdswiezListePiecy();
    emit importFinished();
}

void ImportController::mountsChanged()
{
    if (m_thread) {
        m_mountsChangedWhileRunning = true;
        return;
    }
    m_mountsChangedWhileRunning = false;
    if (m_buttonState == State::NotYet || m_buttonState == State::DrivesChanged)
        return;
    if (scanDrives(*m_drives).marked != m_markedAtImport)
        setButtonState(State::DrivesChanged);
}

void ImportController::setButtonState(ButtonState state)
{
    m_buttonState = state;
    const auto look = std::find_if(std::begin(buttonLooks), std::end(buttonLooks),
                                   [state](const ButtonLook& l) { return l.state == state; });
    QPushButton* button = m_form.controls().KvaroLoadButton;
    button->setEnabled(look->enabled);
    button->setProperty("driveColour", look->colour ? QVariant(*look->colour) : QVariant());
    button->setStyleSheet(
        look->colour ? QStringLiteral("QPushButton#KvaroLoadButton { background-color: %1; }")
                           .arg(look->colour->name())
                     : QString());
}

} // namespace kvaro
