#pragma once

// Internals of the test device server shared by its feature files: the
// storage, ids, faults and request log live in Impl; each group of device
// commands (public groups, shares, media, ...) is a TestDeviceFeature in a
// source file of its own.
#include "tools/testdeviceserver.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <sstream>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

#include <httplib.h>
#include <json/value.h>

#include "sdk/crypto.h"
#include "sdk/proto.h"

namespace fs = std::filesystem;
using sdk::cores::protocol::proto;

namespace tds {

inline constexpr const char* kIdFile = ".tw_ids";
inline constexpr const char* kUploadDir = ".tw_uploads";
inline constexpr const char* kStateFile = ".tw_state.json";
inline constexpr std::int64_t kMd5Limit = 64LL * 1024 * 1024;   // larger files list without MD5
inline constexpr std::size_t kChunk = 256 * 1024;

// Device error codes the file commands answer with.
inline constexpr int kNoRight = 403;
inline constexpr int kNotFound = 404;
inline constexpr int kBadName = 2005;
inline constexpr int kBadRequest = 2005;
inline constexpr int kNameExists = 2006;
inline constexpr int kInsideSource = 2009;

inline std::int64_t nowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
}

inline std::int64_t fileTimeMs(const fs::path& p)
{
    struct stat st;
    if (::stat(p.c_str(), &st) != 0)
        return 0;
    return static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
}

// Normalises a storage-relative path; false when it would leave the storage
// or names the server's own files.
inline bool cleanRelative(const std::string& in, std::string& out)
{
    out.clear();
    std::stringstream ss(in);
    std::string part;
    while (std::getline(ss, part, '/')) {
        if (part.empty() || part == ".")
            continue;
        if (part == ".." || part.rfind(".tw_", 0) == 0)
            return false;
        if (!out.empty())
            out += '/';
        out += part;
    }
    return true;
}

inline bool validName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos
        && name.find('\\') == std::string::npos && name.rfind(".tw_", 0) != 0;
}

inline std::string joinRel(const std::string& a, const std::string& b)
{
    if (a.empty())
        return b;
    if (b.empty())
        return a;
    return a + "/" + b;
}

inline std::string envelope(int result, const std::string& message, const Json::Value& data, int errCode = 0)
{
    Json::Value root(Json::objectValue);
    root["result"] = result;
    root["message"] = message;
    root["errCode"] = errCode;
    root["data"] = data;
    return proto::json_to_string(root);
}

inline std::string failure(int errCode, const std::string& message, const Json::Value& data = Json::Value(Json::objectValue))
{
    return envelope(0, message, data, errCode);
}

inline std::int64_t jsonInt(const Json::Value& v, const char* key, std::int64_t def = 0)
{
    const Json::Value& x = v[key];
    if (x.isIntegral())
        return x.asInt64();
    if (x.isDouble())
        return static_cast<std::int64_t>(x.asDouble());
    if (x.isString()) {
        try {
            return std::stoll(x.asString());
        } catch (...) {
            return def;
        }
    }
    if (x.isBool())
        return x.asBool() ? 1 : 0;
    return def;
}

inline bool jsonBool(const Json::Value& v, const char* key)
{
    const Json::Value& x = v[key];
    if (x.isBool())
        return x.asBool();
    if (x.isIntegral())
        return x.asInt64() != 0;
    if (x.isString())
        return x.asString() == "true" || x.asString() == "1";
    return false;
}

inline std::string jsonStr(const Json::Value& v, const char* key)
{
    const Json::Value& x = v[key];
    if (x.isString())
        return x.asString();
    if (x.isIntegral())
        return std::to_string(x.asInt64());
    return std::string();
}

inline std::string freeName(const fs::path& dir, const std::string& name)
{
    std::string stem = name;
    std::string ext;
    const std::size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) {
        stem = name.substr(0, dot);
        ext = name.substr(dot);
    }
    for (int i = 1;; ++i) {
        std::string candidate = stem + "(" + std::to_string(i) + ")" + ext;
        std::error_code ec;
        if (!fs::exists(dir / candidate, ec))
            return candidate;
    }
}


} // namespace tds

// One group of device commands with the state it keeps.
class TestDeviceFeature
{
public:
    virtual ~TestDeviceFeature() = default;
    // True when the command belongs to this feature; out is the answer.
    virtual bool command(const std::string& command, const Json::Value& data,
                         const std::string& accessId, std::string& out) = 0;
    // A download of the storage file rel (already checked to exist); true
    // when the feature answered it.
    virtual bool download(const httplib::Request& req, httplib::Response& res, const std::string& rel)
    {
        (void)req;
        (void)res;
        (void)rel;
        return false;
    }
    // True when the cloud path belongs to this feature; out is the answer.
    virtual bool cloud(const std::string& path, const Json::Value& body, std::string& out)
    {
        (void)path;
        (void)body;
        (void)out;
        return false;
    }
    // The state a device keeps across restarts, under stateKey() in the
    // state file; a feature without a key keeps nothing.
    virtual const char* stateKey() const { return nullptr; }
    virtual Json::Value saveState() const { return Json::Value(); }
    virtual void loadState(const Json::Value& state) { (void)state; }
};


class TestDeviceServer::Impl
{
public:
    enum class FaultKind { Status, Malformed, Delay, Cut, Stall, Refuse, Empty, Drop };
    struct Fault
    {
        FaultKind kind;
        int count = -1;
        std::string match;
        int value = 0;              // status, ms or errCode
        std::int64_t bytes = 0;
        std::string message;
    };
    struct Upload
    {
        std::string part;
        std::int64_t size = 0;
        std::string targetRel;      // folder
        std::string name;
        bool cover = false;
        bool done = false;
        std::int64_t fileId = 0;
        std::string finalName;
    };
    // Limits of one transfer body, taken from the faults when it starts.
    struct Shaping
    {
        std::int64_t cutAt = -1;
        std::int64_t stallAt = -1;
        std::int64_t rate = 0;
        std::uint64_t epoch = 0;
    };

    explicit Impl(const std::string& rootDir);
    // Made once by the constructor (testdeviceserverfeatures.cpp).
    void addFeatures();

    void setup(httplib::Server& svr, int listener);
    bool listen(int listener, int port);
    void stopListener(int listener);

    // ids
    std::int64_t idFor(const std::string& rel);
    bool pathFor(std::int64_t id, std::string& rel) const;
    void loadIds();
    void saveIdsLocked();

    // state file (features' state across restarts)
    bool loadState();
    void saveState();
    fs::path abs(const std::string& rel) const { return rel.empty() ? fs::path(root) : fs::path(root) / rel; }

    // faults
    bool takeFault(FaultKind kind, const std::string& path, const std::string& command, Fault& out);
    Shaping shaping();
    // Sleep ms, or until a time, unless the server stops; false when it stopped.
    bool pause(int ms);
    bool pauseUntil(std::chrono::steady_clock::time_point until);
    // Holds a stalled transfer until stop() or clearFaults().
    void stall(std::uint64_t epoch);
    void pace(const Shaping& s, std::int64_t sent, std::chrono::steady_clock::time_point start);

    void record(const httplib::Request& req, int listener, const std::string& command, const std::string& body);
    // Common front of every request: log, auth, status/malformed/delay
    // faults. True when the request was answered already.
    bool front(const httplib::Request& req, httplib::Response& res, int listener,
               const std::string& command, const std::string& body, bool deviceRequest);
    // A request carrying a link's token instead of the device's: only the
    // link's own files.
    // The file a download asks for, by id or by path; false when none.
    bool downloadFile(const httplib::Request& req, std::string& rel);
    bool linkAllows(const httplib::Request& req, const std::string& token,
                    const std::string& command, const std::string& body);

    // handlers
    void onCommand(const httplib::Request& req, httplib::Response& res, int listener);
    void onDownload(const httplib::Request& req, httplib::Response& res, int listener);
    void onStatic(const httplib::Request& req, httplib::Response& res, int listener);
    void onUploadCreate(const httplib::Request& req, httplib::Response& res, int listener);
    void onUploadData(const httplib::Request& req, httplib::Response& res,
                      const httplib::ContentReader& reader, int listener);
    void onCloud(const httplib::Request& req, httplib::Response& res, int listener);
    void serveFile(const httplib::Request& req, httplib::Response& res, const fs::path& file);

    std::string runCommand(const std::string& command, const Json::Value& data, const std::string& accessId);
    Json::Value item(const std::string& rel, const std::string& accessId, const std::string& diskPrefix);
    // sorted: the request's "condition" (0 last change, 1 creation, 2 name;
    // others keep name order) and "isSort" (ascending) order it, folders
    // first.
    std::string listing(const std::string& rel, const Json::Value& data, const std::string& accessId,
                        const std::string& diskPrefix, bool byOffset, bool sorted = false);
    std::string folderForId(std::int64_t id, bool safeBox, std::string& rel);
    std::string groupRoot(std::int64_t groupId);
    std::string createDir(const std::string& parentRel, const std::string& name, bool backNewName);
    std::string createChain(const std::string& parentRel, const Json::Value& names, bool external,
                            const std::string& externalPath);
    std::string md5Of(const fs::path& p, std::int64_t size, std::int64_t mtimeMs);
    using FolderNames = std::vector<std::pair<bool, std::string>>;   // (isFile, name)
    std::shared_ptr<const FolderNames> folderNames(const fs::path& dir, bool personalRoot);

    std::string root;
    mutable std::mutex mutex;
    std::string deviceId = "tw-test-device";
    std::string token;
    std::int64_t rootId = 0;
    std::int64_t nextId = 1000;
    std::map<std::string, std::int64_t> idByPath;
    std::map<std::int64_t, std::string> pathById;
    std::map<std::string, std::string> commandAnswers;
    std::map<std::string, std::string> cloudAnswers;
    std::map<std::string, std::deque<std::string>> queuedAnswers;
    std::vector<Fault> faults;
    std::int64_t rate = 0;
    std::uint64_t faultEpoch = 0;
    std::vector<Request> log;
    std::map<std::string, Upload> uploads;
    std::uint64_t uploadCounter = 0;
    std::map<std::string, std::pair<std::string, std::string>> md5Cache;   // rel -> (stamp, md5)
    struct KeptFolder
    {
        std::string key;
        ino_t ino;
        struct timespec mtime;
        std::shared_ptr<const FolderNames> names;
    };
    static constexpr std::size_t kKeptFolders = 4;
    static constexpr std::int64_t kSettledMs = 100;
    std::deque<KeptFolder> keptFolders;
    std::atomic<bool> persistent{false};
    std::mutex stateMutex;
    std::string savedState;   // the state file's text as last written

    // Asked in order before the built-in commands' "unknown command".
    std::vector<std::unique_ptr<TestDeviceFeature>> features;
    // The feature of type F, or null.
    template <class F>
    F* feature() const
    {
        for (const auto& f : features)
            if (auto* found = dynamic_cast<F*>(f.get()))
                return found;
        return nullptr;
    }

    std::condition_variable wake;
    std::atomic<bool> stopping{false};

    std::unique_ptr<httplib::Server> servers[2];
    std::thread threads[2];
    int ports[2] = {0, 0};
};
