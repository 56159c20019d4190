#include "tools/deviceshares.h"

#include "tools/deviceusers.h"

using namespace tds;

DeviceShares* DeviceShares::of(TestDeviceServer::Impl& d)
{
    return d.feature<DeviceShares>();
}

Json::Value DeviceShares::saveState() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Json::Value out(Json::objectValue);
    out["lastTime"] = Json::Int64(m_lastTime);
    Json::Value list(Json::arrayValue);
    for (const auto& kv : m_shares) {
        Json::Value v(Json::objectValue);
        v["fileId"] = Json::Int64(kv.first);
        v["sharer"] = kv.second.sharer;
        v["toAll"] = kv.second.toAll;
        Json::Value users(Json::arrayValue);
        for (const std::string& u : kv.second.users)
            users.append(u);
        v["users"] = users;
        v["shareTime"] = Json::Int64(kv.second.shareTime);
        list.append(v);
    }
    out["shares"] = list;
    return out;
}

void DeviceShares::loadState(const Json::Value& state)
{
    if (!state.isObject() || !state["shares"].isArray())
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_shares.clear();
    m_lastTime = jsonInt(state, "lastTime");
    for (const Json::Value& v : state["shares"]) {
        Share s;
        s.sharer = jsonStr(v, "sharer");
        s.toAll = jsonBool(v, "toAll");
        for (const std::string& u : DeviceFiles::texts(v["users"]))
            s.users.insert(u);
        s.shareTime = jsonInt(v, "shareTime");
        m_shares[jsonInt(v, "fileId")] = s;
    }
}

bool DeviceShares::command(const std::string& command, const Json::Value& data,
                           const std::string& me, std::string& out)
{
    if (command == "shareFileToAll" || command == "shareFileToUsers") {
        out = setShares(data, me, command == "shareFileToAll");
    } else if (command == "shareFileToCancel") {
        out = cancel(data, me);
    } else if (command == "getShareFile") {
        // Shared with me by the others.
        const auto list = entries(jsonBool(data, "isSort"), [&](const Entry& e) {
            return e.share.sharer != me && visible(e.share, me);
        });
        out = fileList(list, jsonInt(data, "pageNo", 1), true);
    } else if (command == "getUserShareFile") {
        // One user's shares as I may see them; my own are all mine.
        const std::string who = jsonStr(data, "accessId");
        const auto list = entries(jsonBool(data, "isSort"), [&](const Entry& e) {
            return e.share.sharer == who && (who == me || visible(e.share, me));
        });
        out = fileList(list, jsonInt(data, "pageNo", 1), false);
    } else if (command == "findShareFile") {
        const std::string key = jsonStr(data, "keyValue");
        if (key.empty()) {
            out = failure(kBadRequest, "no search key");
            return true;
        }
        auto lower = [](std::string s) {
            std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
            return s;
        };
        const std::string needle = lower(key);
        const auto list = entries(false, [&](const Entry& e) {
            return e.share.sharer != me && visible(e.share, me)
                && lower(DeviceFiles::nameOf(e.rel)).find(needle) != std::string::npos;
        });
        out = fileList(list, jsonInt(data, "pageNo", 1), false);
    } else if (command == "getUserShareFilesForDir") {
        out = folder(data, me);
    } else if (command == "getShareUserList") {
        out = userList(data, me);
    } else if (command == "copyDirOrFile") {
        out = copy(data, me);
    } else {
        return false;
    }
    return true;
}

bool DeviceShares::visible(const Share& s, const std::string& me) const
{
    return s.sharer == me || s.toAll || s.users.count(me) > 0;
}

bool DeviceShares::share(std::int64_t fileId, const std::string& sharer, const std::set<std::string>& users)
{
    std::string rel;
    if (!m_d.pathFor(fileId, rel) || !m_files.exists(rel))
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    Share& s = m_shares[fileId];
    s.sharer = sharer;
    s.toAll = users.empty();
    s.users = users;
    // Distinct times keep the order of sharing even within one millisecond.
    m_lastTime = std::max(nowMs(), m_lastTime + 1);
    s.shareTime = m_lastTime;
    return true;
}

bool DeviceShares::isShared(std::int64_t fileId) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_shares.count(fileId) > 0;
}

void DeviceShares::setPageSize(int size)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_pageSize = size > 0 ? size : 60;
}

std::string DeviceShares::setShares(const Json::Value& data, const std::string& me, bool toAll)
{
    const std::vector<std::int64_t> fileIds = DeviceFiles::ids(data["fileIds"]);
    if (fileIds.empty())
        return failure(kNotFound, "no file given");
    std::set<std::string> users;
    if (!toAll) {
        for (const std::string& a : DeviceFiles::texts(data["accessIds"]))
            if (a != me)
                users.insert(a);
        if (users.empty())
            return failure(kBadRequest, "no user to share with");
    }
    // All or nothing: every item exists in the personal space and is not
    // someone else's share.
    for (std::int64_t id : fileIds) {
        std::string rel;
        if (id == 0 || !m_d.pathFor(id, rel) || !m_files.exists(rel) || DeviceFiles::within(rel, "groups"))
            return failure(kNotFound, "no such file");
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_shares.find(id);
        if (it != m_shares.end() && it->second.sharer != me)
            return failure(kNoRight, "another user shares this file");
    }
    for (std::int64_t id : fileIds)
        share(id, me, users);
    return envelope(1, "success", Json::Value(Json::objectValue));
}

std::string DeviceShares::cancel(const Json::Value& data, const std::string& me)
{
    const std::vector<std::int64_t> fileIds = DeviceFiles::ids(data["fileIds"]);
    if (fileIds.empty())
        return failure(kNotFound, "no file given");
    std::lock_guard<std::mutex> lock(m_mutex);
    for (std::int64_t id : fileIds) {
        auto it = m_shares.find(id);
        if (it == m_shares.end())
            return failure(kNotFound, "the file is not shared");
        if (it->second.sharer != me)
            return failure(kNoRight, "only the sharer cancels a share");
    }
    for (std::int64_t id : fileIds)
        m_shares.erase(id);
    return envelope(1, "success", Json::Value(Json::objectValue));
}

template <typename Keep>
std::vector<DeviceShares::Entry> DeviceShares::entries(bool oldestFirst, Keep keep) const
{
    std::map<std::int64_t, Share> shares;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        shares = m_shares;
    }
    std::vector<Entry> out;
    for (const auto& p : shares) {
        Entry e{p.first, std::string(), p.second};
        if (!m_d.pathFor(p.first, e.rel) || !m_files.exists(e.rel))
            continue;   // gone since it was shared
        if (keep(e))
            out.push_back(e);
    }
    std::stable_sort(out.begin(), out.end(), [&](const Entry& a, const Entry& b) {
        if (a.share.shareTime != b.share.shareTime)
            return oldestFirst ? a.share.shareTime < b.share.shareTime
                               : a.share.shareTime > b.share.shareTime;
        return a.id < b.id;
    });
    return out;
}

std::string DeviceShares::fileList(const std::vector<Entry>& list, std::int64_t pageNo, bool withUsers)
{
    int pageSize;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        pageSize = m_pageSize;
    }
    Json::Value items(Json::arrayValue);
    std::set<std::string> sharers;
    for (const Entry& e : list) {
        Json::Value v = m_d.item(e.rel, e.share.sharer, "");
        v["shareTime"] = Json::Int64(e.share.shareTime);
        v["publicType"] = e.share.toAll ? 0 : 2;
        items.append(v);
        sharers.insert(e.share.sharer);
    }
    Json::Value out = DeviceFiles::pageNo(items, pageNo, pageSize);
    if (withUsers) {
        DeviceUsers* users = DeviceUsers::of(m_d);
        Json::Value userList(Json::arrayValue);
        for (const std::string& s : sharers) {
            if (users) {
                userList.append(users->userJson(s));
            } else {
                Json::Value v(Json::objectValue);
                v["accessId"] = s;
                userList.append(v);
            }
        }
        out["userList"] = userList;
    }
    return envelope(1, "success", out);
}

std::string DeviceShares::folder(const Json::Value& data, const std::string& me)
{
    std::string rel;
    const std::int64_t fileId = jsonInt(data, "fileId");
    if (fileId == 0 || !m_d.pathFor(fileId, rel) || !m_files.isFolder(rel))
        return failure(kNotFound, "no such folder");
    // The folder is a share I may see, or lies inside one.
    const auto list = entries(false, [&](const Entry& e) {
        return visible(e.share, me) && DeviceFiles::within(rel, e.rel);
    });
    if (list.empty())
        return failure(kNotFound, "the folder is not shared with you");
    return m_d.listing(rel, data, list.front().share.sharer, "", false);
}

std::string DeviceShares::userList(const Json::Value& data, const std::string& me)
{
    const auto list = entries(false, [&](const Entry& e) {
        return e.share.sharer != me && visible(e.share, me);
    });
    std::map<std::string, int> counts;
    for (const Entry& e : list)
        ++counts[e.share.sharer];
    DeviceUsers* users = DeviceUsers::of(m_d);
    Json::Value items(Json::arrayValue);
    for (const auto& c : counts) {
        Json::Value v = users ? users->userJson(c.first) : Json::Value(Json::objectValue);
        v["accessId"] = c.first;
        v["shareNum"] = c.second;
        items.append(v);
    }
    int pageSize;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        pageSize = m_pageSize;
    }
    Json::Value out = DeviceFiles::pageNo(items, jsonInt(data, "pageNo", 1), pageSize);
    out["list"] = out["listPath"];
    out.removeMember("listPath");
    return envelope(1, "success", out);
}

std::string DeviceShares::copy(const Json::Value& data, const std::string& me)
{
    std::string target;
    if (!m_d.pathFor(jsonInt(data, "targetId"), target) || !m_files.isFolder(target)
        || DeviceFiles::within(target, "groups"))
        return failure(kNotFound, "no such folder in the personal space");
    const std::vector<std::int64_t> fileIds = DeviceFiles::ids(data["fileIds"]);
    if (fileIds.empty())
        return failure(kNotFound, "no file given");
    std::vector<std::string> rels;
    for (std::int64_t id : fileIds) {
        std::string rel;
        if (id == 0 || !m_d.pathFor(id, rel) || !m_files.exists(rel))
            return failure(kNotFound, "no such file");
        // An item under someone else's share only when it is shared with me.
        const auto covering = entries(false, [&](const Entry& e) { return DeviceFiles::within(rel, e.rel); });
        const bool mine = std::all_of(covering.begin(), covering.end(),
                                      [&](const Entry& e) { return e.share.sharer == me; });
        const bool toMe = std::any_of(covering.begin(), covering.end(),
                                      [&](const Entry& e) { return visible(e.share, me); });
        if (DeviceFiles::within(rel, "groups") || !(mine || toMe))
            return failure(kNoRight, "the file is not shared with you");
        if (DeviceFiles::within(target, rel))
            return failure(kInsideSource, "target is inside source");
        rels.push_back(rel);
    }
    for (const std::string& rel : rels)
        if (m_files.copyInto(rel, target).empty())
            return failure(kNotFound, "copy failed");
    return envelope(1, "success", Json::Value(Json::objectValue));
}

// ---- test seeding ----------------------------------------------------------

bool TestDeviceServer::shareFile(std::int64_t fileId, const std::string& sharer,
                                 const std::vector<std::string>& users)
{
    DeviceShares* s = DeviceShares::of(*d);
    return s && s->share(fileId, sharer, std::set<std::string>(users.begin(), users.end()));
}

bool TestDeviceServer::isShared(std::int64_t fileId) const
{
    DeviceShares* s = DeviceShares::of(*d);
    return s && s->isShared(fileId);
}

void TestDeviceServer::setSharePageSize(int size)
{
    if (DeviceShares* s = DeviceShares::of(*d))
        s->setPageSize(size);
}
