#include "sdk/session_state.h"

#include <cstdio>

#include <json/value.h>

#include "sdk/curl_request.h"
#include "sdk/proto.h"

namespace sdk { namespace plugins {

namespace {

std::string base_url(const std::string& host, int port)
{
    if (host.empty() || port <= 0 || port > 65535)
        return std::string();
    const bool v6 = host.find(':') != std::string::npos && host.front() != '[';
    return "http://" + (v6 ? "[" + host + "]" : host) + ":" + std::to_string(port);
}

// What a failed transfer means to the caller: the device went quiet, could
// not be reached, or closed the connection before its answer was whole.
int transport_failure(CURLcode rc)
{
    using info = cores::model::resp_info;
    switch (rc) {
    case CURLE_OPERATION_TIMEDOUT:
        return info::fail_timeout;
    case CURLE_GOT_NOTHING:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_PARTIAL_FILE:
        return info::fail_closed;
    default:
        return info::fail_unreachable;
    }
}

size_t collect(char* data, size_t size, size_t count, void* self)
{
    auto* out = static_cast<std::string*>(self);
    constexpr std::size_t kMax = 64 * 1024 * 1024;   // no answer is that big
    const size_t n = size * count;
    if (out->size() + n > kMax)
        return 0;
    out->append(data, n);
    return n;
}

} // namespace

session_state::session_state()
{
    cores::tidewell::curl_request::global_init();
}

session_state::~session_state()
{
    m_closing.store(true);
    std::thread probe;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        probe = std::move(m_probe);
    }
    if (probe.joinable())
        probe.join();
    std::lock_guard<std::mutex> lock(m_pool_mutex);
    for (CURL* easy : m_pool)
        curl_easy_cleanup(easy);
    m_pool.clear();
}

void session_state::log(int level, const std::string& line) const
{
    std::function<void(int, const std::string&)> sink;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        sink = m_option.log;
    }
    if (sink)
        sink(level, line);
    else if (level >= 2)
        std::fprintf(stderr, "tidewell_network_sdk: %s\n", line.c_str());
}

void session_state::set_option(const cores::model::channel_option& option)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_option = option;
    while (!m_option.cloud_url.empty() && m_option.cloud_url.back() == '/')
        m_option.cloud_url.pop_back();
}

void session_state::set_user(const cores::model::user_info& user)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_user = user;
}

void session_state::set_observer(cores::tidewell::network_observer* observer)
{
    std::lock_guard<std::recursive_mutex> lock(m_observer_mutex);
    m_observer = observer;
}

std::string session_state::device_id() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_has_device ? m_addr.device_id : std::string();
}

std::string session_state::cloud_url() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_option.cloud_url;
}

std::vector<std::string> session_state::device_headers_locked() const
{
    std::vector<std::string> h;
    h.push_back((m_extlink ? "X-Link-Token: " : "X-Token: ") + m_addr.token);
    h.push_back("X-Access-Id: " + m_user.access_id);
    h.push_back("X-Device-Id: " + m_addr.device_id);
    h.push_back("X-Client-Type: " + m_option.client_type);
    if (!m_option.app_version.empty())
        h.push_back("X-App-Version: " + m_option.app_version);
    return h;
}

std::vector<std::string> session_state::device_headers() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return device_headers_locked();
}

std::vector<std::string> session_state::cloud_headers() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> h;
    h.push_back("X-Access-Id: " + m_user.access_id);
    h.push_back("X-Client-Type: " + m_option.client_type);
    if (!m_option.app_version.empty())
        h.push_back("X-App-Version: " + m_option.app_version);
    if (!m_user.cookie.empty())
        h.push_back("Cookie: " + m_user.cookie);
    return h;
}

bool session_state::current_base(std::string& base) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_state.load() < cores::tidewell::link_lan || m_base.empty())
        return false;
    base = m_base;
    return true;
}

cores::tidewell::transfer_route session_state::plain_route() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    cores::tidewell::transfer_route r;
    r.connect_timeout_ms = m_option.connect_timeout_ms;
    r.stall_timeout_s = m_option.stall_timeout_s;
    r.log = m_option.log;
    r.pool = m_transfer_pool;
    return r;
}

bool session_state::route(bool remote, cores::tidewell::transfer_route& out) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_has_device)
        return false;
    const bool linked = m_state.load() >= cores::tidewell::link_lan && !m_base.empty();
    std::string base;
    if (remote) {
        base = base_url(m_addr.remote_host, m_addr.remote_port);
        if (base.empty() && linked)
            base = m_base;
    } else {
        base = linked ? m_base : base_url(m_addr.lan_host, m_addr.lan_port);
    }
    if (base.empty())
        return false;
    out.base_url = base;
    out.headers = device_headers_locked();
    out.connect_timeout_ms = m_option.connect_timeout_ms;
    out.stall_timeout_s = m_option.stall_timeout_s;
    out.log = m_option.log;
    out.pool = m_transfer_pool;
    return true;
}

bool session_state::connect(const cores::model::device_addr* addr, bool extlink)
{
    std::thread finished;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (addr) {
            if (base_url(addr->lan_host, addr->lan_port).empty()
                && base_url(addr->map_host, addr->map_port).empty()
                && base_url(addr->remote_host, addr->remote_port).empty())
                return false;
            m_addr = *addr;
            m_extlink = extlink;
            m_has_device = true;
            m_base.clear();
            ++m_generation;
            m_probe_again = true;
        } else {
            if (!m_has_device)
                return false;
            if (m_probe_running)
                return true;   // merged into the running probe
            m_probe_again = true;
        }
        if (!m_probe_running) {
            finished = std::move(m_probe);
            m_probe_running = true;
            m_probe = std::thread([this] { probe_loop(); });
        }
    }
    if (finished.joinable())
        finished.join();
    return true;
}

void session_state::probe_loop()
{
    for (;;) {
        cores::model::device_addr addr;
        std::vector<std::string> headers;
        std::uint64_t generation = 0;
        int timeout_ms = 3000;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (!m_probe_again || m_closing.load()) {
                m_probe_running = false;
                return;
            }
            m_probe_again = false;
            addr = m_addr;
            headers = device_headers_locked();
            generation = m_generation;
            timeout_ms = m_option.probe_timeout_ms > 0 ? m_option.probe_timeout_ms : 3000;
            m_base.clear();
        }
        change_state(cores::tidewell::link_connecting, std::string());

        const std::pair<std::string, int> routes[] = {
            {base_url(addr.lan_host, addr.lan_port), cores::tidewell::link_lan},
            {base_url(addr.map_host, addr.map_port), cores::tidewell::link_lan_mapped},
            {base_url(addr.remote_host, addr.remote_port), cores::tidewell::link_remote},
        };
        int found = cores::tidewell::link_offline;
        std::string found_base;
        for (const auto& r : routes) {
            if (r.first.empty())
                continue;
            if (m_closing.load())
                break;
            if (ping(r.first, headers, timeout_ms)) {
                found = r.second;
                found_base = r.first;
                break;
            }
            log(1, "device not reached at " + r.first);
        }
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_closing.load()) {
                m_probe_running = false;
                return;
            }
            if (generation != m_generation || m_probe_again)
                continue;   // addresses changed meanwhile: probe again
        }
        change_state(found, found_base);
    }
}

bool session_state::ping(const std::string& base, const std::vector<std::string>& headers,
                         int timeout_ms)
{
    std::vector<std::string> h = headers;
    h.push_back("Content-Type: application/json");
    const std::string body = "{\"command\":\"ping\",\"data\":{}}";
    cores::model::resp_info resp;
    return request(base + "/device/directTransfer.json", h, &body, timeout_ms, &resp)
        && resp.code == 1;
}

void session_state::change_state(int state, const std::string& base)
{
    int old;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_base = base;
        old = m_state.exchange(state);
    }
    if (old == state || m_closing.load())
        return;
    log(1, "link state " + std::to_string(old) + " -> " + std::to_string(state)
               + (base.empty() ? std::string() : " via " + base));
    std::lock_guard<std::recursive_mutex> lock(m_observer_mutex);
    if (m_observer)
        m_observer->on_network_state(state);
}

CURL* session_state::take_handle()
{
    {
        std::lock_guard<std::mutex> lock(m_pool_mutex);
        if (!m_pool.empty()) {
            CURL* easy = m_pool.back();
            m_pool.pop_back();
            return easy;
        }
    }
    return curl_easy_init();
}

void session_state::give_handle(CURL* easy)
{
    if (!easy)
        return;
    std::lock_guard<std::mutex> lock(m_pool_mutex);
    if (m_pool.size() < 8)
        m_pool.push_back(easy);
    else
        curl_easy_cleanup(easy);
}

bool session_state::request(const std::string& url, const std::vector<std::string>& headers,
                            const std::string* post_body, int timeout_ms,
                            cores::model::resp_info* response)
{
    cores::model::resp_info local;
    cores::model::resp_info& out = response ? *response : local;
    out = cores::model::resp_info();

    CURL* easy = take_handle();
    if (!easy) {
        out.message = "cannot make a connection handle";
        out.failure = cores::model::resp_info::fail_not_sent;
        return false;
    }
    curl_easy_reset(easy);
    curl_slist* list = nullptr;
    for (const std::string& h : headers)
        list = curl_slist_append(list, h.c_str());
    list = curl_slist_append(list, "Expect:");
    std::string answer;
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_URL, url.c_str());
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, list);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(timeout_ms > 0 ? timeout_ms : 1));
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(timeout_ms > 0 ? timeout_ms : 1));
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &answer);
    if (post_body) {
        curl_easy_setopt(easy, CURLOPT_POSTFIELDS, post_body->c_str());
        curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(post_body->size()));
    } else {
        curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    }
    const CURLcode rc = curl_easy_perform(easy);
    long http = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &http);
    curl_easy_setopt(easy, CURLOPT_HTTPHEADER, nullptr);
    curl_slist_free_all(list);
    give_handle(easy);

    out.http_status = http;
    if (rc != CURLE_OK) {
        out.body = std::move(answer);
        out.message = curl_easy_strerror(rc);
        out.failure = transport_failure(rc);
        log(2, "request " + url + " failed: " + out.message);
        return false;
    }
    auto parsed = std::make_shared<Json::Value>();
    const bool json = cores::protocol::proto::json_from_string(answer, *parsed) && parsed->isObject();
    // Read only: a look-up on a non-const value would add the key.
    const Json::Value& root = *parsed;
    out.body = std::move(answer);
    if (json) {
        out.json = parsed;
        if (root["message"].isString()) {
            out.message = root["message"].asString();
            out.device_message = !out.message.empty();
        }
        if (root["errCode"].isIntegral())
            out.err_code = root["errCode"].asInt();
    }
    if (http != 200) {
        if (out.message.empty())
            out.message = "HTTP " + std::to_string(http);
        out.failure = cores::model::resp_info::fail_status;
        log(2, "request " + url + " answered HTTP " + std::to_string(http));
        return false;
    }
    if (!json) {
        out.message = "answer is not a JSON object";
        out.failure = cores::model::resp_info::fail_unreadable;
        log(2, "request " + url + ": " + out.message);
        return false;
    }
    if (root["result"].isIntegral()) {
        out.code = root["result"].asInt();
    } else if (root["code"].isIntegral()) {
        out.code = root["code"].asInt();
    } else {
        out.code = -1;
        out.message = "answer without result";
        out.device_message = false;
        out.failure = cores::model::resp_info::fail_unreadable;
        log(2, "request " + url + ": " + out.message);
        return false;
    }
    return true;
}

} }
