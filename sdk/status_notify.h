#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

#include <sched.h>

namespace sdk { namespace cores { namespace utils {

// One-value notification between threads: notify() stores a status and wakes
// the waiter; wait() takes the stored status, or gives 1 (time-out) when
// none arrives in time. T converts to int.
template <typename T>
class status_notify
{
public:
    virtual ~status_notify() = default;

    void notify(T status)
    {
        // The same status not taken yet: the waiter is woken already, and a
        // transfer notifying for every chunk needs neither the lock nor a
        // yield for each. What the caller changed before this call is seen
        // by the waiter: it takes the status only after this check.
        if (m_posted.load() == posted(status))
            return;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_status = status;
            m_set = true;
            m_posted = posted(status);
        }
        m_cond.notify_all();
        // The scheduler tends to put the woken waiter on this thread's
        // processor, and a transfer goes on receiving for as long as bytes
        // come: without giving way it waited out the whole burst.
        sched_yield();
    }

    T wait(int timeout_ms)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_cond.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                             [this] { return m_set; }))
            return static_cast<T>(1);
        m_set = false;
        m_posted = 0;
        return m_status;
    }

    void reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_set = false;
        m_posted = 0;
    }

private:
    static long long posted(T status) { return static_cast<long long>(status) + 1; }

    std::mutex m_mutex;
    std::condition_variable m_cond;
    T m_status{};
    bool m_set = false;
    // posted(m_status) while it waits to be taken, else 0.
    std::atomic<long long> m_posted{0};
};

} } }
