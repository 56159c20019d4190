#pragma once

#include "sdk/task_interface.h"

namespace sdk { namespace cores { namespace tidewell {

// Observer of a download task: progress, the data of stream downloads and
// the final status (status_download_done on success).
class download_observer : public task_interface
{
public:
    ~download_observer() override = default;
};

} } }
