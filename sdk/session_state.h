#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include <curl/curl.h>

#include "sdk/channel_option.h"
#include "sdk/device_addr.h"
#include "sdk/network_observer.h"
#include "sdk/resp_info.h"
#include "sdk/transfer_base.h"
#include "sdk/curl_pool.h"
#include "sdk/transfer_route.h"
#include "sdk/user_info.h"

namespace sdk { namespace plugins {

// The inner state of one tidewell_network_sdk: settings, the device's
// addresses, the link state with its connect thread, and a pool of curl
// handles for blocking requests so that connections are reused.
class session_state
{
public:
    session_state();
    ~session_state();

    void set_option(const cores::model::channel_option& option);
    void set_user(const cores::model::user_info& user);
    void set_observer(cores::tidewell::network_observer* observer);

    // Starts (or merges into) a probe of the addresses. force: new
    // addresses, so a running probe has to start over.
    bool connect(const cores::model::device_addr* addr, bool extlink);

    int state() const { return m_state.load(); }
    std::string device_id() const;

    // Route for a transfer: remote=false the current link (else the local
    // address), remote=true the remote address (else the current link).
    // False when the device cannot be reached that way.
    bool route(bool remote, cores::tidewell::transfer_route& out) const;
    // Settings-only route for plain URLs.
    cores::tidewell::transfer_route plain_route() const;

    // Blocking JSON request on url; rules of api_req.
    bool request(const std::string& url, const std::vector<std::string>& headers,
                 const std::string* post_body, int timeout_ms,
                 cores::model::resp_info* response);

    bool current_base(std::string& base) const;
    std::vector<std::string> device_headers() const;
    std::vector<std::string> cloud_headers() const;
    std::string cloud_url() const;

    void log(int level, const std::string& line) const;

    // Tasks made and not yet given back, so a double release is caught and
    // the session can free what was never given back.
    std::mutex tasks_mutex;
    std::set<cores::tidewell::transfer_base*> tasks;

private:
    void probe_loop();
    bool ping(const std::string& base, const std::vector<std::string>& headers, int timeout_ms);
    void change_state(int state, const std::string& base);
    std::vector<std::string> device_headers_locked() const;

    CURL* take_handle();
    void give_handle(CURL* easy);

    mutable std::mutex m_mutex;
    cores::model::channel_option m_option;
    cores::model::user_info m_user;
    cores::model::device_addr m_addr;
    bool m_has_device = false;
    bool m_extlink = false;
    std::string m_base;             // base URL of the current link
    std::atomic<int> m_state{0};
    std::uint64_t m_generation = 0;

    std::thread m_probe;
    bool m_probe_running = false;
    bool m_probe_again = false;
    std::atomic<bool> m_closing{false};

    std::recursive_mutex m_observer_mutex;
    cores::tidewell::network_observer* m_observer = nullptr;

    std::mutex m_pool_mutex;
    std::vector<CURL*> m_pool;
    // Kept connections of the transfer tasks; tasks hold it beyond the session.
    std::shared_ptr<cores::tidewell::curl_pool> m_transfer_pool =
        std::make_shared<cores::tidewell::curl_pool>();
};

} }
