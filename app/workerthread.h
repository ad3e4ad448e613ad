#pragma once

#include "catalogue/catalogue.h"

#include <atomic>
#include <exception>
#include <functional>
#include <list>
#include <memory>
#include <thread>

class QObject;

namespace kvaro {

// One piece of long work (a catalogue, a listing, a cycle's load) on a thread of its own,
// so the window goes on repainting and taking input while it runs. A dedicated thread,
// never the global pool: the work itself may spread over the pool and wait for it.
//
// The work gets a cancel check it is expected to ask between its steps. Once it has
// returned, `done` runs on the receiver's thread (queued); the receiver must outlive this
// object. An exception the work throws is kept for rethrow().
class WorkerThread
{
public:
    using Work = std::function<void(const CancelCheck& cancelled)>;

    WorkerThread(Work work, QObject* receiver, std::function<void()> done);
    // Asks the work to stop and waits until it has: nothing it does (a progress post to the
    // receiver) outlasts the part that owns it.
    ~WorkerThread();
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // From the owner's thread: the work is asked to stop at its next check, and what it
    // returns is not wanted any more. `done` still follows.
    void cancel() { m_state->cancelled = true; }
    bool isCancelled() const { return m_state->cancelled; }
    bool isFinished() const { return m_state->finished; }
    // Blocks until the work has returned.
    void wait();
    // The exception the work ended with, thrown again on the caller's thread; nothing when
    // it returned normally.
    void rethrow() const;

private:
    struct State {
        std::atomic<bool> cancelled{false};
        std::atomic<bool> finished{false};
        std::exception_ptr failure;
    };
    std::shared_ptr<State> m_state;
    std::thread m_thread;
};

// Work a part of the window started and has not heard back from yet: each piece on a
// WorkerThread, its result handed to `done` on the owner's thread once it has returned.
// Nothing waits for it meanwhile: the window goes on with its events, and a part that asks
// for newer work tells an older answer by its own request number. Destroying this asks
// every piece to stop and waits for them, so no answer reaches a part that is gone.
class AsideWork
{
public:
    explicit AsideWork(QObject* owner) : m_owner(owner) {}
    ~AsideWork() { m_running.clear(); }
    AsideWork(const AsideWork&) = delete;
    AsideWork& operator=(const AsideWork&) = delete;

    // `done` gets what the work returned, or the exception it ended with (and a default
    // result); it is not called for work cancelled meanwhile.
    template <class Result>
    void start(std::function<Result(const CancelCheck&)> work,
               std::function<void(Result&&, std::exception_ptr)> done)
    {
        auto result = std::make_shared<Result>();
        startWork([work = std::move(work),
                   result](const CancelCheck& cancelled) { *result = work(cancelled); },
                  [result, done = std::move(done)](std::exception_ptr failure) {
                      done(std::move(*result), failure);
                  });
    }
    // Every piece under way is asked to stop; none of their answers comes.
    void cancelAll();
    bool isRunning() const { return !m_running.empty(); }

private:
    void startWork(WorkerThread::Work work, std::function<void(std::exception_ptr)> done);

    QObject* m_owner;
    std::list<std::unique_ptr<WorkerThread>> m_running;
};

} // namespace kvaro
