#include "tools/testdeviceserverimpl.h"

using namespace tds;
TestDeviceServer::Impl::Impl(const std::string& rootDir)
    : root(fs::absolute(rootDir).lexically_normal().string())
{
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    std::error_code ec;
    fs::create_directories(root, ec);
    fs::create_directories(fs::path(root) / kUploadDir, ec);
    loadIds();
    addFeatures();
}

void TestDeviceServer::Impl::loadIds()
{
    std::ifstream in(fs::path(root) / kIdFile);
    if (!in)
        return;
    std::stringstream ss;
    ss << in.rdbuf();
    Json::Value v;
    if (!proto::json_from_string(ss.str(), v) || !v.isObject())
        return;
    nextId = std::max<std::int64_t>(1000, jsonInt(v, "nextId", 1000));
    const Json::Value& ids = v["ids"];
    if (!ids.isObject())
        return;
    for (const std::string& key : ids.getMemberNames()) {
        const std::int64_t id = ids[key].asInt64();
        idByPath[key] = id;
        pathById[id] = key;
        nextId = std::max(nextId, id + 1);
    }
}

void TestDeviceServer::Impl::saveIdsLocked()
{
    Json::Value v(Json::objectValue);
    v["nextId"] = Json::Int64(nextId);
    Json::Value ids(Json::objectValue);
    for (const auto& p : idByPath)
        ids[p.first] = Json::Int64(p.second);
    v["ids"] = ids;
    const fs::path file = fs::path(root) / kIdFile;
    const fs::path tmp = fs::path(root) / ".tw_ids.tmp";
    {
        std::ofstream out(tmp, std::ios::trunc);
        out << proto::json_to_string(v);
    }
    std::error_code ec;
    fs::rename(tmp, file, ec);
}

std::int64_t TestDeviceServer::Impl::idFor(const std::string& rel)
{
    std::lock_guard<std::mutex> lock(mutex);
    if (rel.empty())
        return rootId;
    auto it = idByPath.find(rel);
    if (it != idByPath.end())
        return it->second;
    const std::int64_t id = nextId++;
    idByPath[rel] = id;
    pathById[id] = rel;
    saveIdsLocked();
    return id;
}

bool TestDeviceServer::Impl::pathFor(std::int64_t id, std::string& rel) const
{
    std::lock_guard<std::mutex> lock(mutex);
    if (id == 0 || id == rootId) {
        rel.clear();
        return true;
    }
    auto it = pathById.find(id);
    if (it == pathById.end())
        return false;
    rel = it->second;
    return true;
}

bool TestDeviceServer::Impl::takeFault(FaultKind kind, const std::string& path, const std::string& command,
                                       Fault& out)
{
    std::lock_guard<std::mutex> lock(mutex);
    for (auto it = faults.begin(); it != faults.end(); ++it) {
        if (it->kind != kind || it->count == 0)
            continue;
        const bool hit = it->match.empty()
            || (it->match[0] == '/' ? path.rfind(it->match, 0) == 0 : it->match == command);
        if (!hit)
            continue;
        out = *it;
        if (it->count > 0 && --it->count == 0)
            faults.erase(it);
        return true;
    }
    return false;
}

TestDeviceServer::Impl::Shaping TestDeviceServer::Impl::shaping()
{
    Shaping s;
    Fault f;
    if (takeFault(FaultKind::Cut, "", "", f))
        s.cutAt = f.bytes;
    if (takeFault(FaultKind::Stall, "", "", f))
        s.stallAt = f.bytes;
    std::lock_guard<std::mutex> lock(mutex);
    s.rate = rate;
    s.epoch = faultEpoch;
    return s;
}

bool TestDeviceServer::Impl::pause(int ms)
{
    std::unique_lock<std::mutex> lock(mutex);
    return !wake.wait_for(lock, std::chrono::milliseconds(ms), [this] { return stopping.load(); });
}

void TestDeviceServer::Impl::stall(std::uint64_t epoch)
{
    std::unique_lock<std::mutex> lock(mutex);
    wake.wait(lock, [&] { return stopping.load() || faultEpoch != epoch; });
}

void TestDeviceServer::Impl::pace(const Shaping& s, std::int64_t sent,
                                  std::chrono::steady_clock::time_point start)
{
    if (s.rate <= 0)
        return;
    const auto due = start + std::chrono::microseconds(sent * 1000000 / s.rate);
    const auto now = std::chrono::steady_clock::now();
    if (due > now)
        pause(static_cast<int>(std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count()) + 1);
}

void TestDeviceServer::Impl::record(const httplib::Request& req, int listener, const std::string& command,
                                    const std::string& body)
{
    Request r;
    r.method = req.method;
    r.path = req.path;
    const std::size_t q = req.target.find('?');
    r.query = q == std::string::npos ? std::string() : req.target.substr(q + 1);
    r.command = command;
    r.range = req.get_header_value("Range");
    r.body = body;
    r.token = req.has_header("X-Link-Token") ? req.get_header_value("X-Link-Token")
                                              : req.get_header_value("X-Token");
    r.listener = listener;
    std::lock_guard<std::mutex> lock(mutex);
    log.push_back(std::move(r));
}

bool TestDeviceServer::Impl::front(const httplib::Request& req, httplib::Response& res, int listener,
                                   const std::string& command, const std::string& body, bool deviceRequest)
{
    record(req, listener, command, body);
    if (deviceRequest) {
        std::string want;
        {
            std::lock_guard<std::mutex> lock(mutex);
            want = token;
        }
        const std::string got = req.has_header("X-Link-Token") ? req.get_header_value("X-Link-Token")
                                                                : req.get_header_value("X-Token");
        if (!want.empty() && got != want) {
            res.status = 401;
            res.set_content(failure(401, "token refused"), "application/json");
            return true;
        }
    }
    Fault f;
    if (takeFault(FaultKind::Delay, req.path, command, f))
        pause(f.value);
    if (takeFault(FaultKind::Status, req.path, command, f)) {
        res.status = f.value;
        res.set_content(failure(f.value, "injected failure"), "application/json");
        return true;
    }
    if (takeFault(FaultKind::Malformed, req.path, command, f)) {
        res.status = 200;
        res.set_content("{\"result\": 1, \"data\": {\"listPath\": [", "application/json");
        return true;
    }
    return false;
}

void TestDeviceServer::Impl::setup(httplib::Server& svr, int listener)
{
    svr.new_task_queue = [] { return new httplib::ThreadPool(64); };
    svr.set_keep_alive_max_count(1000);
    svr.set_read_timeout(30, 0);
    svr.set_write_timeout(30, 0);
    svr.set_payload_max_length(std::numeric_limits<std::size_t>::max());
    svr.Post("/device/directTransfer.json", [this, listener](const httplib::Request& req, httplib::Response& res) {
        onCommand(req, res, listener);
    });
    svr.Get("/device/download", [this, listener](const httplib::Request& req, httplib::Response& res) {
        onDownload(req, res, listener);
    });
    svr.Get(R"(/static/(.*))", [this, listener](const httplib::Request& req, httplib::Response& res) {
        onStatic(req, res, listener);
    });
    svr.Post("/device/upload/create", [this, listener](const httplib::Request& req, httplib::Response& res) {
        onUploadCreate(req, res, listener);
    });
    svr.Put("/device/upload/data", [this, listener](const httplib::Request& req, httplib::Response& res,
                                                    const httplib::ContentReader& reader) {
        onUploadData(req, res, reader, listener);
    });
    svr.Post(R"(/api/v2/.*)", [this, listener](const httplib::Request& req, httplib::Response& res) {
        onCloud(req, res, listener);
    });
    svr.Get(R"(/api/v2/.*)", [this, listener](const httplib::Request& req, httplib::Response& res) {
        onCloud(req, res, listener);
    });
}

bool TestDeviceServer::Impl::listen(int listener, int port)
{
    stopListener(listener);
    stopping.store(false);
    auto svr = std::make_unique<httplib::Server>();
    setup(*svr, listener);
    int bound = port > 0 ? (svr->bind_to_port("127.0.0.1", port) ? port : -1)
                         : svr->bind_to_any_port("127.0.0.1");
    if (bound <= 0)
        return false;
    httplib::Server* raw = svr.get();
    servers[listener] = std::move(svr);
    ports[listener] = bound;
    threads[listener] = std::thread([raw] { raw->listen_after_bind(); });
    while (!raw->is_running())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void TestDeviceServer::Impl::stopListener(int listener)
{
    if (servers[listener])
        servers[listener]->stop();
    if (threads[listener].joinable())
        threads[listener].join();
    servers[listener].reset();
    ports[listener] = 0;
}

// ---- device commands -------------------------------------------------------

void TestDeviceServer::Impl::onCommand(const httplib::Request& req, httplib::Response& res, int listener)
{
    Json::Value root;
    const bool ok = proto::json_from_string(req.body, root) && root.isObject();
    const std::string command = ok ? jsonStr(root, "command") : std::string();
    if (front(req, res, listener, command, req.body, true))
        return;
    if (!ok || command.empty()) {
        res.status = 400;
        res.set_content(failure(400, "request is not a command"), "application/json");
        return;
    }
    std::string canned;
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto queued = queuedAnswers.find(command);
        if (queued != queuedAnswers.end() && !queued->second.empty()) {
            canned = queued->second.front();
            queued->second.pop_front();
        }
        auto it = commandAnswers.find(command);
        if (canned.empty() && it != commandAnswers.end())
            canned = it->second;
    }
    const std::string answer = !canned.empty()
        ? canned
        : runCommand(command, root["data"].isObject() ? root["data"] : Json::Value(Json::objectValue),
                     req.get_header_value("X-Access-Id"));
    res.status = 200;
    res.set_content(answer, "application/json");
}

std::string TestDeviceServer::Impl::md5Of(const fs::path& p, std::int64_t size)
{
    if (size > kMd5Limit)
        return std::string();
    const std::string stamp = std::to_string(size) + ":" + std::to_string(fileTimeMs(p));
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = md5Cache.find(p.string());
        if (it != md5Cache.end() && it->second.first == stamp)
            return it->second.second;
    }
    std::ifstream in(p, std::ios::binary);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string md5 = sdk::cores::crypto::md5(content);
    std::lock_guard<std::mutex> lock(mutex);
    md5Cache[p.string()] = {stamp, md5};
    return md5;
}

Json::Value TestDeviceServer::Impl::item(const std::string& rel, const std::string& accessId,
                                         const std::string& diskPrefix)
{
    const fs::path p = abs(rel);
    std::error_code ec;
    const bool isFile = fs::is_regular_file(p, ec);
    const std::int64_t len = isFile ? static_cast<std::int64_t>(fs::file_size(p, ec)) : 0;
    Json::Value v(Json::objectValue);
    v["id"] = Json::Int64(idFor(rel));
    v["name"] = p.filename().string();
    v["isFile"] = isFile;
    v["fileLen"] = Json::Int64(len);
    v["size"] = Json::Int64(len);
    // On an attached disk filePath is the path on the disk and url the path
    // on the device; elsewhere filePath is the path on the device.
    if (!diskPrefix.empty()) {
        v["filePath"] = rel.size() > diskPrefix.size() ? rel.substr(diskPrefix.size()) : "/";
        v["url"] = "/" + rel;
    } else {
        v["filePath"] = "/" + rel;
        v["url"] = "";
    }
    v["fileMd5"] = isFile ? md5Of(p, len) : std::string();
    v["lastModified"] = Json::Int64(fileTimeMs(p));
    v["createTime"] = Json::Int64(fileTimeMs(p));
    v["ower"] = accessId;
    v["fileCatetory"] = 0;
    v["groupId"] = 0;
    v["status"] = 1;
    v["downStatus"] = 1;
    v["isCollect"] = 0;
    v["publicType"] = 1;
    v["labelId"] = "";
    v["mime_type"] = "";
    return v;
}

std::string TestDeviceServer::Impl::listing(const std::string& rel, const Json::Value& data,
                                            const std::string& accessId, const std::string& diskPrefix,
                                            bool byOffset)
{
    const fs::path dir = abs(rel);
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        return failure(404, "folder does not exist");
    std::vector<std::pair<bool, std::string>> names;   // (isFile, name)
    for (const auto& e : fs::directory_iterator(dir, ec)) {
        const std::string name = e.path().filename().string();
        if (name.rfind(".tw_", 0) == 0)
            continue;
        std::error_code ec2;
        names.emplace_back(!e.is_directory(ec2), name);
    }
    std::sort(names.begin(), names.end());
    std::int64_t pageSize = jsonInt(data, "pageSize", 60);
    if (pageSize <= 0)
        pageSize = 60;
    const std::int64_t total = static_cast<std::int64_t>(names.size());
    std::int64_t first;
    Json::Value out(Json::objectValue);
    if (byOffset) {
        first = std::max<std::int64_t>(0, jsonInt(data, "offset", 0));
        out["offset"] = Json::Int64(first);
    } else {
        const std::int64_t pageNo = std::max<std::int64_t>(1, jsonInt(data, "pageNo", 1));
        first = (pageNo - 1) * pageSize;
        out["pageNo"] = Json::Int64(pageNo);
    }
    Json::Value list(Json::arrayValue);
    for (std::int64_t i = first; i < total && i < first + pageSize; ++i)
        list.append(item(joinRel(rel, names[static_cast<std::size_t>(i)].second), accessId, diskPrefix));
    out["listPath"] = list;
    out["totalNum"] = Json::Int64(total);
    out["totalPages"] = Json::Int64((total + pageSize - 1) / pageSize);
    return envelope(1, "success", out);
}

std::string TestDeviceServer::Impl::folderForId(std::int64_t id, bool safeBox, std::string& rel)
{
    if (!pathFor(id, rel))
        return failure(404, "no such folder");
    if (rel.empty() && safeBox)
        rel = "safebox";
    std::error_code ec;
    if (safeBox)
        fs::create_directories(abs(rel), ec);
    if (!fs::is_directory(abs(rel), ec))
        return failure(404, "not a folder");
    return std::string();
}

// A group's top folder, made on first use.
std::string TestDeviceServer::Impl::groupRoot(std::int64_t groupId)
{
    const std::string rel = "groups/" + std::to_string(groupId);
    std::error_code ec;
    fs::create_directories(abs(rel), ec);
    return rel;
}

std::string TestDeviceServer::Impl::createDir(const std::string& parentRel, const std::string& name,
                                              bool backNewName)
{
    if (!validName(name))
        return failure(2005, "invalid folder name");
    const fs::path parent = abs(parentRel);
    std::error_code ec;
    if (!fs::is_directory(parent, ec))
        return failure(2005, "parent is not a folder");
    const fs::path target = parent / name;
    if (fs::exists(target, ec)) {
        if (backNewName) {
            Json::Value d(Json::objectValue);
            d["backNewName"] = freeName(parent, name);
            return failure(2007, "name exists", d);
        }
        if (!fs::is_directory(target, ec))
            return failure(2006, "a file has this name");
        Json::Value d(Json::objectValue);
        d["dirId"] = Json::Int64(idFor(joinRel(parentRel, name)));
        return envelope(1, "success", d);
    }
    if (!fs::create_directory(target, ec))
        return failure(2005, "cannot create folder: " + ec.message());
    Json::Value d(Json::objectValue);
    d["dirId"] = Json::Int64(idFor(joinRel(parentRel, name)));
    d["backNewName"] = "";
    return envelope(1, "success", d);
}

std::string TestDeviceServer::Impl::createChain(const std::string& parentRel, const Json::Value& names,
                                                bool external, const std::string& externalPath)
{
    if (!names.isArray() || names.empty())
        return failure(2005, "no folder names");
    std::error_code ec;
    if (!fs::is_directory(abs(parentRel), ec))
        return failure(2005, "parent is not a folder");
    std::string rel = parentRel;
    for (const Json::Value& n : names) {
        const std::string name = n.isString() ? n.asString() : std::string();
        if (!validName(name))
            return failure(2005, "invalid folder name");
        rel = joinRel(rel, name);
        const fs::path p = abs(rel);
        if (fs::exists(p, ec) && !fs::is_directory(p, ec))
            return failure(2006, "a file has this name");
        fs::create_directory(p, ec);
        if (!fs::is_directory(p, ec))
            return failure(2005, "cannot create folder");
    }
    Json::Value d(Json::objectValue);
    if (external) {
        std::string path = externalPath;
        while (!path.empty() && path.back() == '/')
            path.pop_back();
        for (const Json::Value& n : names)
            path += "/" + n.asString();
        d["path"] = path;
    } else {
        d["dirId"] = Json::Int64(idFor(rel));
    }
    return envelope(1, "success", d);
}

std::string TestDeviceServer::Impl::runCommand(const std::string& command, const Json::Value& data,
                                               const std::string& accessId)
{
    if (command == "ping") {
        Json::Value d(Json::objectValue);
        std::lock_guard<std::mutex> lock(mutex);
        d["deviceId"] = deviceId;
        return envelope(1, "success", d);
    }
    if (command == "getDirPath" || command == "getUserShareFilesForDir" || command == "getLinkDirPath") {
        std::string rel;
        const std::string err = folderForId(jsonInt(data, "fileId"),
                                            command == "getDirPath" && jsonBool(data, "isSafetyBox"), rel);
        return err.empty() ? listing(rel, data, accessId, "", false) : err;
    }
    if (command == "getUDiskPath" || command == "getSDPath" || command == "getSambPath") {
        const std::string disk = command == "getUDiskPath" ? "usb" : command == "getSDPath" ? "sd" : "samba";
        std::string sub;
        if (!cleanRelative(jsonStr(data, "path"), sub))
            return failure(2005, "invalid path");
        std::error_code ec;
        fs::create_directories(abs(disk), ec);
        return listing(joinRel(disk, sub), data, accessId, disk, false);
    }
    if (command == "getPubFileList") {
        const std::int64_t groupId = jsonInt(data, "groupId");
        const std::string group = "groups/" + std::to_string(groupId);
        std::string rel = group;
        const std::int64_t fileId = jsonInt(data, "fileId");
        if (fileId == 0 || fileId == rootId) {
            groupRoot(groupId);
        } else if (!pathFor(fileId, rel) || rel.rfind(group + "/", 0) != 0) {
            return failure(404, "no such folder in the group");
        }
        return listing(rel, data, accessId, "", true);
    }
    if (command == "createDir" || command == "createPubDir") {
        std::string parent;
        const std::int64_t parentId = jsonInt(data, "parentId");
        if (command == "createPubDir" && (parentId == 0 || parentId == rootId)) {
            parent = groupRoot(jsonInt(data, "groupId"));
        } else {
            const std::string err = folderForId(parentId, command == "createDir" && jsonBool(data, "isSafeBox"), parent);
            if (!err.empty())
                return err;
        }
        return createDir(parent, jsonStr(data, "dirName"), jsonBool(data, "backNewName"));
    }
    if (command == "createDirs" || command == "createPubDirs") {
        std::string parent;
        const std::int64_t parentId = jsonInt(data, "parentId");
        if (command == "createPubDirs" && (parentId == 0 || parentId == rootId)) {
            parent = groupRoot(jsonInt(data, "groupId"));
        } else {
            const std::string err = folderForId(parentId, false, parent);
            if (!err.empty())
                return err;
        }
        return createChain(parent, data["folderNames"], false, std::string());
    }
    if (command == "createExternalDirs") {
        const std::string externalPath = jsonStr(data, "externalPath");
        std::string parent;
        if (!cleanRelative(externalPath, parent))
            return failure(2005, "invalid path");
        return createChain(parent, data["folderNames"], true, externalPath);
    }
    std::string out;
    for (const auto& f : features)
        if (f->command(command, data, accessId, out))
            return out;
    return failure(404, "unknown command " + command);
}

// ---- downloads -------------------------------------------------------------

void TestDeviceServer::Impl::onDownload(const httplib::Request& req, httplib::Response& res, int listener)
{
    if (front(req, res, listener, std::string(), std::string(), true))
        return;
    std::string rel;
    bool found = false;
    if (req.has_param("fileId")) {
        std::int64_t id = 0;
        try {
            id = std::stoll(req.get_param_value("fileId"));
        } catch (...) {
            id = -1;
        }
        found = id != 0 && id != rootId && pathFor(id, rel);
    } else {
        const std::string url = req.get_param_value("url");
        const std::string path = req.get_param_value("path");
        found = url.empty() ? cleanRelative("usb/" + path, rel) : cleanRelative(url, rel);
    }
    std::error_code ec;
    if (!found || rel.empty() || !fs::is_regular_file(abs(rel), ec)) {
        res.status = 404;
        res.set_content(failure(404, "file does not exist"), "application/json");
        return;
    }
    serveFile(req, res, abs(rel));
}

void TestDeviceServer::Impl::onStatic(const httplib::Request& req, httplib::Response& res, int listener)
{
    if (front(req, res, listener, std::string(), std::string(), false))
        return;
    std::string rel;
    std::error_code ec;
    if (!cleanRelative(req.matches[1].str(), rel) || rel.empty() || !fs::is_regular_file(abs(rel), ec)) {
        res.status = 404;
        res.set_content("not found", "text/plain");
        return;
    }
    serveFile(req, res, abs(rel));
}

void TestDeviceServer::Impl::serveFile(const httplib::Request& req, httplib::Response& res, const fs::path& file)
{
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0) {
        if (fd >= 0)
            ::close(fd);
        res.status = 500;
        res.set_content(failure(500, "cannot open"), "application/json");
        return;
    }
    const std::int64_t size = st.st_size;
    std::int64_t first = 0;
    // Ranges are answered here, so the library's own range handling must not
    // apply them a second time.
    const_cast<httplib::Request&>(req).ranges.clear();
    const std::string range = req.get_header_value("Range");
    if (!range.empty()) {
        long long a = -1;
        if (std::sscanf(range.c_str(), "bytes=%lld-", &a) != 1 || a < 0) {
            ::close(fd);
            res.status = 416;
            res.set_header("Content-Range", "bytes */" + std::to_string(size));
            return;
        }
        if (a >= size) {
            ::close(fd);
            res.status = 416;
            res.set_header("Content-Range", "bytes */" + std::to_string(size));
            res.set_content("", "text/plain");
            return;
        }
        first = a;
        res.status = 206;
        res.set_header("Content-Range", "bytes " + std::to_string(first) + "-" + std::to_string(size - 1) + "/"
                                            + std::to_string(size));
    } else {
        res.status = 200;
    }
    const std::int64_t length = size - first;
    const Shaping shape = shaping();
    const auto start = std::chrono::steady_clock::now();
    auto fdHolder = std::shared_ptr<int>(new int(fd), [](int* p) {
        ::close(*p);
        delete p;
    });
    auto buffer = std::make_shared<std::vector<char>>(kChunk);
    res.set_content_provider(
        static_cast<std::size_t>(length), "application/octet-stream",
        [this, fdHolder, buffer, first, shape, start](std::size_t offset, std::size_t want, httplib::DataSink& sink) {
            const std::int64_t sent = static_cast<std::int64_t>(offset);
            if (stopping.load())
                return false;
            if (shape.stallAt >= 0 && sent >= shape.stallAt) {
                stall(shape.epoch);
                return false;
            }
            if (shape.cutAt >= 0 && sent >= shape.cutAt)
                return false;
            std::size_t n = std::min(want, buffer->size());
            if (shape.cutAt >= 0)
                n = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(n), shape.cutAt - sent));
            if (shape.stallAt >= 0)
                n = static_cast<std::size_t>(std::min<std::int64_t>(static_cast<std::int64_t>(n), shape.stallAt - sent));
            if (shape.rate > 0)
                n = std::min<std::size_t>(n, static_cast<std::size_t>(std::max<std::int64_t>(1024, shape.rate / 20)));
            const ssize_t got = ::pread(*fdHolder, buffer->data(), n, static_cast<off_t>(first + sent));
            if (got <= 0)
                return false;
            if (!sink.write(buffer->data(), static_cast<std::size_t>(got)))
                return false;
            pace(shape, sent + got, start);
            return true;
        });
}

// ---- uploads ---------------------------------------------------------------

void TestDeviceServer::Impl::onUploadCreate(const httplib::Request& req, httplib::Response& res, int listener)
{
    if (front(req, res, listener, std::string(), req.body, true))
        return;
    res.status = 200;
    Json::Value d;
    if (!proto::json_from_string(req.body, d) || !d.isObject()) {
        res.set_content(failure(400, "request is not JSON"), "application/json");
        return;
    }
    Fault f;
    if (takeFault(FaultKind::Refuse, req.path, std::string(), f)) {
        res.set_content(failure(f.value, f.message), "application/json");
        return;
    }
    const std::string name = jsonStr(d, "fileName");
    const std::int64_t size = jsonInt(d, "fileSize", -1);
    if (!validName(name) || size < 0) {
        res.set_content(failure(2005, "invalid file name or size"), "application/json");
        return;
    }
    const std::string taskId = jsonStr(d, "taskId");
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = uploads.find(taskId);
        if (!taskId.empty() && it != uploads.end() && it->second.size == size && it->second.name == name) {
            std::error_code ec;
            const std::int64_t held = it->second.done ? size
                                                      : static_cast<std::int64_t>(fs::exists(it->second.part, ec)
                                                                                      ? fs::file_size(it->second.part, ec)
                                                                                      : 0);
            Json::Value out(Json::objectValue);
            out["taskId"] = taskId;
            out["offset"] = Json::Int64(std::min(held, size));
            res.set_content(envelope(1, "success", out), "application/json");
            return;
        }
    }
    // Target folder.
    std::string target;
    if (jsonBool(d, "isExternal")) {
        if (!cleanRelative(jsonStr(d, "externalPath"), target)) {
            res.set_content(failure(2005, "invalid external path"), "application/json");
            return;
        }
    } else if (jsonInt(d, "uploadType") == 1 && (jsonInt(d, "dirId") == 0 || jsonInt(d, "dirId") == rootId)) {
        target = groupRoot(jsonInt(d, "groupId"));
    } else {
        const std::string err = folderForId(jsonInt(d, "dirId"), jsonBool(d, "isSafeBox"), target);
        if (!err.empty()) {
            res.set_content(err, "application/json");
            return;
        }
    }
    std::error_code ec;
    if (!fs::is_directory(abs(target), ec)) {
        res.set_content(failure(404, "target folder does not exist"), "application/json");
        return;
    }
    Upload up;
    up.size = size;
    up.targetRel = target;
    up.name = name;
    up.cover = jsonInt(d, "isCover") != 0;
    std::string id;
    {
        std::lock_guard<std::mutex> lock(mutex);
        id = "up" + std::to_string(nowMs()) + "-" + std::to_string(++uploadCounter);
        up.part = (fs::path(root) / kUploadDir / (id + ".part")).string();
        uploads[id] = up;
    }
    std::ofstream(up.part, std::ios::trunc | std::ios::binary);
    Json::Value out(Json::objectValue);
    out["taskId"] = id;
    out["offset"] = 0;
    res.set_content(envelope(1, "success", out), "application/json");
}

void TestDeviceServer::Impl::onUploadData(const httplib::Request& req, httplib::Response& res,
                                          const httplib::ContentReader& reader, int listener)
{
    const std::string taskId = req.get_param_value("taskId");
    std::int64_t offset = -1;
    try {
        offset = std::stoll(req.get_param_value("offset"));
    } catch (...) {
        offset = -1;
    }
    std::int64_t received = 0;
    bool frontAnswered = front(req, res, listener, std::string(), "<data>", true);
    Upload up;
    bool known = false;
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = uploads.find(taskId);
        if (it != uploads.end()) {
            up = it->second;
            known = true;
        }
    }
    if (frontAnswered || !known || offset < 0 || offset > up.size) {
        // Drain the body so the answer reaches the client.
        reader([&](const char*, std::size_t n) {
            received += static_cast<std::int64_t>(n);
            return true;
        });
        if (!frontAnswered) {
            res.status = 200;
            res.set_content(failure(known ? 416 : 404, known ? "bad offset" : "unknown task"), "application/json");
        }
        return;
    }
    if (up.done) {
        // Stored already (the answer to the last data request was lost):
        // answer the stored file again.
        reader([](const char*, std::size_t) { return true; });
        Json::Value out(Json::objectValue);
        out["fileId"] = Json::Int64(up.fileId);
        out["name"] = up.finalName;
        res.status = 200;
        res.set_content(envelope(1, "success", out), "application/json");
        return;
    }
    const int fd = ::open(up.part.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || offset > st.st_size) {
        if (fd >= 0)
            ::close(fd);
        reader([](const char*, std::size_t) { return true; });
        res.status = 200;
        res.set_content(failure(416, "offset beyond what the device holds"), "application/json");
        return;
    }
    if (::ftruncate(fd, offset) != 0) {
        ::close(fd);
        res.status = 500;
        res.set_content(failure(500, "cannot write"), "application/json");
        return;
    }
    const Shaping shape = shaping();
    const auto start = std::chrono::steady_clock::now();
    std::int64_t pos = offset;
    bool writeFailed = false;
    const bool complete = reader([&](const char* data, std::size_t n) {
        if (stopping.load())
            return false;
        if (shape.stallAt >= 0 && received + static_cast<std::int64_t>(n) > shape.stallAt) {
            const std::size_t keep = static_cast<std::size_t>(std::max<std::int64_t>(0, shape.stallAt - received));
            if (::pwrite(fd, data, keep, pos) == static_cast<ssize_t>(keep))
                pos += static_cast<std::int64_t>(keep);
            stall(shape.epoch);
            return false;
        }
        if (shape.cutAt >= 0 && received + static_cast<std::int64_t>(n) > shape.cutAt) {
            const std::size_t keep = static_cast<std::size_t>(std::max<std::int64_t>(0, shape.cutAt - received));
            if (::pwrite(fd, data, keep, pos) == static_cast<ssize_t>(keep))
                pos += static_cast<std::int64_t>(keep);
            return false;
        }
        if (pos + static_cast<std::int64_t>(n) > up.size) {
            writeFailed = true;   // more than announced
            return false;
        }
        std::size_t done = 0;
        while (done < n) {
            const ssize_t w = ::pwrite(fd, data + done, n - done, pos);
            if (w <= 0) {
                writeFailed = true;
                return false;
            }
            done += static_cast<std::size_t>(w);
            pos += w;
        }
        received += static_cast<std::int64_t>(n);
        pace(shape, received, start);
        return true;
    });
    ::close(fd);
    if (!complete || writeFailed) {
        res.status = 400;
        res.set_content(failure(400, "upload body incomplete"), "application/json");
        return;
    }
    if (pos != up.size) {
        res.status = 200;
        res.set_content(failure(2100, "upload incomplete: " + std::to_string(pos) + " of " + std::to_string(up.size)),
                        "application/json");
        return;
    }
    // Whole file held: move it into place (once).
    Json::Value out(Json::objectValue);
    {
        std::lock_guard<std::mutex> lock(mutex);
        Upload& cur = uploads[taskId];
        if (cur.done) {
            out["fileId"] = Json::Int64(cur.fileId);
            out["name"] = cur.finalName;
            res.status = 200;
            res.set_content(envelope(1, "success", out), "application/json");
            return;
        }
    }
    const fs::path dir = abs(up.targetRel);
    std::error_code ec;
    std::string finalName = up.name;
    if (fs::exists(dir / finalName, ec) && !up.cover)
        finalName = freeName(dir, finalName);
    fs::rename(up.part, dir / finalName, ec);
    if (ec) {
        res.status = 500;
        res.set_content(failure(500, "cannot store the file: " + ec.message()), "application/json");
        return;
    }
    const std::int64_t fileId = idFor(joinRel(up.targetRel, finalName));
    {
        std::lock_guard<std::mutex> lock(mutex);
        Upload& cur = uploads[taskId];
        cur.done = true;
        cur.fileId = fileId;
        cur.finalName = finalName;
    }
    out["fileId"] = Json::Int64(fileId);
    out["name"] = finalName;
    res.status = 200;
    res.set_content(envelope(1, "success", out), "application/json");
}

// ---- cloud -----------------------------------------------------------------

void TestDeviceServer::Impl::onCloud(const httplib::Request& req, httplib::Response& res, int listener)
{
    if (front(req, res, listener, std::string(), req.body, false))
        return;
    std::string canned;
    {
        std::lock_guard<std::mutex> lock(mutex);
        auto it = cloudAnswers.find(req.path);
        if (it != cloudAnswers.end())
            canned = it->second;
    }
    if (canned.empty()) {
        res.status = 404;
        res.set_content(failure(404, "unknown path " + req.path), "application/json");
        return;
    }
    res.status = 200;
    res.set_content(canned, "application/json");
}

// ---- public face -----------------------------------------------------------

TestDeviceServer::TestDeviceServer(const std::string& root)
    : d(std::make_unique<Impl>(root))
{
}

TestDeviceServer::~TestDeviceServer()
{
    stop();
}

bool TestDeviceServer::start(int port)
{
    return d->listen(0, port);
}

bool TestDeviceServer::startRemote(int port)
{
    return d->listen(1, port);
}

int TestDeviceServer::port() const
{
    return d->ports[0];
}

int TestDeviceServer::remotePort() const
{
    return d->ports[1];
}

void TestDeviceServer::stop()
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->stopping.store(true);
    }
    d->wake.notify_all();
    d->stopListener(0);
    d->stopListener(1);
}

void TestDeviceServer::stopListener(int listener)
{
    if (listener == 0 || listener == 1)
        d->stopListener(listener);
}

std::string TestDeviceServer::root() const
{
    return d->root;
}

std::string TestDeviceServer::deviceId() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->deviceId;
}

void TestDeviceServer::setDeviceId(const std::string& id)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->deviceId = id;
}

void TestDeviceServer::setToken(const std::string& token)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->token = token;
}

void TestDeviceServer::setRootId(std::int64_t id)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->rootId = id;
}

std::int64_t TestDeviceServer::rootId() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->rootId;
}

std::int64_t TestDeviceServer::idForPath(const std::string& relPath)
{
    std::string rel;
    if (!cleanRelative(relPath, rel))
        return -1;
    return d->idFor(rel);
}

std::string TestDeviceServer::pathForId(std::int64_t id) const
{
    std::string rel;
    return d->pathFor(id, rel) ? rel : std::string();
}

std::string TestDeviceServer::absolutePath(const std::string& relPath) const
{
    std::string rel;
    cleanRelative(relPath, rel);
    return d->abs(rel).string();
}

std::int64_t TestDeviceServer::addFolder(const std::string& relPath)
{
    std::string rel;
    if (!cleanRelative(relPath, rel))
        return -1;
    std::error_code ec;
    fs::create_directories(d->abs(rel), ec);
    return d->idFor(rel);
}

std::int64_t TestDeviceServer::addFile(const std::string& relPath, const std::string& content)
{
    std::string rel;
    if (!cleanRelative(relPath, rel) || rel.empty())
        return -1;
    const fs::path p = d->abs(rel);
    std::error_code ec;
    fs::create_directories(p.parent_path(), ec);
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    out.close();
    return d->idFor(rel);
}

std::int64_t TestDeviceServer::addGeneratedFile(const std::string& relPath, std::int64_t size, bool random,
                                                std::uint32_t seed)
{
    std::string rel;
    if (!cleanRelative(relPath, rel) || rel.empty() || size < 0)
        return -1;
    const fs::path p = d->abs(rel);
    std::error_code ec;
    fs::create_directories(p.parent_path(), ec);
    const int fd = ::open(p.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return -1;
    if (!random) {
        const bool ok = ::ftruncate(fd, size) == 0;
        ::close(fd);
        return ok ? d->idFor(rel) : -1;
    }
    std::mt19937 gen(seed);
    std::vector<std::uint32_t> buf(1 << 16);
    std::int64_t left = size;
    bool ok = true;
    while (left > 0 && ok) {
        for (auto& w : buf)
            w = gen();
        const std::size_t n = static_cast<std::size_t>(
            std::min<std::int64_t>(left, static_cast<std::int64_t>(buf.size() * sizeof(std::uint32_t))));
        ok = ::write(fd, buf.data(), n) == static_cast<ssize_t>(n);
        left -= static_cast<std::int64_t>(n);
    }
    ::close(fd);
    return ok ? d->idFor(rel) : -1;
}

void TestDeviceServer::setCommandAnswer(const std::string& command, const std::string& json)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->commandAnswers[command] = json;
}

void TestDeviceServer::setCloudAnswer(const std::string& path, const std::string& json)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->cloudAnswers[path] = json;
}

void TestDeviceServer::queueCommandAnswer(const std::string& command, const std::string& json)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->queuedAnswers[command].push_back(json);
}

void TestDeviceServer::clearAnswers()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->commandAnswers.clear();
    d->cloudAnswers.clear();
    d->queuedAnswers.clear();
}

namespace {

void addFault(TestDeviceServer::Impl& d, TestDeviceServer::Impl::Fault f)
{
    std::lock_guard<std::mutex> lock(d.mutex);
    d.faults.push_back(std::move(f));
}

} // namespace

void TestDeviceServer::failWithStatus(int httpStatus, int count, const std::string& match)
{
    Impl::Fault f{Impl::FaultKind::Status, count, match, httpStatus, 0, std::string()};
    addFault(*d, f);
}

void TestDeviceServer::answerMalformed(int count, const std::string& match)
{
    addFault(*d, Impl::Fault{Impl::FaultKind::Malformed, count, match, 0, 0, std::string()});
}

void TestDeviceServer::delayAnswer(int ms, int count, const std::string& match)
{
    addFault(*d, Impl::Fault{Impl::FaultKind::Delay, count, match, ms, 0, std::string()});
}

void TestDeviceServer::cutAfter(std::int64_t bytes, int count)
{
    addFault(*d, Impl::Fault{Impl::FaultKind::Cut, count, std::string(), 0, bytes, std::string()});
}

void TestDeviceServer::stallAfter(std::int64_t bytes, int count)
{
    addFault(*d, Impl::Fault{Impl::FaultKind::Stall, count, std::string(), 0, bytes, std::string()});
}

void TestDeviceServer::refuseUpload(int errCode, const std::string& message, int count)
{
    addFault(*d, Impl::Fault{Impl::FaultKind::Refuse, count, std::string(), errCode, 0, message});
}

void TestDeviceServer::throttle(std::int64_t bytesPerSecond)
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->rate = bytesPerSecond;
}

void TestDeviceServer::clearFaults()
{
    {
        std::lock_guard<std::mutex> lock(d->mutex);
        d->faults.clear();
        d->rate = 0;
        ++d->faultEpoch;
    }
    d->wake.notify_all();
}

std::vector<TestDeviceServer::Request> TestDeviceServer::requests() const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    return d->log;
}

std::vector<TestDeviceServer::Request> TestDeviceServer::requestsFor(const std::string& match) const
{
    std::lock_guard<std::mutex> lock(d->mutex);
    std::vector<Request> out;
    for (const Request& r : d->log) {
        const bool hit = match.empty() || (match[0] == '/' ? r.path.rfind(match, 0) == 0 : r.command == match);
        if (hit)
            out.push_back(r);
    }
    return out;
}

void TestDeviceServer::clearRequests()
{
    std::lock_guard<std::mutex> lock(d->mutex);
    d->log.clear();
}
