#pragma once

#include <cstdint>
#include <string>

#include "sdk/task_interface.h"

namespace sdk { namespace cores { namespace tidewell {

// What a download answer says of the file it carries, as the device's
// listing gives it: its MD5 ("" when the device gives none), its size and
// its time of change (ms since the epoch); 0 where unknown.
struct source_info
{
    std::string md5;
    std::int64_t size = 0;
    std::int64_t modified_ms = 0;
};

// Observer of a download task: progress, the data of stream downloads and
// the final status (status_download_done on success).
class download_observer : public task_interface
{
public:
    ~download_observer() override = default;

    // Downloads into a file only: once per answer, before any of its bytes
    // is written. resumed: the answer continues bytes the target already
    // held. Answering false drops those bytes and fetches the file from its
    // first byte (no second call for that answer is made unless it is
    // itself resumed).
    virtual bool on_source(const source_info& source, bool resumed)
    {
        (void)source;
        (void)resumed;
        return true;
    }
};

} } }
