#pragma once

#include <functional>
#include <memory>

#include "sdk/transfer_route.h"

namespace sdk { namespace cores { namespace tidewell {

// The worker of one transfer task: runs at most once, on a thread kept by
// the process for transfer work (a new one when none is idle), and is waited
// for on stop (not when the stop comes from the worker's own callback).
class task_worker
{
public:
    // False when started before or no thread could be made (logged through
    // the route as "<what> worker not started").
    bool start(std::function<void()> run, const transfer_route& route, const char* what);

    // Waits until the run has ended; from the worker itself it returns at
    // once, and the run ends by itself.
    void join();

private:
    struct run_state;
    std::shared_ptr<run_state> m_state;
    bool m_started = false;
};

} } }
