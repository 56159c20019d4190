#pragma once

#include <string>

#include "sdk/transfer_base.h"

namespace sdk { namespace cores { namespace tidewell {

// One upload task made by tidewell_network_sdk (start / stop from
// transfer_base), given back with tidewell_network_sdk::release_upload
// exactly once.
class upload : public transfer_base
{
public:
    ~upload() override = default;

    // The device's task id once the device gave one, else "".
    virtual std::string task_id() const = 0;
};

} } }
