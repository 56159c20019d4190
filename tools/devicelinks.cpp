#include "tools/devicelinks.h"

using namespace tds;

namespace {

const std::string kInfo = "/api/v2/tomcat/Saltmere/deviceShare/getInfo";
const std::string kToken = "/api/v2/tomcat/Saltmere/deviceShare/getToken";
const std::string kReport = "/api/v2/tomcat/Saltmere/deviceShare/report";

DeviceLinks* linksOf(TestDeviceServer::Impl& impl)
{
    return impl.feature<DeviceLinks>();
}

} // namespace

std::int64_t DeviceLinks::add(const std::string& shareId, const std::string& code,
                              const std::string& title, const std::string& rel)
{
    std::error_code ec;
    fs::create_directories(m_impl.abs(rel), ec);
    const std::int64_t folderId = m_impl.idFor(rel);
    std::lock_guard<std::mutex> lock(m_mutex);
    Link& l = m_links[shareId];
    l.id = folderId + 500000;
    l.code = code;
    l.title = title;
    l.rel = rel;
    l.createdDate = nowMs();
    return l.id;
}

bool DeviceLinks::has(const std::string& shareId) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_links.count(shareId) > 0;
}

int DeviceLinks::reports(const std::string& shareId) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_links.find(shareId);
    return it == m_links.end() ? 0 : it->second.reports;
}

Json::Value DeviceLinks::describe(const std::string& shareId, const Link& l,
                                  const std::string& deviceId) const
{
    Json::Value d(Json::objectValue);
    d["shareId"] = shareId;
    d["title"] = l.title;
    d["deviceId"] = deviceId;
    d["deviceName"] = "Test device";
    d["userId"] = "owner1";
    d["userNickname"] = "Owner";
    d["extractedCode"] = !l.code.empty();
    d["createdDate"] = Json::Int64(l.createdDate);
    d["create_date"] = "2026-01-02 03:04:05";
    d["modify_date"] = "2026-01-02 03:04:05";
    d["reportCount"] = l.reports;
    return d;
}

bool DeviceLinks::cloud(const std::string& path, const Json::Value& body, std::string& out)
{
    if (path != kInfo && path != kToken && path != kReport)
        return false;
    std::string deviceId;
    int port = 0;
    {
        std::lock_guard<std::mutex> lock(m_impl.mutex);
        deviceId = m_impl.deviceId;
        port = m_impl.ports[0];
    }
    const std::string shareId = jsonStr(body, "shareId");
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_links.find(shareId);
    if (it == m_links.end()) {
        out = failure(3001, "share does not exist");
        return true;
    }
    Link& l = it->second;
    if (path == kInfo) {
        ++l.userVisits;
        Json::Value d = describe(shareId, l, deviceId);
        d["fileId"] = Json::Int64(m_impl.idFor(l.rel));
        out = envelope(1, "success", d);
    } else if (path == kToken) {
        if (!l.code.empty() && jsonStr(body, "extractedCode") != l.code) {
            out = failure(3002, "wrong extraction code");
            return true;
        }
        Json::Value d(Json::objectValue);
        d["deviceId"] = deviceId;
        d["deviceToken"] = "link-" + shareId;
        d["userId"] = "owner1";
        d["dcsCookie"] = "dcs-" + shareId;
        d["lanHost"] = "127.0.0.1";
        d["lanPort"] = port;
        out = envelope(1, "success", d);
    } else {
        ++l.reports;
        out = envelope(1, "success", Json::Value(Json::objectValue));
    }
    return true;
}

bool DeviceLinks::command(const std::string& command, const Json::Value& data,
                          const std::string& accessId, std::string& out)
{
    if (command == "getExterLinkResList") {
        std::string rel;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            auto it = m_links.find(jsonStr(data, "shareId"));
            if (it == m_links.end()) {
                out = failure(3001, "share does not exist");
                return true;
            }
            ++it->second.resVisits;
            rel = it->second.rel;
        }
        out = m_impl.listing(rel, data, accessId, "", true, true);
        return true;
    }
    if (command == "getExternalLinkList") {
        std::string deviceId;
        {
            std::lock_guard<std::mutex> lock(m_impl.mutex);
            deviceId = m_impl.deviceId;
        }
        const std::int64_t offset = std::max<std::int64_t>(0, jsonInt(data, "offset"));
        std::int64_t pageSize = jsonInt(data, "pageSize", 60);
        if (pageSize <= 0)
            pageSize = 60;
        Json::Value list(Json::arrayValue);
        std::lock_guard<std::mutex> lock(m_mutex);
        std::int64_t i = 0;
        for (const auto& kv : m_links) {
            if (i >= offset && i < offset + pageSize) {
                Json::Value d = describe(kv.first, kv.second, deviceId);
                d["id"] = Json::Int64(kv.second.id);
                d["url"] = "https://x." + std::string("share.tidewell.net/share?shareId=") + kv.first;
                d["code"] = kv.second.code;
                d["userVisitTime"] = kv.second.userVisits;
                d["resVisitTime"] = kv.second.resVisits;
                list.append(d);
            }
            ++i;
        }
        Json::Value d(Json::objectValue);
        d["listPath"] = list;
        d["totalNum"] = Json::Int64(m_links.size());
        out = envelope(1, "success", d);
        return true;
    }
    if (command == "delExternalLink") {
        const Json::Value& ids = data["exterLinkIds"];
        if (!ids.isArray() || ids.empty()) {
            out = failure(2005, "no link ids");
            return true;
        }
        std::lock_guard<std::mutex> lock(m_mutex);
        std::vector<std::string> found;
        for (const Json::Value& v : ids) {
            const std::int64_t id = v.isIntegral() ? v.asInt64() : -1;
            auto it = std::find_if(m_links.begin(), m_links.end(),
                                   [id](const auto& kv) { return kv.second.id == id; });
            if (it == m_links.end()) {
                out = failure(3001, "link does not exist");
                return true;
            }
            found.push_back(it->first);
        }
        for (const auto& s : found)
            m_links.erase(s);
        out = envelope(1, "success", Json::Value(Json::objectValue));
        return true;
    }
    return false;
}

// ---- public face -----------------------------------------------------------

std::int64_t TestDeviceServer::addShareLink(const std::string& shareId, const std::string& code,
                                            const std::string& title, const std::string& relPath)
{
    DeviceLinks* l = linksOf(*d);
    return l ? l->add(shareId, code, title, relPath) : 0;
}

bool TestDeviceServer::hasShareLink(const std::string& shareId) const
{
    DeviceLinks* l = linksOf(*d);
    return l && l->has(shareId);
}

int TestDeviceServer::shareLinkReports(const std::string& shareId) const
{
    DeviceLinks* l = linksOf(*d);
    return l ? l->reports(shareId) : 0;
}
