#include "sdk/task_worker.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <string>
#include <thread>

namespace sdk { namespace cores { namespace tidewell {

namespace {

// Threads that ran a transfer wait a while for the next one: a new thread per
// small file costs more than the file, most of all on a busy machine, where a
// new thread waits longer for a processor than a woken one. Only a few wait,
// and not for long: a burst of transfers (a player seeking) must not leave a
// thread of its own behind for every one of them.
class worker_pool
{
public:
    static constexpr int kMaxIdle = 4;
    static constexpr std::chrono::seconds kIdleFor{10};

    // Throws when a needed thread cannot be made.
    void submit(std::function<void()> job)
    {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_idle > 0) {
                --m_idle;   // that thread is taken by this job
                m_jobs.push_back(std::move(job));
                m_cv.notify_one();
                return;
            }
        }
        std::thread([this, first = std::move(job)]() mutable {
            first();
            first = nullptr;
            serve();
        }).detach();
    }

private:
    void serve()
    {
        for (;;) {
            std::function<void()> job;
            {
                std::unique_lock<std::mutex> lock(m_mutex);
                if (m_idle >= kMaxIdle)
                    return;
                ++m_idle;
                if (!m_cv.wait_for(lock, kIdleFor, [this] { return !m_jobs.empty(); })) {
                    --m_idle;
                    return;
                }
                job = std::move(m_jobs.front());
                m_jobs.pop_front();
            }
            job();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_cv;
    std::deque<std::function<void()>> m_jobs;
    int m_idle = 0;
};

// Never destroyed: idle threads may still wait on it while the process ends.
worker_pool& pool()
{
    static worker_pool* p = new worker_pool;
    return *p;
}

} // namespace

struct task_worker::run_state
{
    std::mutex mutex;
    std::condition_variable cv;
    bool done = false;
    std::thread::id runner;
};

bool task_worker::start(std::function<void()> run, const transfer_route& route, const char* what)
{
    if (m_started)
        return false;
    auto state = std::make_shared<run_state>();
    // Set before the run can begin: a callback of the run may stop its own
    // task, and join() reads it then.
    m_state = state;
    m_started = true;
    try {
        pool().submit([state, run = std::move(run)] {
            {
                std::lock_guard<std::mutex> lock(state->mutex);
                state->runner = std::this_thread::get_id();
            }
            run();
            std::lock_guard<std::mutex> lock(state->mutex);
            state->done = true;
            state->cv.notify_all();
        });
    } catch (const std::exception& e) {
        route.write_log(3, std::string(what) + " worker not started: " + e.what());
        m_state.reset();
        m_started = false;
        return false;
    }
    return true;
}

void task_worker::join()
{
    if (!m_state)
        return;
    std::unique_lock<std::mutex> lock(m_state->mutex);
    if (m_state->runner == std::this_thread::get_id())
        return;
    m_state->cv.wait(lock, [this] { return m_state->done; });
}

} } }
