#include "tools/devicegroups.h"

#include "tools/deviceusers.h"

using namespace tds;

namespace {

constexpr int kOwnerStays = 2010;

} // namespace

DeviceGroups* DeviceGroups::of(TestDeviceServer::Impl& d)
{
    return d.feature<DeviceGroups>();
}

Json::Value DeviceGroups::saveState() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Json::Value out(Json::objectValue);
    out["nextId"] = m_nextId;
    Json::Value list(Json::arrayValue);
    for (const auto& kv : m_groups) {
        const Group& g = kv.second;
        Json::Value v(Json::objectValue);
        v["id"] = g.id;
        v["name"] = g.name;
        v["owner"] = g.owner;
        v["diskSerial"] = g.diskSerial;
        v["createTime"] = Json::Int64(g.createTime);
        v["lastModified"] = Json::Int64(g.lastModified);
        Json::Value members(Json::arrayValue);
        for (const Member& m : g.members) {
            Json::Value mv(Json::objectValue);
            mv["accId"] = m.accId;
            mv["authority"] = m.authority;
            mv["createTime"] = Json::Int64(m.createTime);
            members.append(mv);
        }
        v["members"] = members;
        list.append(v);
    }
    out["groups"] = list;
    return out;
}

void DeviceGroups::loadState(const Json::Value& state)
{
    if (!state.isObject() || !state["groups"].isArray())
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_groups.clear();
    m_nextId = std::max<int>(100, int(jsonInt(state, "nextId", 100)));
    for (const Json::Value& v : state["groups"]) {
        Group g;
        g.id = int(jsonInt(v, "id"));
        if (g.id <= 0)
            continue;
        g.name = jsonStr(v, "name");
        g.owner = jsonStr(v, "owner");
        g.diskSerial = jsonStr(v, "diskSerial");
        g.createTime = jsonInt(v, "createTime");
        g.lastModified = jsonInt(v, "lastModified");
        for (const Json::Value& mv : v["members"]) {
            Member m;
            m.accId = jsonStr(mv, "accId");
            m.authority = int(jsonInt(mv, "authority", 2));
            m.createTime = jsonInt(mv, "createTime");
            g.members.push_back(m);
        }
        m_nextId = std::max(m_nextId, g.id + 1);
        m_groups[g.id] = g;
    }
}

bool DeviceGroups::command(const std::string& command, const Json::Value& data,
                           const std::string& accessId, std::string& out)
{
    static const char* const kCommands[] = {
        "createPubGroup", "getPubGroupList", "getPubGroupDetail", "getPubGroupMemList",
        "modifyPubGroupName", "delPubGroup", "exitPubGroup", "editPubGroupMember",
        "delPubGroupMember", "changePubGroupOwner", "getPubFileList", "modifyPubDirOrFile",
        "deletePubDirOrFile", "moviePubDirOrFile", "copyPubToPeripheral", "pubCopyFileToPub",
        "movieFileToPerson", "copyFileToPub"};
    for (const char* c : kCommands) {
        if (command == c) {
            out = run(command, data, accessId);
            return true;
        }
    }
    return false;
}

std::string DeviceGroups::run(const std::string& command, const Json::Value& data, const std::string& me)
{
    if (command == "createPubGroup") {
        const std::string name = jsonStr(data, "name");
        if (name.empty())
            return failure(kBadName, "a group needs a name");
        Json::Value d(Json::objectValue);
        d["groupId"] = addGroup(name, me, jsonStr(data, "diskSerial"));
        return envelope(1, "success", d);
    }
    if (command == "getPubGroupList")
        return list(data, me);
    if (command == "getPubGroupDetail")
        return detail(data, me);
    if (command == "getPubGroupMemList")
        return memberList(data, me);
    if (command == "modifyPubGroupName")
        return rename(data, me);
    if (command == "delPubGroup")
        return remove(data, me);
    if (command == "exitPubGroup")
        return leave(data, me);
    if (command == "editPubGroupMember")
        return editMembers(data, me);
    if (command == "delPubGroupMember")
        return removeMembers(data, me);
    if (command == "changePubGroupOwner")
        return changeOwner(data, me);
    if (command == "getPubFileList")
        return search(data, me);
    if (command == "modifyPubDirOrFile")
        return renameFile(data, me);
    if (command == "deletePubDirOrFile")
        return deleteFiles(data, me);
    if (command == "moviePubDirOrFile")
        return moveFile(data, me);
    if (command == "copyFileToPub")
        return copyIn(data, me);
    return copyOut(command, data, me);
}

int DeviceGroups::addGroup(const std::string& name, const std::string& owner, const std::string& diskSerial)
{
    int id;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        id = m_nextId++;
        Group g;
        g.id = id;
        g.name = name;
        g.owner = owner;
        g.diskSerial = diskSerial;
        g.createTime = g.lastModified = nowMs();
        g.members.push_back({owner, 0, g.createTime});
        m_groups[id] = g;
    }
    m_d.groupRoot(id);
    return id;
}

bool DeviceGroups::setMember(int gId, const std::string& accId, int authority)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_groups.find(gId);
    if (it == m_groups.end() || accId.empty())
        return false;
    for (Member& m : it->second.members) {
        if (m.accId == accId) {
            m.authority = authority;
            return true;
        }
    }
    it->second.members.push_back({accId, authority, nowMs()});
    return true;
}

bool DeviceGroups::group(int gId, Group& out) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_groups.find(gId);
    if (it == m_groups.end())
        return false;
    out = it->second;
    return true;
}

int DeviceGroups::count() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return static_cast<int>(m_groups.size());
}

void DeviceGroups::touch(int gId)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_groups.find(gId);
    if (it != m_groups.end())
        it->second.lastModified = nowMs();
}

std::string DeviceGroups::access(int gId, const std::string& me, int minAuth, Group& out) const
{
    if (!group(gId, out))
        return failure(kNotFound, "no such group");
    for (const Member& m : out.members) {
        if (m.accId != me)
            continue;
        if (m.authority > minAuth)
            return failure(kNoRight, "no right to do this in the group");
        return std::string();
    }
    return failure(kNotFound, "no such group");   // strangers do not learn of it
}

bool DeviceGroups::itemOf(const Group& g, std::int64_t fileId, std::string& rel) const
{
    const std::string top = "groups/" + std::to_string(g.id);
    return fileId != 0 && m_d.pathFor(fileId, rel) && rel != top && DeviceFiles::within(rel, top)
        && m_files.exists(rel);
}

std::string DeviceGroups::itemsOf(const Group& g, const std::vector<std::int64_t>& fileIds,
                                  std::vector<std::string>& rels) const
{
    if (fileIds.empty())
        return failure(kNotFound, "no file given");
    for (std::int64_t id : fileIds) {
        std::string rel;
        if (!itemOf(g, id, rel))
            return failure(kNotFound, "no such file in the group");
        rels.push_back(rel);
    }
    return std::string();
}

bool DeviceGroups::folderOf(const Group& g, std::int64_t fileId, std::string& rel) const
{
    const std::string top = "groups/" + std::to_string(g.id);
    if (fileId == 0 || fileId == m_d.rootId) {
        rel = m_d.groupRoot(g.id);
        return true;
    }
    return m_d.pathFor(fileId, rel) && DeviceFiles::within(rel, top) && m_files.isFolder(rel);
}

Json::Value DeviceGroups::groupJson(const Group& g, const std::string& me) const
{
    Json::Value v(Json::objectValue);
    v["id"] = g.id;
    v["name"] = g.name;
    v["ower"] = g.owner;
    DeviceUsers* users = DeviceUsers::of(m_d);
    v["userName"] = users ? users->user(g.owner).markName : g.owner;
    int auth = 2;
    for (const Member& m : g.members)
        if (m.accId == me)
            auth = m.authority;
    v["memberAuthority"] = auth;
    v["status"] = 1;
    v["totalSize"] = Json::Int64(m_files.sizeOf("groups/" + std::to_string(g.id)));
    v["diskSerial"] = g.diskSerial;
    v["createTime"] = Json::Int64(g.createTime);
    v["lastModified"] = Json::Int64(g.lastModified);
    return v;
}

std::string DeviceGroups::list(const Json::Value& data, const std::string& me)
{
    std::vector<Group> mine;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& p : m_groups)
            for (const Member& m : p.second.members)
                if (m.accId == me)
                    mine.push_back(p.second);
    }
    // condition: 0 last change, 1 creation, 2 name; isSort: ascending.
    const int condition = static_cast<int>(jsonInt(data, "condition"));
    const bool ascending = jsonBool(data, "isSort");
    std::stable_sort(mine.begin(), mine.end(), [&](const Group& a, const Group& b) {
        if (condition == 2 && a.name != b.name)
            return ascending ? a.name < b.name : a.name > b.name;
        const std::int64_t ta = condition == 1 ? a.createTime : a.lastModified;
        const std::int64_t tb = condition == 1 ? b.createTime : b.lastModified;
        if (condition != 2 && ta != tb)
            return ascending ? ta < tb : ta > tb;
        return ascending ? a.id < b.id : a.id > b.id;
    });
    Json::Value items(Json::arrayValue);
    for (const Group& g : mine)
        items.append(groupJson(g, me));
    Json::Value page = DeviceFiles::pageAt(items, jsonInt(data, "offset"), jsonInt(data, "pageSize", 60));
    page["diskSerial"] = TestDeviceServer::kPersonalDisk;
    return envelope(1, "success", page);
}

std::string DeviceGroups::detail(const Json::Value& data, const std::string& me)
{
    Group g;
    const std::string err = access(static_cast<int>(jsonInt(data, "groupId")), me, 2, g);
    return err.empty() ? envelope(1, "success", groupJson(g, me)) : err;
}

std::string DeviceGroups::memberList(const Json::Value& data, const std::string& me)
{
    Group g;
    const std::string err = access(static_cast<int>(jsonInt(data, "groupId")), me, 2, g);
    if (!err.empty())
        return err;
    DeviceUsers* users = DeviceUsers::of(m_d);
    Json::Value items(Json::arrayValue);
    if (jsonInt(data, "type", 1) == 2) {
        // The device's users that can still be added.
        if (users) {
            for (const DeviceUsers::User& u : users->users()) {
                const bool member = std::any_of(g.members.begin(), g.members.end(),
                                                [&](const Member& m) { return m.accId == u.accessId; });
                if (member)
                    continue;
                Json::Value v(Json::objectValue);
                v["accId"] = u.accessId;
                v["headImg"] = u.headImg;
                v["markName"] = u.markName;
                v["memberAuthority"] = 2;
                v["createTime"] = 0;
                items.append(v);
            }
        }
    } else {
        std::stable_sort(g.members.begin(), g.members.end(),
                         [](const Member& a, const Member& b) { return a.authority < b.authority; });
        for (const Member& m : g.members) {
            const DeviceUsers::User u = users ? users->user(m.accId) : DeviceUsers::User{m.accId, m.accId, ""};
            Json::Value v(Json::objectValue);
            v["accId"] = m.accId;
            v["headImg"] = u.headImg;
            v["markName"] = u.markName;
            v["memberAuthority"] = m.authority;
            v["createTime"] = Json::Int64(m.createTime);
            items.append(v);
        }
    }
    return envelope(1, "success", DeviceFiles::pageAt(items, jsonInt(data, "offset"), jsonInt(data, "pageSize", 60)));
}

std::string DeviceGroups::rename(const Json::Value& data, const std::string& me)
{
    Group g;
    const int gId = static_cast<int>(jsonInt(data, "gId"));
    std::string err = access(gId, me, 0, g);
    if (!err.empty())
        return err;
    const std::string name = jsonStr(data, "gName");
    if (name.empty())
        return failure(kBadName, "a group needs a name");
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_groups.find(gId);
    if (it == m_groups.end())
        return failure(kNotFound, "no such group");
    it->second.name = name;
    it->second.lastModified = nowMs();
    return envelope(1, "success", Json::Value(Json::objectValue));
}

std::string DeviceGroups::remove(const Json::Value& data, const std::string& me)
{
    std::vector<int> gIds;
    for (std::int64_t id : DeviceFiles::ids(data["gIds"]))
        gIds.push_back(static_cast<int>(id));
    if (gIds.empty())
        return failure(kNotFound, "no group given");
    // All or nothing: only the owner deletes.
    for (int gId : gIds) {
        Group g;
        if (!group(gId, g))
            return failure(kNotFound, "no such group");
        if (g.owner != me)
            return failure(kNoRight, "only the owner deletes a group");
    }
    for (int gId : gIds) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_groups.erase(gId);
        }
        m_files.remove("groups/" + std::to_string(gId));
    }
    return envelope(1, "success", Json::Value(Json::objectValue));
}

std::string DeviceGroups::leave(const Json::Value& data, const std::string& me)
{
    const int gId = static_cast<int>(jsonInt(data, "gId"));
    const std::string who = jsonStr(data, "accessId").empty() ? me : jsonStr(data, "accessId");
    if (who != me)
        return failure(kNoRight, "only members leave by themselves");
    Group g;
    const std::string err = access(gId, me, 2, g);
    if (!err.empty())
        return err;
    if (g.owner == me)
        return failure(kOwnerStays, "the owner cannot leave the group");
    return dropMembers(gId, [&](const Member& m) { return m.accId == me; });
}

std::string DeviceGroups::dropMembers(int gId, const std::function<bool(const Member&)>& gone)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    auto live = m_groups.find(gId);
    if (live == m_groups.end())
        return failure(kNotFound, "no such group");
    auto& members = live->second.members;
    members.erase(std::remove_if(members.begin(), members.end(), gone), members.end());
    return envelope(1, "success", Json::Value(Json::objectValue));
}

std::string DeviceGroups::editMembers(const Json::Value& data, const std::string& me)
{
    const int gId = static_cast<int>(jsonInt(data, "gId"));
    Group g;
    const std::string err = access(gId, me, 0, g);
    if (!err.empty())
        return err;
    const int auth = static_cast<int>(jsonInt(data, "memberAuth", -1));
    if (auth != 1 && auth != 2)
        return failure(kNoRight, "a member is an editor (1) or may browse (2)");
    const std::vector<std::string> who = DeviceFiles::texts(data["accessIds"]);
    if (who.empty())
        return failure(kNotFound, "no user given");
    for (const std::string& a : who)
        if (a == g.owner)
            return failure(kOwnerStays, "the owner's right stays");
    for (const std::string& a : who)
        setMember(gId, a, auth);
    touch(gId);
    return envelope(1, "success", Json::Value(Json::objectValue));
}

std::string DeviceGroups::removeMembers(const Json::Value& data, const std::string& me)
{
    const int gId = static_cast<int>(jsonInt(data, "gId"));
    Group g;
    const std::string err = access(gId, me, 0, g);
    if (!err.empty())
        return err;
    const std::vector<std::string> who = DeviceFiles::texts(data["accessIds"]);
    if (who.empty())
        return failure(kNotFound, "no user given");
    if (std::find(who.begin(), who.end(), g.owner) != who.end())
        return failure(kOwnerStays, "the owner cannot be removed");
    return dropMembers(gId, [&](const Member& m) {
        return std::find(who.begin(), who.end(), m.accId) != who.end();
    });
}

std::string DeviceGroups::changeOwner(const Json::Value& data, const std::string& me)
{
    const int gId = static_cast<int>(jsonInt(data, "gId"));
    Group g;
    const std::string err = access(gId, me, 0, g);
    if (!err.empty())
        return err;
    const std::string from = jsonStr(data, "fromUser");
    const std::string to = jsonStr(data, "toUser");
    if (g.owner != me || from != me)
        return failure(kNoRight, "only the owner hands the group over");
    const bool member = std::any_of(g.members.begin(), g.members.end(),
                                    [&](const Member& m) { return m.accId == to && to != from; });
    if (!member)
        return failure(kNotFound, "the new owner is not a member");
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_groups.find(gId);
    if (it == m_groups.end())
        return failure(kNotFound, "no such group");
    Group& live = it->second;
    live.owner = to;
    for (Member& m : live.members) {
        if (m.accId == to)
            m.authority = 0;
        else if (m.accId == from)
            m.authority = 1;
    }
    return envelope(1, "success", Json::Value(Json::objectValue));
}

std::string DeviceGroups::search(const Json::Value& data, const std::string& me)
{
    Group g;
    const std::string err = access(static_cast<int>(jsonInt(data, "groupId")), me, 2, g);
    if (!err.empty())
        return err;
    std::string folder;
    if (!folderOf(g, jsonInt(data, "fileId"), folder))
        return failure(kNotFound, "no such folder in the group");
    const std::string key = jsonStr(data, "keyValue");
    if (key.empty())
        return m_d.listing(folder, data, me, "", true, true);
    auto lower = [](std::string s) {
        std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
        return s;
    };
    const std::string needle = lower(key);
    std::vector<std::string> found;
    std::error_code ec;
    for (auto it = fs::recursive_directory_iterator(m_d.abs(folder), ec);
         !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (lower(name).find(needle) != std::string::npos)
            found.push_back(fs::relative(it->path(), fs::path(m_d.root)).generic_string());
    }
    // Sorted as a folder of the group is (condition 0 last change, 2 name;
    // isSort ascending), folders first; otherwise by path.
    const int condition = static_cast<int>(jsonInt(data, "condition"));
    const bool ascending = jsonBool(data, "isSort");
    std::map<std::string, std::pair<bool, std::int64_t>> facts;
    for (const std::string& rel : found)
        facts[rel] = {fs::is_directory(m_d.abs(rel), ec), fileTimeMs(m_d.abs(rel))};
    std::sort(found.begin(), found.end(), [&](const std::string& a, const std::string& b) {
        if (condition != 0 && condition != 2)
            return a < b;
        if (facts[a].first != facts[b].first)
            return facts[a].first;
        const std::string na = fs::path(a).filename().string();
        const std::string nb = fs::path(b).filename().string();
        if (condition == 0 && facts[a].second != facts[b].second)
            return ascending ? facts[a].second < facts[b].second : facts[a].second > facts[b].second;
        if (na != nb)
            return ascending ? na < nb : na > nb;
        return a < b;
    });
    Json::Value items(Json::arrayValue);
    for (const std::string& rel : found) {
        Json::Value v = m_d.item(rel, me, "");
        v["groupId"] = g.id;
        items.append(v);
    }
    return envelope(1, "success", DeviceFiles::pageAt(items, jsonInt(data, "offset"), jsonInt(data, "pageSize", 60)));
}

std::string DeviceGroups::renameFile(const Json::Value& data, const std::string& me)
{
    Group g;
    std::string err = access(static_cast<int>(jsonInt(data, "groupId")), me, 1, g);
    if (!err.empty())
        return err;
    std::string rel;
    if (!itemOf(g, jsonInt(data, "fileId"), rel))
        return failure(kNotFound, "no such file in the group");
    const std::string name = jsonStr(data, "newFileName");
    if (!validName(name))
        return failure(kBadName, "invalid name");
    if (name == DeviceFiles::nameOf(rel))
        return envelope(1, "success", Json::Value(Json::objectValue));
    if (!m_files.move(rel, DeviceFiles::parentOf(rel), name))
        return failure(kNameExists, "the name is taken");
    touch(g.id);
    return envelope(1, "success", Json::Value(Json::objectValue));
}

std::string DeviceGroups::deleteFiles(const Json::Value& data, const std::string& me)
{
    Group g;
    std::string err = access(static_cast<int>(jsonInt(data, "groupId")), me, 1, g);
    if (!err.empty())
        return err;
    std::vector<std::string> rels;
    err = itemsOf(g, DeviceFiles::ids(data["fileIds"]), rels);
    if (!err.empty())
        return err;
    for (const std::string& rel : rels)
        m_files.remove(rel);
    touch(g.id);
    return envelope(1, "success", Json::Value(Json::objectValue));
}

std::string DeviceGroups::moveFile(const Json::Value& data, const std::string& me)
{
    Group g;
    std::string err = access(static_cast<int>(jsonInt(data, "groupId")), me, 1, g);
    if (!err.empty())
        return err;
    std::string rel, target;
    if (!itemOf(g, jsonInt(data, "movieFileId"), rel))
        return failure(kNotFound, "no such file in the group");
    if (!folderOf(g, jsonInt(data, "targetId"), target))
        return failure(kNotFound, "no such folder in the group");
    if (DeviceFiles::within(target, rel))
        return failure(kInsideSource, "target is inside source");
    if (DeviceFiles::parentOf(rel) == target)
        return envelope(1, "success", Json::Value(Json::objectValue));
    if (!m_files.move(rel, target, DeviceFiles::nameOf(rel)))
        return failure(kNameExists, "the target holds this name");
    touch(g.id);
    return envelope(1, "success", Json::Value(Json::objectValue));
}

std::string DeviceGroups::copyOut(const std::string& command, const Json::Value& data, const std::string& me)
{
    Group g;
    std::string err = access(static_cast<int>(jsonInt(data, "groupId")), me, 2, g);
    if (!err.empty())
        return err;
    std::vector<std::string> rels;
    err = itemsOf(g, DeviceFiles::ids(data[command == "copyPubToPeripheral" ? "ids" : "movieFileIds"]), rels);
    if (!err.empty())
        return err;
    std::string target;
    if (command == "copyPubToPeripheral") {
        std::string sub;
        if (!cleanRelative(jsonStr(data, "path"), sub))
            return failure(kBadName, "invalid path");
        target = joinRel(jsonBool(data, "isSamba") ? "samba" : "usb", sub);
        if (!m_files.isFolder(target))
            return failure(kNotFound, "no such folder on the disk");
    } else if (command == "pubCopyFileToPub") {
        Group to;
        err = access(static_cast<int>(jsonInt(data, "targetGroupId")), me, 1, to);
        if (!err.empty())
            return err;
        if (!folderOf(to, jsonInt(data, "targetId"), target))
            return failure(kNotFound, "no such folder in the target group");
    } else {
        const std::int64_t targetId = jsonInt(data, "targetId");
        if (!m_d.pathFor(targetId, target) || !m_files.isFolder(target)
            || DeviceFiles::within(target, "groups") || DeviceFiles::within(target, "usb")
            || DeviceFiles::within(target, "samba"))
            return failure(kNotFound, "no such folder in the personal space");
    }
    for (const std::string& rel : rels)
        if (DeviceFiles::within(target, rel))
            return failure(kInsideSource, "target is inside source");
    for (const std::string& rel : rels)
        if (m_files.copyInto(rel, target).empty())
            return failure(kNotFound, "copy failed");
    return envelope(1, "success", Json::Value(Json::objectValue));
}

// ---- test seeding ----------------------------------------------------------

int TestDeviceServer::addPubGroup(const std::string& name, const std::string& owner,
                                  const std::string& diskSerial)
{
    DeviceGroups* g = DeviceGroups::of(*d);
    return g ? g->addGroup(name, owner, diskSerial) : 0;
}

bool TestDeviceServer::setPubGroupMember(int groupId, const std::string& accessId, int authority)
{
    DeviceGroups* g = DeviceGroups::of(*d);
    return g && g->setMember(groupId, accessId, authority);
}

int TestDeviceServer::pubGroupCount() const
{
    DeviceGroups* g = DeviceGroups::of(*d);
    return g ? g->count() : 0;
}

std::string TestDeviceServer::pubGroupName(int groupId) const
{
    DeviceGroups::Group out;
    DeviceGroups* g = DeviceGroups::of(*d);
    return g && g->group(groupId, out) ? out.name : std::string();
}

std::string TestDeviceServer::pubGroupDisk(int groupId) const
{
    DeviceGroups::Group out;
    DeviceGroups* g = DeviceGroups::of(*d);
    return g && g->group(groupId, out) ? out.diskSerial : std::string();
}

int TestDeviceServer::pubGroupAuthority(int groupId, const std::string& accessId) const
{
    DeviceGroups::Group out;
    DeviceGroups* g = DeviceGroups::of(*d);
    if (!g || !g->group(groupId, out))
        return -1;
    for (const auto& m : out.members)
        if (m.accId == accessId)
            return m.authority;
    return -1;
}

std::string DeviceGroups::copyIn(const Json::Value& data, const std::string& me)
{
    Group g;
    std::string err = access(static_cast<int>(jsonInt(data, "targetGroupId")), me, 1, g);
    if (!err.empty())
        return err;
    std::string target;
    if (!folderOf(g, jsonInt(data, "targetId"), target))
        return failure(kNotFound, "no such folder in the group");
    std::vector<std::string> rels;
    for (std::int64_t id : DeviceFiles::ids(data["fileIds"])) {
        std::string rel;
        if (id == 0 || !m_d.pathFor(id, rel) || !m_files.exists(rel) || DeviceFiles::within(rel, "groups"))
            return failure(kNotFound, "no such file in the personal space");
        rels.push_back(rel);
    }
    if (rels.empty())
        return failure(kNotFound, "no file given");
    for (const std::string& rel : rels)
        if (m_files.copyInto(rel, target).empty())
            return failure(kNotFound, "copy failed");
    touch(g.id);
    return envelope(1, "success", Json::Value(Json::objectValue));
}
