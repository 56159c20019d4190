#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace sdk { namespace cores { namespace tidewell {

// Final status codes handed to on_status. Any status other than the two
// "done" codes is a failure.
enum task_status : int {
    status_upload_done = 100300,
    status_upload_failed = 100301,
    status_download_done = 100310,
    status_download_failed = 100311,
};

// Error codes of a failed transfer (the err_code of on_status): an HTTP status
// of the device (404 missing file, 500 ...), the device's own error code for a
// refused upload, or one of these for failures of the transfer itself.
enum task_error : int {
    error_none = 0,
    error_network = -1,      // refused, cut or timed out connection
    error_local_file = -2,   // the local file could not be opened, read or written
    error_bad_answer = -3,   // the device answered something unreadable
    error_aborted = -4,      // the data callback asked to stop
    error_stalled = -5,      // no byte came for the stall time-out
};

// Callbacks of one transfer task. They arrive on the task's own worker
// thread, never from inside start(), stop() or release; after stop() or the
// release of the task returns, no callback reaches the observer any more.
class task_interface
{
public:
    virtual ~task_interface() = default;

    // total: size of the whole file (0 when unknown); done: bytes held so far,
    // counting what was already there before a resume. Reported repeatedly
    // (about every 100 ms) and always once with the final figure.
    virtual void on_progress(std::int64_t total, std::int64_t done) = 0;

    // Stream downloads only: the next bytes, in order. Answer 0 to go on;
    // anything else ends the transfer with a failure (error_aborted).
    virtual int on_data(const char* data, std::size_t length)
    {
        (void)data;
        (void)length;
        return 0;
    }

    // Uploads only: the task id the device gave the upload. Passing it back in
    // up_file_info::task_id on a later attempt continues that upload.
    virtual void on_task(const std::string& task_id) { (void)task_id; }

    // Uploads only, before the final status: the name the device stored the
    // file under (another than the one sent when that one was taken).
    virtual void on_stored(const std::string& name) { (void)name; }

    // Exactly once per started task unless it was stopped first.
    // status: see task_status; text: a short description for the log;
    // err_code: see task_error (0 on success).
    virtual void on_status(int status, const std::string& text, int err_code) = 0;

    // The session ended with the task never given back, and deleted it: the
    // task must not be used or given back any more. On the thread that ends
    // the session, after the task's last callback.
    virtual void on_released() {}
};

} } }
