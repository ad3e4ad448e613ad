#include "app/windowjobs.h"

#include "app/progressdialog.h"

namespace kvaro {

WindowJobs::WindowJobs(ProgressDialog* dialog, QObject* parent) : QObject(parent), m_dialog(dialog)
{
}

ProgressDialog* WindowJobs::sharedDialog() const
{
    return m_dialog;
}

int WindowJobs::start()
{
    const int job = ++m_lastJob;
    m_running.insert(job);
    return job;
}

void WindowJobs::finish(int job)
{
    if (m_running.erase(job) == 0)
        return;
    if (m_dialogJob == job) {
        m_dialogJob = 0;
        if (m_dialog) {
            m_dialog->setCancellable(false);
            m_dialog->finish();
        }
    }
    // Queued: a job that ends by starting the next (a file read, then drawn) leaves the
    // window busy, not idle for a moment.
    if (m_running.empty())
        QMetaObject::invokeMethod(
            this,
            [this] {
                if (m_running.empty())
                    emit idle();
            },
            Qt::QueuedConnection);
}

ProgressDialog* WindowJobs::dialog(int job)
{
    if (!m_running.count(job))
        return nullptr;
    if (m_dialogJob != 0 && m_dialogJob != job)
        return nullptr;
    m_dialogJob = job;
    return m_dialog;
}

ProgressDialog* WindowJobs::takeDialog(int job)
{
    if (!m_running.count(job))
        return nullptr;
    if (m_dialogJob != job && m_dialog) {
        // What the other job set up goes with it.
        m_dialog->setCancellable(false);
    }
    m_dialogJob = job;
    return m_dialog;
}

} // namespace kvaro
