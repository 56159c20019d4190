#include "sdk/tidewell_network_sdk.h"

#include <json/value.h>

#include "sdk/download_task.h"
#include "sdk/proto.h"
#include "sdk/session_state.h"
#include "sdk/upload_task.h"

namespace sdk { namespace plugins {

namespace {

template <typename Task>
Task* track(session_state& state, Task* task)
{
    std::lock_guard<std::mutex> lock(state.tasks_mutex);
    state.tasks.insert(static_cast<cores::tidewell::transfer_base*>(task));
    return task;
}

// False when the task is not one of ours (or was given back already).
bool untrack(session_state& state, cores::tidewell::transfer_base* task)
{
    std::lock_guard<std::mutex> lock(state.tasks_mutex);
    return state.tasks.erase(task) == 1;
}

// Deletes a task the caller gives back, once; `what` names the call in the log.
void release(session_state& state, cores::tidewell::transfer_base* task, const char* what)
{
    if (!task)
        return;
    if (!untrack(state, task)) {
        state.log(3, std::string(what) + ": task unknown or given back already");
        return;
    }
    delete task;
}

// A request refused before it was sent: the caller's answer says why, the log
// says it under `what`.
bool refuse(session_state& state, cores::model::resp_info* response, int level,
            const std::string& what, const std::string& why)
{
    if (response) {
        *response = cores::model::resp_info();
        response->message = why;
        response->failure = cores::model::resp_info::fail_not_sent;
    }
    state.log(level, what + ": " + why);
    return false;
}

} // namespace

using cores::model::channel_option;
using cores::model::device_addr;
using cores::model::down_file_info;
using cores::model::resp_info;
using cores::model::up_file_info;
using cores::model::user_info;
using cores::tidewell::download;
using cores::tidewell::download_observer;
using cores::tidewell::download_task;
using cores::tidewell::transfer_route;
using cores::tidewell::upload;
using cores::tidewell::upload_observer;
using cores::tidewell::upload_task;

tidewell_network_sdk::tidewell_network_sdk()
    : m_state(std::make_shared<session_state>())
{
}

tidewell_network_sdk::~tidewell_network_sdk()
{
    set_observer(nullptr);
    // Tasks never given back: their kind is not kept, so stop them through
    // their own interface before the session goes.
    std::set<cores::tidewell::transfer_base*> left;
    {
        std::lock_guard<std::mutex> lock(m_state->tasks_mutex);
        left.swap(m_state->tasks);
    }
    if (!left.empty())
        m_state->log(2, std::to_string(left.size()) + " transfer task(s) not given back before the session ended");
    for (cores::tidewell::transfer_base* task : left) {
        cores::tidewell::task_interface* observer = task->observer();
        delete task;
        // Its holder would otherwise stop or give back a deleted task.
        if (observer)
            observer->on_released();
    }
}

bool tidewell_network_sdk::init(const channel_option& option)
{
    m_state->set_option(option);
    return true;
}

void tidewell_network_sdk::set_observer(cores::tidewell::network_observer* observer)
{
    m_state->set_observer(observer);
}

void tidewell_network_sdk::set_user_info(const user_info& user)
{
    m_state->set_user(user);
}

bool tidewell_network_sdk::switch_device(const device_addr& addr)
{
    return m_state->connect(&addr, false);
}

bool tidewell_network_sdk::reconnect_device()
{
    return m_state->connect(nullptr, false);
}

bool tidewell_network_sdk::extlink_device(const device_addr& addr)
{
    return m_state->connect(&addr, true);
}

int tidewell_network_sdk::link_state() const
{
    return m_state->state();
}

std::string tidewell_network_sdk::device_id() const
{
    return m_state->device_id();
}

bool tidewell_network_sdk::api_req(const std::string& body, const std::string& command,
                                   const std::string& path, int timeout, resp_info* response)
{
    std::string base;
    if (!m_state->current_base(base))
        return refuse(*m_state, response, 2, "api_req " + command, "device not connected");
    Json::Value data(Json::objectValue);
    if (!body.empty() && (!cores::protocol::proto::json_from_string(body, data) || !data.isObject()))
        return refuse(*m_state, response, 3, "api_req " + command, "request body is not a JSON object");
    Json::Value envelope(Json::objectValue);
    envelope["command"] = command;
    envelope["data"] = data;
    const std::string text = cores::protocol::proto::json_to_string(envelope);
    std::vector<std::string> headers = m_state->device_headers();
    headers.push_back("Content-Type: application/json");
    const std::string url = base + (path.empty() || path[0] != '/' ? "/" : "") + path;
    return m_state->request(url, headers, &text, timeout * 1000, response);
}

bool tidewell_network_sdk::http_req(const std::string& body, const std::string& path, int timeout,
                                    resp_info* response)
{
    const std::string cloud = m_state->cloud_url();
    if (cloud.empty())
        return refuse(*m_state, response, 3, "http_req " + path, "no cloud URL set");
    std::vector<std::string> headers = m_state->cloud_headers();
    headers.push_back("Content-Type: application/json");
    const std::string text = body.empty() ? std::string("{}") : body;
    return m_state->request(cloud + path, headers, &text, timeout * 1000, response);
}

bool tidewell_network_sdk::http_get(const std::string& path, int timeout, resp_info* response)
{
    const std::string cloud = m_state->cloud_url();
    if (cloud.empty())
        return refuse(*m_state, response, 3, "http_get " + path, "no cloud URL set");
    return m_state->request(cloud + path, m_state->cloud_headers(), nullptr, timeout * 1000, response);
}

namespace {

download* make_download(session_state& state, const down_file_info& info,
                        download_observer* observer, bool remote, bool stream)
{
    if (!observer) {
        state.log(3, "download refused: no observer");
        return nullptr;
    }
    if (!stream && info.save_path.empty()) {
        state.log(3, "download refused: no target path");
        return nullptr;
    }
    transfer_route route;
    if (info.type == down_file_info::kind_url) {
        if (info.url.empty()) {
            state.log(3, "download refused: empty URL");
            return nullptr;
        }
        route = state.plain_route();
    } else if (info.type == down_file_info::kind_device_file
               || info.type == down_file_info::kind_disk_file) {
        if (!state.route(remote, route)) {
            state.log(2, "download refused: device not reachable");
            return nullptr;
        }
    } else {
        state.log(3, "download refused: unknown kind " + std::to_string(info.type));
        return nullptr;
    }
    return track(state, new download_task(info, observer, route, stream));
}

upload* make_upload(session_state& state, const up_file_info& info, upload_observer* observer,
                    bool remote)
{
    if (!observer || info.file_path.empty()) {
        state.log(3, "upload refused: no observer or no file");
        return nullptr;
    }
    transfer_route route;
    if (!state.route(remote, route)) {
        state.log(2, "upload refused: device not reachable");
        return nullptr;
    }
    return track(state, new upload_task(info, observer, route));
}

} // namespace

download* tidewell_network_sdk::http_download(const down_file_info& info, download_observer* observer)
{
    return make_download(*m_state, info, observer, false, false);
}

download* tidewell_network_sdk::p2p_download(const down_file_info& info, download_observer* observer)
{
    return make_download(*m_state, info, observer, true, false);
}

download* tidewell_network_sdk::http_download_stream(const down_file_info& info,
                                                     download_observer* observer)
{
    return make_download(*m_state, info, observer, false, true);
}

download* tidewell_network_sdk::p2p_download_stream(const down_file_info& info,
                                                    download_observer* observer)
{
    return make_download(*m_state, info, observer, true, true);
}

upload* tidewell_network_sdk::http_upload(const up_file_info& info, upload_observer* observer)
{
    return make_upload(*m_state, info, observer, false);
}

upload* tidewell_network_sdk::p2p_upload(const up_file_info& info, upload_observer* observer)
{
    return make_upload(*m_state, info, observer, true);
}

void tidewell_network_sdk::release_download(download* task)
{
    release(*m_state, task, "release_download");
}

void tidewell_network_sdk::release_upload(upload* task)
{
    release(*m_state, task, "release_upload");
}

std::string tidewell_network_sdk::version()
{
    return "1.0.0";
}

} }
