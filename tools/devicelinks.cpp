#include "tools/devicelinks.h"

#include "tools/devicefiles.h"

using namespace tds;

namespace {

const std::string kInfo = "/api/v2/tomcat/Saltmere/deviceShare/getInfo";
const std::string kToken = "/api/v2/tomcat/Saltmere/deviceShare/getToken";
const std::string kReport = "/api/v2/tomcat/Saltmere/deviceShare/report";
const std::int64_t kCreatedIdBase = 700000;

DeviceLinks* linksOf(TestDeviceServer::Impl& impl)
{
    return impl.feature<DeviceLinks>();
}

std::int64_t idOf(const Json::Value& v)
{
    Json::Value holder(Json::objectValue);
    holder["v"] = v;
    return jsonInt(holder, "v", 0);
}

} // namespace

std::string DeviceLinks::urlOf(const std::string& shareId)
{
    return "https://x.share.tidewell.net/share?shareId=" + shareId;
}

std::int64_t DeviceLinks::add(const std::string& shareId, const std::string& code,
                              const std::string& title, const std::string& rel,
                              std::int64_t createdMs)
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
    l.items.clear();
    l.createdDate = createdMs > 0 ? createdMs : nowMs();
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

void DeviceLinks::setSecret(const std::string& secret)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_secret = secret;
}

// Called with m_mutex held.
std::string DeviceLinks::tokenOf(const std::string& shareId) const
{
    if (m_secret.empty())
        return "link-" + shareId;
    return "link-" + sdk::cores::crypto::md5(m_secret + "/" + shareId);
}

bool DeviceLinks::allows(const std::string& token, const std::string& path, const std::string& command,
                         const std::string& shareId, std::int64_t fileId) const
{
    Link link;
    std::string linkShareId;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& kv : m_links) {
            if (tokenOf(kv.first) == token) {
                link = kv.second;
                linkShareId = kv.first;
                break;
            }
        }
    }
    if (linkShareId.empty())
        return false;
    if (path.rfind("/static", 0) == 0)
        return true;
    if (path == "/device/directTransfer.json") {
        if (command == "ping")
            return true;
        if (command == "getExterLinkResList")
            return shareId == linkShareId;
        if (command != "getLinkDirPath")
            return false;
    } else if (path != "/device/download") {
        return false;
    }
    std::string rel;
    if (fileId == 0 || !m_impl.pathFor(fileId, rel))
        return false;
    if (link.items.empty())
        return DeviceFiles::within(rel, link.rel) && rel != link.rel;
    for (std::int64_t id : link.items) {
        std::string item;
        if (m_impl.pathFor(id, item) && DeviceFiles::within(rel, item))
            return true;
    }
    return false;
}

Json::Value DeviceLinks::saveState() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Json::Value out(Json::objectValue);
    out["counter"] = Json::UInt64(m_counter);
    Json::Value list(Json::objectValue);
    for (const auto& kv : m_links) {
        const Link& l = kv.second;
        Json::Value v(Json::objectValue);
        v["id"] = Json::Int64(l.id);
        v["code"] = l.code;
        v["title"] = l.title;
        v["rel"] = l.rel;
        Json::Value items(Json::arrayValue);
        for (std::int64_t id : l.items)
            items.append(Json::Int64(id));
        v["items"] = items;
        v["createdDate"] = Json::Int64(l.createdDate);
        v["reports"] = l.reports;
        v["userVisits"] = l.userVisits;
        v["resVisits"] = l.resVisits;
        list[kv.first] = v;
    }
    out["links"] = list;
    return out;
}

void DeviceLinks::loadState(const Json::Value& state)
{
    if (!state.isObject())
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_counter = std::uint64_t(std::max<std::int64_t>(0, jsonInt(state, "counter")));
    const Json::Value& list = state["links"];
    if (!list.isObject())
        return;
    m_links.clear();
    for (const std::string& shareId : list.getMemberNames()) {
        const Json::Value& v = list[shareId];
        Link l;
        l.id = jsonInt(v, "id");
        l.code = jsonStr(v, "code");
        l.title = jsonStr(v, "title");
        l.rel = jsonStr(v, "rel");
        for (const Json::Value& id : v["items"])
            l.items.push_back(idOf(id));
        l.createdDate = jsonInt(v, "createdDate");
        l.reports = int(jsonInt(v, "reports"));
        l.userVisits = int(jsonInt(v, "userVisits"));
        l.resVisits = int(jsonInt(v, "resVisits"));
        m_links[shareId] = l;
    }
}

std::string DeviceLinks::create(const Json::Value& data)
{
    const Json::Value& ids = data["fileIds"];
    if (!ids.isArray() || ids.empty())
        return failure(2005, "no files");
    Link l;
    std::string firstName;
    for (const Json::Value& id : ids) {
        std::string rel;
        const std::int64_t n = idOf(id);
        if (n == 0 || !m_impl.pathFor(n, rel) || rel.empty())
            return failure(404, "file does not exist");
        if (firstName.empty())
            firstName = DeviceFiles::nameOf(rel);
        l.items.push_back(n);
    }
    l.code = jsonStr(data, "extractedCode");
    if (l.code.size() > 16)
        return failure(2005, "extraction code too long");
    l.title = jsonStr(data, "title");
    if (l.title.empty())
        l.title = firstName;
    l.createdDate = nowMs();
    std::string shareId;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_counter;
        shareId = "sl" + std::to_string(l.createdDate) + "x" + std::to_string(m_counter);
        l.id = kCreatedIdBase + std::int64_t(m_counter);
        m_links[shareId] = l;
    }
    Json::Value out(Json::objectValue);
    out["shareId"] = shareId;
    out["url"] = urlOf(shareId);
    out["extractedCode"] = l.code;
    return envelope(1, "success", out);
}

std::string DeviceLinks::topLevel(const Link& l, const Json::Value& data, const std::string& accessId)
{
    if (l.items.empty())
        return m_impl.listing(l.rel, data, accessId, "", true, true);
    // Items removed since the link was made drop out of it.
    Json::Value items(Json::arrayValue);
    for (std::int64_t id : l.items) {
        std::string rel;
        std::error_code ec;
        if (m_impl.pathFor(id, rel) && !rel.empty() && fs::exists(m_impl.abs(rel), ec))
            items.append(m_impl.item(rel, accessId, ""));
    }
    return envelope(1, "success",
                    DeviceFiles::pageAt(items, jsonInt(data, "offset"), jsonInt(data, "pageSize", 60)));
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
        d["deviceToken"] = tokenOf(shareId);
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
    if (command == "createExternalLink") {
        out = create(data);
        return true;
    }
    if (command == "getExterLinkResList") {
        Link link;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            auto it = m_links.find(jsonStr(data, "shareId"));
            if (it == m_links.end()) {
                out = failure(3001, "share does not exist");
                return true;
            }
            ++it->second.resVisits;
            link = it->second;
        }
        out = topLevel(link, data, accessId);
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
                d["url"] = urlOf(kv.first);
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
                                            const std::string& title, const std::string& relPath,
                                            std::int64_t createdMs)
{
    DeviceLinks* l = linksOf(*d);
    return l ? l->add(shareId, code, title, relPath, createdMs) : 0;
}

bool TestDeviceServer::hasShareLink(const std::string& shareId) const
{
    DeviceLinks* l = linksOf(*d);
    return l && l->has(shareId);
}

std::string TestDeviceServer::shareLinkUrl(const std::string& shareId)
{
    return DeviceLinks::urlOf(shareId);
}

void TestDeviceServer::setLinkSecret(const std::string& secret)
{
    if (DeviceLinks* l = linksOf(*d))
        l->setSecret(secret);
}

int TestDeviceServer::shareLinkReports(const std::string& shareId) const
{
    DeviceLinks* l = linksOf(*d);
    return l ? l->reports(shareId) : 0;
}
