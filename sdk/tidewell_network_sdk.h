#pragma once

#include <memory>
#include <string>

#include "sdk/channel_option.h"
#include "sdk/device_addr.h"
#include "sdk/down_file_info.h"
#include "sdk/download.h"
#include "sdk/download_observer.h"
#include "sdk/network_observer.h"
#include "sdk/resp_info.h"
#include "sdk/up_file_info.h"
#include "sdk/upload.h"
#include "sdk/upload_observer.h"
#include "sdk/user_info.h"

namespace sdk { namespace plugins {

class session_state;

// One session of the network library: the link to one device (or to the
// device behind an external link) plus the cloud. Speaks HTTP with libcurl
// on threads of its own; every call may come from any thread. See
// sdk/PROTOCOL.md for the wire format.
class tidewell_network_sdk
{
public:
    tidewell_network_sdk();
    // Joins the connect thread. Tasks not yet given back are stopped and freed.
    ~tidewell_network_sdk();

    tidewell_network_sdk(const tidewell_network_sdk&) = delete;
    tidewell_network_sdk& operator=(const tidewell_network_sdk&) = delete;

    // Settings (cloud URL, time-outs, log sink). Call before anything else.
    bool init(const cores::model::channel_option& option);

    // Link state changes go to observer (null: nobody). After this returns
    // the previous observer is not called any more.
    void set_observer(cores::tidewell::network_observer* observer);

    void set_user_info(const cores::model::user_info& user);

    // Forgets the current link and connects to the device at addr: probes
    // lan, mapped and remote in this order with the "ping" command, on a
    // thread of the library. The state goes to 1 (connecting), then to the
    // state of the first route that answered, or 0. Returns at once; false
    // when addr names no route at all.
    bool switch_device(const cores::model::device_addr& addr);

    // Probes the current device's routes again. While a probe runs further
    // calls are merged into it. False without a device.
    bool reconnect_device();

    // As switch_device for the device behind an external link; addr.token is
    // the link's token and is sent as X-Link-Token instead of X-Token.
    bool extlink_device(const cores::model::device_addr& addr);

    // Current link state (link_state values).
    int link_state() const;

    // Device id of the current device ("" when none).
    std::string device_id() const;

    // Device command: POST path with {"command": command, "data": body}.
    // Blocks at most timeout seconds. False when the call itself failed
    // (no link, refused, timed out, not a JSON answer); true otherwise, with
    // the answer in response (which may be null).
    bool api_req(const std::string& body, const std::string& command,
                 const std::string& path, int timeout,
                 cores::model::resp_info* response);

    // Cloud calls on the cloud URL of the channel options (path e.g.
    // "/api/v2/..."): POST of a JSON body, and GET. Same rules as api_req.
    bool http_req(const std::string& body, const std::string& path, int timeout,
                  cores::model::resp_info* response);
    bool http_get(const std::string& path, int timeout,
                  cores::model::resp_info* response);

    // Download tasks; null when no task can be made (no route to the device,
    // no target path, null observer). http_* go over the current link (the
    // local network), p2p_* over the remote route (falling back to the
    // current link when the device has none). The file variants append to
    // info.save_path, resuming from its current size; the stream variants
    // start at info.offset and hand the bytes to observer->on_data.
    cores::tidewell::download* http_download(const cores::model::down_file_info& info,
                                             cores::tidewell::download_observer* observer);
    cores::tidewell::download* p2p_download(const cores::model::down_file_info& info,
                                            cores::tidewell::download_observer* observer);
    cores::tidewell::download* http_download_stream(const cores::model::down_file_info& info,
                                                    cores::tidewell::download_observer* observer);
    cores::tidewell::download* p2p_download_stream(const cores::model::down_file_info& info,
                                                   cores::tidewell::download_observer* observer);

    // Upload tasks, routes as for downloads.
    cores::tidewell::upload* http_upload(const cores::model::up_file_info& info,
                                         cores::tidewell::upload_observer* observer);
    cores::tidewell::upload* p2p_upload(const cores::model::up_file_info& info,
                                        cores::tidewell::upload_observer* observer);

    // Give a task back: stops it (waiting for its worker) and frees it. Every
    // task is given back exactly once; null is ignored.
    void release_download(cores::tidewell::download* task);
    void release_upload(cores::tidewell::upload* task);

    // Library version text, e.g. "1.0.0".
    static std::string version();

private:
    std::shared_ptr<session_state> m_state;
};

} }
