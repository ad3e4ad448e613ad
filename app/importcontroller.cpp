#include "app/importcontroller.h"

#include "app/msgdialog.h"
#include "app/tform2.h"
#include "store/drives.h"
#include "store/importjob.h"

#include <QColor>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QThread>

namespace kvaro {

namespace {

// Green once a marked drive was found (one import per run), grey while none was.
const QColor foundColour(0, 255, 0);
const QColor notFoundColour(128, 128, 128);

} // namespace

ImportController::ImportController(TForm2& form, std::unique_ptr<Drives> drives)
    : QObject(&form), m_form(form), m_drives(std::move(drives))
{
    setObjectName(QStringLiteral("ImportController"));
    if (!m_drives)
        m_drives = std::make_unique<LinuxDrives>();
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

QString ImportController::summary(const ImportResult& result, const QString& languageCode)
{
    const QString form = languageCode == QLatin1String("EN") ? QStringLiteral("Cycles: %1, ovens: %2")
                                                             : QStringLiteral("Cykle: %1, piece: %2");
    return form.arg(result.newlyStored()).arg(result.ovensStoredTo());
}

void ImportController::KvaroLoadButtonClick()
{
    if (m_thread)
        return;
    QPushButton* button = m_form.controls().KvaroLoadButton;
    // No second import while this one runs; the scan decides the state afterwards.
    button->setEnabled(false);
    m_driveFound = false;

    MsgDialog* dialog = m_form.MsgDialog();
    dialog->setProgress(0);

    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("KvaroImport"));
    auto* job = new ImportJob(*m_drives, m_form.services().programFolder,
                              m_form.LocaleDecimalSeparator(), m_form.text(44));
    job->moveToThread(m_thread);
    m_job = job;
    connect(m_thread, &QThread::started, job, &ImportJob::run);
    connect(job, &ImportJob::driveScanned, this, &ImportController::driveScanned);
    connect(job, &ImportJob::progress, this, &ImportController::progressed);
    connect(job, &ImportJob::finished, this, &ImportController::finished);
    connect(m_thread, &QThread::finished, job, &QObject::deleteLater);
    m_thread->start();
}

void ImportController::driveScanned(bool found, const QString& root)
{
    m_driveFound = found;
    if (found)
        m_driveRoot = root;
    colourButton();
    if (!found)
        return;
    MsgDialog* dialog = m_form.MsgDialog();
    dialog->setCaption(m_form.text(25));
    dialog->setBody(m_form.text(26));
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
    colourButton();
    if (result.driveFound)
        m_form.controls().DolnyBarEmpty->setText(summary(result, m_form.LanguageCode()));
    for (const QString& message : result.messages)
        m_form.showMessage(message);
    m_form.OdswiezListePiecy();
    emit importFinished();
}

void ImportController::colourButton()
{
    QPushButton* button = m_form.controls().KvaroLoadButton;
    const QColor colour = m_driveFound ? foundColour : notFoundColour;
    button->setEnabled(!m_driveFound);
    button->setProperty("driveColour", colour);
    button->setStyleSheet(QStringLiteral("QPushButton#KvaroLoadButton { background-color: %1; }")
                              .arg(colour.name()));
}

} // namespace kvaro
