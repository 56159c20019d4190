#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "sdk/task_interface.h"

// Observer for the library's transfer tests: keeps every callback it gets,
// from whatever thread, for the test thread to look at.
template <typename Observer>
class Recorder : public Observer
{
public:
    struct Status
    {
        int status;
        std::string text;
        int errCode;
    };

    void on_progress(std::int64_t total, std::int64_t done) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_progress.emplace_back(total, done);
        ++m_calls;
    }

    int on_data(const char* data, std::size_t length) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_data.append(data, length);
        ++m_calls;
        return 0;
    }

    void on_task(const std::string& taskId) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_taskIds.push_back(taskId);
        ++m_calls;
    }

    void on_status(int status, const std::string& text, int errCode) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_statuses.push_back(Status{status, text, errCode});
        ++m_calls;
    }

    int calls() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_calls;
    }
    int statusCount() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return static_cast<int>(m_statuses.size());
    }
    Status lastStatus() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_statuses.empty() ? Status{0, std::string(), 0} : m_statuses.back();
    }
    std::vector<std::pair<std::int64_t, std::int64_t>> progress() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_progress;
    }
    std::string data() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_data;
    }
    std::vector<std::string> taskIds() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_taskIds;
    }

private:
    mutable std::mutex m_mutex;
    int m_calls = 0;
    std::vector<std::pair<std::int64_t, std::int64_t>> m_progress;
    std::string m_data;
    std::vector<std::string> m_taskIds;
    std::vector<Status> m_statuses;
};
