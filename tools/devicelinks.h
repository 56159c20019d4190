#pragma once

#include <map>
#include <string>
#include <vector>

#include "tools/testdeviceserverimpl.h"

// External links: the cloud's link service (getInfo, getToken, report) and
// the device behind a link (its top level, the device's own link list and
// the links its users create). A link's token opens only the link's files.
class DeviceLinks : public TestDeviceFeature
{
public:
    struct Link
    {
        std::int64_t id = 0;
        std::string code;
        std::string title;
        std::string rel;                  // the folder the link shows
        std::vector<std::int64_t> items;  // or the items it names (ids), when not empty
        std::int64_t createdDate = 0;
        int reports = 0;
        int userVisits = 0;   // the link opened (getInfo)
        int resVisits = 0;    // its files listed (getExterLinkResList)
    };

    explicit DeviceLinks(TestDeviceServer::Impl& impl) : m_impl(impl) {}

    bool command(const std::string& command, const Json::Value& data,
                 const std::string& accessId, std::string& out) override;
    bool cloud(const std::string& path, const Json::Value& body, std::string& out) override;
    const char* stateKey() const override { return "links"; }
    Json::Value saveState() const override;
    void loadState(const Json::Value& state) override;

    std::int64_t add(const std::string& shareId, const std::string& code,
                     const std::string& title, const std::string& rel, std::int64_t createdMs = 0);
    bool has(const std::string& shareId) const;
    int reports(const std::string& shareId) const;
    void setSecret(const std::string& secret);
    // True when token is the token of a link and the request stays within
    // that link's files (fileId: the item asked for, 0 for none).
    bool allows(const std::string& token, const std::string& path, const std::string& command,
                const std::string& shareId, std::int64_t fileId) const;
    static std::string urlOf(const std::string& shareId);

private:
    std::string create(const Json::Value& data);
    std::string topLevel(const Link& l, const Json::Value& data, const std::string& accessId);
    std::string tokenOf(const std::string& shareId) const;
    Json::Value describe(const std::string& shareId, const Link& l, const std::string& deviceId) const;

    TestDeviceServer::Impl& m_impl;
    mutable std::mutex m_mutex;
    std::map<std::string, Link> m_links;
    std::string m_secret;
    std::uint64_t m_counter = 0;
};
