#pragma once

namespace sdk { namespace cores { namespace tidewell {

class task_interface;

// What download and upload tasks share: start on a worker thread of the
// task's own, stop and wait for that worker.
class transfer_base
{
public:
    virtual ~transfer_base() = default;

    // Starts the transfer; false when it could not start (already started,
    // worker not created), and then no callback follows. Never calls the
    // observer itself.
    virtual bool start() = 0;

    // Stops the transfer and waits until the worker has stopped calling the
    // observer. No final status follows a stop. Safe to call more than once.
    virtual void stop() = 0;

    // Whom the task reports to.
    virtual task_interface* observer() const = 0;
};

} } }
