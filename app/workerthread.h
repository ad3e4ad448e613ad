#pragma once

#include "catalogue/catalogue.h"

#include <atomic>
#include <exception>
#include <functional>
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

// Runs work on a WorkerThread and returns once it has ended, the events of the window
// being processed meanwhile: it repaints, and its handlers may run, the one that called
// this one included. Returns false when it stopped waiting early because `owner` was
// destroyed or the application is quitting: the work was then asked to stop and has
// ended, and the caller must not touch `owner`. An exception of the work is thrown here.
bool runAside(const QObject* owner, const WorkerThread::Work& work);

} // namespace kvaro
