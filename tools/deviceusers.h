#pragma once

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tools/testdeviceserverimpl.h"

// The users of the device and its user groups: the names and pictures the
// group and share answers show, and the picker's lists. Other features find
// it with of().
class DeviceUsers : public TestDeviceFeature
{
public:
    struct User
    {
        std::string accessId;
        std::string markName;
        std::string headImg;
    };
    struct Group
    {
        int gId = 0;
        std::string gName;
        std::vector<std::string> members;
    };

    explicit DeviceUsers(TestDeviceServer::Impl& d) : m_d(d) {}
    static DeviceUsers* of(TestDeviceServer::Impl& d);

    bool command(const std::string& command, const Json::Value& data,
                 const std::string& accessId, std::string& out) override;

    void addUser(const std::string& accessId, const std::string& markName,
                 const std::string& headImg);
    void addGroup(int gId, const std::string& name, const std::vector<std::string>& members);
    // The known user, or one named after its accessId.
    User user(const std::string& accessId) const;
    std::vector<User> users() const;
    // {"accessId", "headImg", "markName", "userName"}
    Json::Value userJson(const std::string& accessId) const;

private:
    TestDeviceServer::Impl& m_d;
    mutable std::mutex m_mutex;
    std::vector<User> m_users;   // in the order added
    std::vector<Group> m_groups;
};
