#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>

#include "tools/testdeviceserverimpl.h"

// The media side of the test device: the media listing by category
// ("getFileFromClassForDate3"), favourites and thumbnail downloads of
// pictures scaled with Qt.
class TestDeviceMedia : public TestDeviceFeature
{
public:
    explicit TestDeviceMedia(TestDeviceServer::Impl& d) : d(d) {}

    bool command(const std::string& command, const Json::Value& data, const std::string& accessId,
                 std::string& out) override;
    bool download(const httplib::Request& req, httplib::Response& res, const std::string& rel) override;
    const char* stateKey() const override { return "favourites"; }
    Json::Value saveState() const override;
    void loadState(const Json::Value& state) override;

    // The thumbnail file of a stored picture or video (made once per file
    // version); "" for other files.
    std::string thumbnailFile(const std::string& rel, int mode);

    std::atomic<int> latencyMs{0};
    std::atomic<int> active{0};
    std::atomic<int> peak{0};
    mutable std::mutex mutex;
    std::set<std::string> loved;

private:
    std::string mediaList(const Json::Value& data, const std::string& accessId);

    TestDeviceServer::Impl& d;
    std::uint64_t linkCounter = 0;
};
