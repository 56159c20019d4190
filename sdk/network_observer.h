#pragma once

namespace sdk { namespace cores { namespace tidewell {

// Link states of a library instance.
enum link_state : int {
    link_offline = 0,
    link_connecting = 1,
    link_lan = 2,           // local network
    link_lan_mapped = 3,    // local network by port mapping
    link_remote = 4,        // across the internet
};

// Told about link state changes; called on a library thread, never from
// inside a call into the library.
class network_observer
{
public:
    virtual ~network_observer() = default;
    virtual void on_network_state(int state) = 0;
};

} } }
