#pragma once

#include <mutex>
#include <vector>

#include "sdk/network_observer.h"

// Network-state observer for the library's session tests: keeps the states
// in the order they came.
class StateLog : public sdk::cores::tidewell::network_observer
{
public:
    void on_network_state(int state) override
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_states.push_back(state);
    }
    std::vector<int> states() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_states;
    }
    void clear()
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_states.clear();
    }
    int last() const
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_states.empty() ? -1 : m_states.back();
    }

private:
    mutable std::mutex m_mutex;
    std::vector<int> m_states;
};
