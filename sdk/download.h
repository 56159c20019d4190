#pragma once

#include <string>

#include "sdk/transfer_base.h"

namespace sdk { namespace cores { namespace tidewell {

// One download task made by tidewell_network_sdk (start / stop from
// transfer_base). It is given back with tidewell_network_sdk::release_download
// exactly once, never deleted by the caller.
class download : public transfer_base
{
public:
    ~download() override = default;

    // Local target path (file variants) or "" (stream variants).
    virtual std::string save_path() const = 0;
};

} } }
