#include "app/workerthread.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QObject>

#include <algorithm>

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

void AsideWork::startWork(WorkerThread::Work work, std::function<void(std::exception_ptr)> done)
{
    auto* slot = &m_running.emplace_back();
    *slot = std::make_unique<WorkerThread>(std::move(work), m_owner, [this, slot, done] {
        const auto it = std::find_if(m_running.begin(), m_running.end(),
                                     [slot](const auto& worker) { return &worker == slot; });
        if (it == m_running.end())
            return;
        const std::unique_ptr<WorkerThread> worker = std::move(*it);
        m_running.erase(it);
        // Finished: joining it does not wait.
        worker->wait();
        if (worker->isCancelled())
            return;
        std::exception_ptr failure;
        try {
            worker->rethrow();
        } catch (...) {
            failure = std::current_exception();
        }
        done(failure);
    });
}

void AsideWork::cancelAll()
{
    for (const auto& worker : m_running)
        worker->cancel();
}

} // namespace kvaro
