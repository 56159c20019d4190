#pragma once

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

namespace sdk { namespace cores { namespace tidewell {

class curl_request;

// Transfer requests given back by finished tasks, kept with their open
// connections so the next task to the same device skips the connect.
class curl_pool
{
public:
    // Enough for every transfer a session runs at once (thumbnails go 20 at
    // a time on the local network): fewer, and each wave of them closes
    // connections and opens new ones together, which a device's short
    // listen queue may answer by dropping some for a second.
    explicit curl_pool(std::size_t keep = 24);
    ~curl_pool();

    // A kept request, or a new one.
    std::unique_ptr<curl_request> take();
    // Keeps the request (ready for a new transfer) unless enough are kept.
    void give(std::unique_ptr<curl_request> request);

private:
    std::mutex m_mutex;
    std::vector<std::unique_ptr<curl_request>> m_free;
    std::size_t m_keep;
};

} } }
