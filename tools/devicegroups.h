#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tools/devicefiles.h"
#include "tools/testdeviceserverimpl.h"

// Public groups of the test device: the groups, their members with their
// rights (0 manager/owner, 1 editor, 2 browse) and the files in the group's
// folder "groups/<id>". Only members see a group; managers and editors
// change its files; the owner renames and deletes it and hands it over.
class DeviceGroups : public TestDeviceFeature
{
public:
    struct Member
    {
        std::string accId;
        int authority = 2;
        std::int64_t createTime = 0;
    };
    struct Group
    {
        int id = 0;
        std::string name;
        std::string owner;
        std::string diskSerial;
        std::int64_t createTime = 0;
        std::int64_t lastModified = 0;
        std::vector<Member> members;   // in the order they joined
    };

    explicit DeviceGroups(TestDeviceServer::Impl& d) : m_d(d), m_files(d) {}
    static DeviceGroups* of(TestDeviceServer::Impl& d);

    bool command(const std::string& command, const Json::Value& data,
                 const std::string& accessId, std::string& out) override;
    const char* stateKey() const override { return "groups"; }
    Json::Value saveState() const override;
    void loadState(const Json::Value& state) override;

    int addGroup(const std::string& name, const std::string& owner, const std::string& diskSerial);
    bool setMember(int gId, const std::string& accId, int authority);
    bool group(int gId, Group& out) const;
    int count() const;

private:
    std::string run(const std::string& command, const Json::Value& data, const std::string& me);
    std::string list(const Json::Value& data, const std::string& me);
    std::string memberList(const Json::Value& data, const std::string& me);
    std::string detail(const Json::Value& data, const std::string& me);
    std::string rename(const Json::Value& data, const std::string& me);
    std::string remove(const Json::Value& data, const std::string& me);
    std::string leave(const Json::Value& data, const std::string& me);
    std::string editMembers(const Json::Value& data, const std::string& me);
    std::string removeMembers(const Json::Value& data, const std::string& me);
    std::string changeOwner(const Json::Value& data, const std::string& me);
    std::string search(const Json::Value& data, const std::string& me);
    std::string renameFile(const Json::Value& data, const std::string& me);
    std::string deleteFiles(const Json::Value& data, const std::string& me);
    std::string moveFile(const Json::Value& data, const std::string& me);
    std::string copyIn(const Json::Value& data, const std::string& me);
    std::string copyOut(const std::string& command, const Json::Value& data, const std::string& me);

    // The group me may see, with me's right; an error answer otherwise.
    // minAuth: the highest right value allowed (0 manager only, 1 editors too).
    std::string access(int gId, const std::string& me, int minAuth, Group& out) const;
    // The storage path of an item of the group (not its top folder).
    bool itemOf(const Group& g, std::int64_t fileId, std::string& rel) const;
    // The storage paths of items of the group, all or an error answer.
    std::string itemsOf(const Group& g, const std::vector<std::int64_t>& fileIds,
                        std::vector<std::string>& rels) const;
    // A folder of the group: 0 (or the root id) is its top.
    bool folderOf(const Group& g, std::int64_t fileId, std::string& rel) const;
    Json::Value groupJson(const Group& g, const std::string& me) const;
    // Removes the members for which gone holds; the answer.
    std::string dropMembers(int gId, const std::function<bool(const Member&)>& gone);
    void touch(int gId);

    TestDeviceServer::Impl& m_d;
    DeviceFiles m_files;
    mutable std::mutex m_mutex;
    std::map<int, Group> m_groups;
    int m_nextId = 100;
};
