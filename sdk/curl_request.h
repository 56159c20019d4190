#pragma once

#include <atomic>
#include <string>
#include <vector>

#include <curl/curl.h>

namespace sdk { namespace cores { namespace tidewell {

// One libcurl transfer that another thread can interrupt at once: the easy
// handle runs in a multi handle of its own, so stop() wakes the poll instead
// of waiting for curl's next progress call.
class curl_request
{
public:
    curl_request();
    ~curl_request();

    curl_request(const curl_request&) = delete;
    curl_request& operator=(const curl_request&) = delete;

    CURL* easy() const { return m_easy; }

    // Clears every option of the last transfer and sets what each task
    // transfer shares: the URL, the connect timeout and the stall limit (a
    // transfer that moves no byte for that long, counted from the last byte
    // either way, ends with CURLE_OPERATION_TIMEDOUT).
    void reset(const std::string& url, int connect_timeout_ms, int stall_timeout_s);

    // Percent-encodes one query value.
    std::string escape(const std::string& text) const;

    // Replaces the request headers (each "Name: value").
    void set_headers(const std::vector<std::string>& headers);

    // Runs the transfer until it ends or stop() is called (then
    // CURLE_ABORTED_BY_CALLBACK).
    CURLcode perform();

    // Thread-safe; may come before or during perform().
    void stop();
    bool stopped() const { return m_stop.load(); }
    // The last perform() ended because no byte moved for the stall limit.
    bool stalled() const { return m_stalled; }
    int stall_limit_ms() const { return m_stall_ms; }
    // Ready for the next transfer after a stop (the connection cache stays).
    void rearm() { m_stop.store(false); }

    // Makes curl_global_init run once per process.
    static void global_init();

private:
    CURL* m_easy = nullptr;
    CURLM* m_multi = nullptr;
    curl_slist* m_headers = nullptr;
    std::atomic<bool> m_stop{false};
    int m_stall_ms = 0;
    bool m_stalled = false;
};

} } }
