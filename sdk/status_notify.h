#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace sdk { namespace cores { namespace utils {

// One-value notification between threads: notify() stores a status and wakes
// the waiter; wait() takes the stored status, or gives 1 (time-out) when
// none arrives in time.
template <typename T>
class status_notify
{
public:
    virtual ~status_notify() = default;

    void notify(T status)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_status = status;
            m_set = true;
        }
        m_cond.notify_all();
    }

    T wait(int timeout_ms)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        if (!m_cond.wait_for(lock, std::chrono::milliseconds(timeout_ms),
                             [this] { return m_set; }))
            return static_cast<T>(1);
        m_set = false;
        return m_status;
    }

    void reset()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_set = false;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_cond;
    T m_status{};
    bool m_set = false;
};

} } }
