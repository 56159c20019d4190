#include "tools/deviceusers.h"

using namespace tds;

DeviceUsers* DeviceUsers::of(TestDeviceServer::Impl& d)
{
    return d.feature<DeviceUsers>();
}

bool DeviceUsers::command(const std::string& command, const Json::Value&,
                          const std::string& accessId, std::string& out)
{
    if (command != "getShareUserAndGroupList")
        return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    Json::Value users(Json::arrayValue);
    for (const User& u : m_users) {
        if (u.accessId == accessId)
            continue;   // nobody shares with themselves
        Json::Value v(Json::objectValue);
        v["accessId"] = u.accessId;
        v["headImg"] = u.headImg;
        v["markName"] = u.markName;
        users.append(v);
    }
    Json::Value groups(Json::arrayValue);
    for (const Group& g : m_groups) {
        Json::Value v(Json::objectValue);
        v["gId"] = g.gId;
        v["gName"] = g.gName;
        Json::Value members(Json::arrayValue);
        for (const std::string& m : g.members) {
            Json::Value mv(Json::objectValue);
            mv["accessId"] = m;
            for (const User& u : m_users) {
                if (u.accessId == m) {
                    mv["headImg"] = u.headImg;
                    mv["markName"] = u.markName;
                }
            }
            members.append(mv);
        }
        v["members"] = members;
        groups.append(v);
    }
    Json::Value d(Json::objectValue);
    d["userList"] = users;
    d["groupList"] = groups;
    out = envelope(1, "success", d);
    return true;
}

void DeviceUsers::addUser(const std::string& accessId, const std::string& markName,
                          const std::string& headImg)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (User& u : m_users) {
        if (u.accessId == accessId) {
            u.markName = markName;
            u.headImg = headImg;
            return;
        }
    }
    m_users.push_back({accessId, markName, headImg});
}

void DeviceUsers::addGroup(int gId, const std::string& name, const std::vector<std::string>& members)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_groups.push_back({gId, name, members});
}

DeviceUsers::User DeviceUsers::user(const std::string& accessId) const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const User& u : m_users)
        if (u.accessId == accessId)
            return u;
    return {accessId, accessId, std::string()};
}

std::vector<DeviceUsers::User> DeviceUsers::users() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_users;
}

Json::Value DeviceUsers::userJson(const std::string& accessId) const
{
    const User u = user(accessId);
    Json::Value v(Json::objectValue);
    v["accessId"] = u.accessId;
    v["headImg"] = u.headImg;
    v["markName"] = u.markName;
    v["userName"] = u.markName;
    return v;
}

// ---- test seeding ----------------------------------------------------------

void TestDeviceServer::addDeviceUser(const std::string& accessId, const std::string& markName,
                                     const std::string& headImg)
{
    if (DeviceUsers* u = DeviceUsers::of(*d))
        u->addUser(accessId, markName, headImg);
}

void TestDeviceServer::addUserGroup(int gId, const std::string& name,
                                    const std::vector<std::string>& members)
{
    if (DeviceUsers* u = DeviceUsers::of(*d))
        u->addGroup(gId, name, members);
}
