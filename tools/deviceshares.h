#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "tools/devicefiles.h"
#include "tools/testdeviceserverimpl.h"

// Files users of the test device share with each other: to all users or to
// chosen ones. The first user to share an item owns its share; only that
// user changes or cancels it. Lists are paged by page number with a page
// size of the device's own (60 unless a test sets another). Also copies a
// personal or shared item into a personal folder ("copyDirOrFile").
class DeviceShares : public TestDeviceFeature
{
public:
    struct Share
    {
        std::string sharer;
        bool toAll = false;
        std::set<std::string> users;
        std::int64_t shareTime = 0;
    };

    explicit DeviceShares(TestDeviceServer::Impl& d) : m_d(d), m_files(d) {}
    static DeviceShares* of(TestDeviceServer::Impl& d);

    bool command(const std::string& command, const Json::Value& data,
                 const std::string& accessId, std::string& out) override;
    const char* stateKey() const override { return "shares"; }
    Json::Value saveState() const override;
    void loadState(const Json::Value& state) override;

    // users empty: to all.
    bool share(std::int64_t fileId, const std::string& sharer, const std::set<std::string>& users);
    bool isShared(std::int64_t fileId) const;
    void setPageSize(int size);

private:
    struct Entry
    {
        std::int64_t id;
        std::string rel;
        Share share;
    };
    std::string setShares(const Json::Value& data, const std::string& me, bool toAll);
    std::string cancel(const Json::Value& data, const std::string& me);
    // Shared items that exist, newest first (isSort: oldest first), that
    // keep(entry) accepts.
    template <typename Keep>
    std::vector<Entry> entries(bool oldestFirst, Keep keep) const;
    bool visible(const Share& s, const std::string& me) const;
    std::string fileList(const std::vector<Entry>& list, std::int64_t pageNo, bool withUsers);
    std::string folder(const Json::Value& data, const std::string& me);
    std::string userList(const Json::Value& data, const std::string& me);
    std::string copy(const Json::Value& data, const std::string& me);

    TestDeviceServer::Impl& m_d;
    DeviceFiles m_files;
    mutable std::mutex m_mutex;
    std::map<std::int64_t, Share> m_shares;
    std::int64_t m_lastTime = 0;
    int m_pageSize = 60;
};
