#pragma once

#include "sdk/task_interface.h"

namespace sdk { namespace cores { namespace tidewell {

// Observer of an upload task: progress, the device's task id and the final
// status (status_upload_done on success).
class upload_observer : public task_interface
{
public:
    ~upload_observer() override = default;
};

} } }
