#pragma once

#include <map>
#include <string>

#include "tools/testdeviceserverimpl.h"

// External links: the cloud's link service (getInfo, getToken, report) and
// the device behind a link (its top level and the device's own link list).
class DeviceLinks : public TestDeviceFeature
{
public:
    struct Link
    {
        std::int64_t id = 0;
        std::string code;
        std::string title;
        std::string rel;
        std::int64_t createdDate = 0;
        int reports = 0;
        int userVisits = 0;   // the link opened (getInfo)
        int resVisits = 0;    // its files listed (getExterLinkResList)
    };

    explicit DeviceLinks(TestDeviceServer::Impl& impl) : m_impl(impl) {}

    bool command(const std::string& command, const Json::Value& data,
                 const std::string& accessId, std::string& out) override;
    bool cloud(const std::string& path, const Json::Value& body, std::string& out) override;

    std::int64_t add(const std::string& shareId, const std::string& code,
                     const std::string& title, const std::string& rel);
    bool has(const std::string& shareId) const;
    int reports(const std::string& shareId) const;

private:
    Json::Value describe(const std::string& shareId, const Link& l, const std::string& deviceId) const;

    TestDeviceServer::Impl& m_impl;
    mutable std::mutex m_mutex;
    std::map<std::string, Link> m_links;
};
