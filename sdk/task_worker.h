#pragma once

#include <functional>
#include <thread>

#include "sdk/transfer_route.h"

namespace sdk { namespace cores { namespace tidewell {

// The worker thread of one transfer task: started at most once, joined on
// stop (or let go when the stop comes from the worker's own callback).
class task_worker
{
public:
    // False when started before or the thread could not be made (logged
    // through the route as "<what> worker not started").
    bool start(std::function<void()> run, const transfer_route& route, const char* what);

    // Waits for the worker; from the worker itself it detaches instead, and
    // the worker ends by itself.
    void join();

private:
    std::thread m_thread;
    bool m_started = false;
};

} } }
