#include "sdk/curl_request.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace sdk { namespace cores { namespace tidewell {

void curl_request::global_init()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

curl_request::curl_request()
{
    global_init();
    m_easy = curl_easy_init();
    m_multi = curl_multi_init();
    if (m_easy)
        curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
}

curl_request::~curl_request()
{
    if (m_multi)
        curl_multi_cleanup(m_multi);
    if (m_easy)
        curl_easy_cleanup(m_easy);
    if (m_headers)
        curl_slist_free_all(m_headers);
}

void curl_request::set_headers(const std::vector<std::string>& headers)
{
    if (m_headers) {
        curl_slist_free_all(m_headers);
        m_headers = nullptr;
    }
    for (const std::string& h : headers)
        m_headers = curl_slist_append(m_headers, h.c_str());
    curl_easy_setopt(m_easy, CURLOPT_HTTPHEADER, m_headers);
}

void curl_request::reset(const std::string& url, int connect_timeout_ms, int stall_timeout_s)
{
    curl_easy_reset(m_easy);
    curl_easy_setopt(m_easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(m_easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(m_easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connect_timeout_ms));
    // curl's own low-speed check averages over a window, which notices a
    // stall several seconds late; the stall is timed here instead.
    m_stall_ms = stall_timeout_s > 0 ? stall_timeout_s * 1000 : 0;
}

namespace {
// Bytes moved so far either way, headers included.
curl_off_t moved(CURL* easy)
{
    curl_off_t down = 0;
    curl_off_t up = 0;
    long headers = 0;
    curl_easy_getinfo(easy, CURLINFO_SIZE_DOWNLOAD_T, &down);
    curl_easy_getinfo(easy, CURLINFO_SIZE_UPLOAD_T, &up);
    curl_easy_getinfo(easy, CURLINFO_HEADER_SIZE, &headers);
    return down + up + headers;
}
}

std::string curl_request::escape(const std::string& text) const
{
    char* out = curl_easy_escape(m_easy, text.c_str(), static_cast<int>(text.size()));
    std::string result = out ? out : "";
    curl_free(out);
    return result;
}

CURLcode curl_request::perform()
{
    if (!m_easy || !m_multi)
        return CURLE_FAILED_INIT;
    if (m_stop.load())
        return CURLE_ABORTED_BY_CALLBACK;
    if (curl_multi_add_handle(m_multi, m_easy) != CURLM_OK)
        return CURLE_FAILED_INIT;

    m_stalled = false;
    using clock = std::chrono::steady_clock;
    auto last_byte = clock::now();
    curl_off_t seen = 0;
    CURLcode result = CURLE_OK;
    bool finished = false;
    while (!finished) {
        if (m_stop.load()) {
            result = CURLE_ABORTED_BY_CALLBACK;
            break;
        }
        int running = 0;
        CURLMcode mc = curl_multi_perform(m_multi, &running);
        if (mc != CURLM_OK) {
            result = CURLE_RECV_ERROR;
            break;
        }
        int queued = 0;
        while (CURLMsg* msg = curl_multi_info_read(m_multi, &queued)) {
            if (msg->msg == CURLMSG_DONE && msg->easy_handle == m_easy) {
                result = msg->data.result;
                finished = true;
            }
        }
        if (finished || running == 0) {
            finished = true;
            break;
        }
        const auto now = clock::now();
        const curl_off_t bytes = moved(m_easy);
        if (bytes != seen) {
            seen = bytes;
            last_byte = now;
        }
        int wait_ms = 1000;
        if (m_stall_ms > 0) {
            const auto quiet =
                std::chrono::duration_cast<std::chrono::milliseconds>(now - last_byte).count();
            if (quiet >= m_stall_ms) {
                m_stalled = true;
                result = CURLE_OPERATION_TIMEDOUT;
                break;
            }
            wait_ms = static_cast<int>(std::min<long long>(wait_ms, m_stall_ms - quiet + 1));
        }
        if (curl_multi_poll(m_multi, nullptr, 0, wait_ms, nullptr) != CURLM_OK) {
            result = CURLE_RECV_ERROR;
            break;
        }
    }
    curl_multi_remove_handle(m_multi, m_easy);
    return result;
}

void curl_request::stop()
{
    m_stop.store(true);
    if (m_multi)
        curl_multi_wakeup(m_multi);
}

} } }
