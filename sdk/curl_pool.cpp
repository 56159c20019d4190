#include "sdk/curl_pool.h"

#include "sdk/curl_request.h"

namespace sdk { namespace cores { namespace tidewell {

curl_pool::curl_pool(std::size_t keep) : m_keep(keep) {}

curl_pool::~curl_pool() = default;

std::unique_ptr<curl_request> curl_pool::take()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_free.empty()) {
            std::unique_ptr<curl_request> r = std::move(m_free.back());
            m_free.pop_back();
            return r;
        }
    }
    return std::make_unique<curl_request>();
}

void curl_pool::give(std::unique_ptr<curl_request> request)
{
    if (!request || !request->easy())
        return;
    request->rearm();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_free.size() < m_keep)
        m_free.push_back(std::move(request));
}

} } }
