#pragma once

namespace sdk { namespace cores { namespace utils {

// Values of a status_notify<status_nf>.
enum status_nf : int {
    nf_none = 0,
    nf_timeout = 1,     // what wait() gives when nothing was notified in time
    nf_ready = 2,
    nf_data = 3,
    nf_stopped = 4,
    nf_error = 5,
    nf_finished = 6,
};

} } }
