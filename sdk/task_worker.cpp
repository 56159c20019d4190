#include "sdk/task_worker.h"

#include <exception>
#include <string>

namespace sdk { namespace cores { namespace tidewell {

bool task_worker::start(std::function<void()> run, const transfer_route& route, const char* what)
{
    if (m_started)
        return false;
    try {
        m_thread = std::thread(std::move(run));
    } catch (const std::exception& e) {
        route.write_log(3, std::string(what) + " worker not started: " + e.what());
        return false;
    }
    m_started = true;
    return true;
}

void task_worker::join()
{
    if (!m_thread.joinable())
        return;
    if (m_thread.get_id() == std::this_thread::get_id())
        m_thread.detach();
    else
        m_thread.join();
}

} } }
