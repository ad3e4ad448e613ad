#include "app/workerthread.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QMetaObject>
#include <QObject>
#include <QPointer>

namespace kvaro {

WorkerThread::WorkerThread(Work work, QObject* receiver, std::function<void()> done)
    : m_state(std::make_shared<State>())
{
    // The receiver outlives the thread (the destructor joins it), so the post at the end
    // always reaches a whole object.
    m_thread =
        std::thread([state = m_state, work = std::move(work), receiver, done = std::move(done)] {
            try {
                work([&state] { return state->cancelled.load(); });
            } catch (...) {
                state->failure = std::current_exception();
            }
            state->finished = true;
            if (done)
                QMetaObject::invokeMethod(receiver, done, Qt::QueuedConnection);
        });
}

WorkerThread::~WorkerThread()
{
    cancel();
    wait();
}

void WorkerThread::wait()
{
    if (m_thread.joinable())
        m_thread.join();
}

void WorkerThread::rethrow() const
{
    if (m_state->finished && m_state->failure)
        std::rethrow_exception(m_state->failure);
}

bool runAside(const QObject* owner, const WorkerThread::Work& work)
{
    const QPointer<const QObject> alive(owner);
    QEventLoop loop;
    WorkerThread worker(work, &loop, [&loop] { loop.quit(); });
    QObject::connect(owner, &QObject::destroyed, &loop, &QEventLoop::quit);
    // Returns at once, or early, when the application is quitting.
    loop.exec();
    const bool ended = worker.isFinished();
    if (!ended)
        worker.cancel();
    worker.wait();
    if (!ended || !alive)
        return false;
    worker.rethrow();
    return true;
}

} // namespace kvaro
