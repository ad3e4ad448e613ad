#pragma once

#include <QMutex>
#include <QMutexLocker>
#include <QThreadPool>
#include <QWaitCondition>

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace kvaro {

// Work on items 0..count-1 spread over the global thread pool, its results handed over in
// item order to the thread that asks for them, which may stop asking at any point.
//
// The asking thread works too: while the result it waits for is not there, it takes the
// next item nobody has begun. So the work gets done whatever the pool is busy with, and
// asking from a pool thread cannot wait for a thread that never comes. Destroying the
// object stops the work: items not begun are left, items begun are waited for, as they
// read what the caller's compute function refers to. Given a look-ahead, no item is begun
// more than that many items after the last one taken: large results do not pile up while
// the asking thread is slower than the work.
template <typename Result> class OrderedWork
{
public:
    // compute must not throw: it turns its failures into results. Pool threads help as many
    // as asked, or by default as many as the pool has beside the asking thread.
    OrderedWork(int count, std::function<Result(int)> compute, int helpers = -1, int ahead = -1)
        : m_state(std::make_shared<State>(count, std::move(compute), ahead))
    {
        QThreadPool* pool = QThreadPool::globalInstance();
        if (helpers < 0)
            helpers = std::min(pool->maxThreadCount() - 1, count - 1);
        for (int i = 0; i < helpers; ++i)
            pool->start([state = m_state] { state->help(); });
    }

    ~OrderedWork()
    {
        QMutexLocker lock(&m_state->mutex);
        m_state->stopped = true;
        m_state->changed.wakeAll();
        while (m_state->working > 0)
            m_state->changed.wait(&m_state->mutex);
    }

    OrderedWork(const OrderedWork&) = delete;
    OrderedWork& operator=(const OrderedWork&) = delete;

    // The result of item `index`, once: waits for it, working meanwhile.
    Result take(int index)
    {
        State& s = *m_state;
        for (;;) {
            {
                QMutexLocker lock(&s.mutex);
                if (s.results[index]) {
                    s.taken = std::max(s.taken, index);
                    s.changed.wakeAll();
                    return std::move(*s.results[index]);
                }
            }
            if (!s.workOnce(false)) {
                QMutexLocker lock(&s.mutex);
                while (!s.results[index])
                    s.changed.wait(&s.mutex);
            }
        }
    }

private:
    struct State {
        State(int count, std::function<Result(int)> work, int lookAhead)
            : compute(std::move(work)), results(std::size_t(std::max(count, 0))), ahead(lookAhead)
        {
        }

        // Computes the next item nobody has begun; false when there is none. A helper waits
        // while the look-ahead is used up; the asking thread does not, as it only takes on
        // the item it waits for or one before it.
        bool workOnce(bool wait)
        {
            int index = -1;
            {
                QMutexLocker lock(&mutex);
                for (;;) {
                    if (stopped || next >= int(results.size()))
                        return false;
                    if (ahead < 0 || next <= taken + ahead)
                        break;
                    if (!wait)
                        return false;
                    changed.wait(&mutex);
                }
                index = next++;
            }
            Result result = compute(index);
            QMutexLocker lock(&mutex);
            results[std::size_t(index)] = std::move(result);
            changed.wakeAll();
            return true;
        }

        // A pool thread's share: items until there are none or the work is stopped.
        void help()
        {
            {
                QMutexLocker lock(&mutex);
                if (stopped)
                    return;
                ++working;
            }
            while (!stopped && workOnce(true)) {
            }
            QMutexLocker lock(&mutex);
            --working;
            changed.wakeAll();
        }

        std::function<Result(int)> compute;
        std::vector<std::optional<Result>> results;
        const int ahead;
        int next = 0;   // the next item nobody has begun
        int taken = -1; // the last item handed over
        std::atomic<bool> stopped{false};
        int working = 0; // pool threads inside help()
        QMutex mutex;
        QWaitCondition changed;
    };

    std::shared_ptr<State> m_state;
};

} // namespace kvaro
