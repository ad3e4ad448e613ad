#include "app/cycleopening.h"

#include "app/progressdialog.h"
#include "app/windowjobs.h"
#include "base/failure.h"
#include "base/language.h"
#include "base/platform.h"

#include <QFileInfo>
#include <QWidget>

namespace kvaro {

CycleOpener::CycleOpener(WindowJobs& jobs, const Language& language, const AppServices& services,
                         QWidget* window)
    : QObject(window), m_jobs(jobs), m_language(language), m_services(services), m_window(window)
{
}

void CycleOpener::open(const QString& path, CycleSource source)
{
    const int request = ++m_request;
    // Emptied on screen first: a file too short to draw must not leave the last cycle shown.
    emit opening();
    if (m_job != 0)
        m_jobs.finish(m_job);
    m_job = m_jobs.start();
    if (ProgressDialog* dialog = m_jobs.dialog(m_job)) {
        dialog->setBusy();
        if (QFileInfo(path).size() > LargeCycleBytes)
            dialog->showCentred(m_window);
        else
            dialog->showCentredAfter(ProgressDialog::ShortWorkMs, m_window);
    }
    const QChar separator = m_services.locale.decimalSeparator();
    m_work.start<OpenedCycle>(
        [path, source, separator](const CancelCheck&) {
            return openCycle(path, source, separator.isNull() ? QLatin1Char('.') : separator);
        },
        [this, request](OpenedCycle&& cycle, std::exception_ptr failure) {
            answered(request, std::move(cycle), failure);
        });
}

void CycleOpener::answered(int request, OpenedCycle cycle, std::exception_ptr failure)
{
    // A file that was read after another was asked for has nothing left to say.
    if (request != m_request)
        return;
    m_jobs.finish(std::exchange(m_job, 0));
    if (failure) {
        guarded(m_services.messages, [&] { std::rethrow_exception(failure); });
        return;
    }
    if (!cycle.drawable)
        m_services.messages.show(m_language.text(Text::NotDrawable));
    emit opened(cycle);
}

} // namespace kvaro
