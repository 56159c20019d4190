#include "tools/testdeviceserverimpl.h"

#include "tools/devicelinks.h"

#include <pthread.h>

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
    // One "<id> <length> <path>" line per id, in the order they were made;
    // a rewritten file starts with "next <id>".
    std::ifstream log(fs::path(root) / kIdFile, std::ios::binary);
    std::string word;
    std::int64_t id = 0;
    std::size_t len = 0;
    if (log.peek() == 'n' && log >> word >> id)
        nextId = std::max(nextId, id);
    while (log >> id >> len && log.get() == ' ') {
        std::string rel(len, '\0');
        if (!log.read(&rel[0], static_cast<std::streamsize>(len)) || log.get() != '\n')
            break;
        idByPath[rel] = id;
        pathById[id] = rel;
        nextId = std::max(nextId, id + 1);
    }
}

// The whole id file again, after moves and removals.
void TestDeviceServer::Impl::saveIdsLocked()
{
    const fs::path tmp = fs::path(root) / ".tw_ids.tmp";
    {
        std::ofstream out(tmp, std::ios::trunc | std::ios::binary);
        out << "next " << nextId << '\n';
        for (const auto& p : pathById)
            out << p.first << ' ' << p.second.size() << ' ' << p.second << '\n';
    }
    std::error_code ec;
    fs::rename(tmp, fs::path(root) / kIdFile, ec);
}

bool TestDeviceServer::Impl::loadState()
{
    std::ifstream in(fs::path(root) / kStateFile, std::ios::binary);
    if (!in)
        return false;
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Json::Value state;
    if (!proto::json_from_string(text, state) || !state.isObject()) {
        std::fprintf(stderr, "tw_testdevice: %s is unreadable, starting afresh\n", kStateFile);
        return false;
    }
    for (const auto& f : features) {
        const char* key = f->stateKey();
        if (key && state.isMember(key))
            f->loadState(state[key]);
    }
    std::lock_guard<std::mutex> lock(stateMutex);
    savedState = proto::json_to_string(state);
    return true;
}

void TestDeviceServer::Impl::saveState()
{
    if (!persistent.load())
        return;
    // Taken and written under one lock: an older state never overwrites a
    // newer one.
    std::lock_guard<std::mutex> lock(stateMutex);
    Json::Value state(Json::objectValue);
    for (const auto& f : features) {
        if (const char* key = f->stateKey())
            state[key] = f->saveState();
    }
    const std::string text = proto::json_to_string(state);
    if (text == savedState)
        return;
    // Written aside and renamed: a kill mid-write keeps the last state.
    const fs::path tmp = fs::path(root) / ".tw_state.tmp";
    {
        std::ofstream out(tmp, std::ios::trunc | std::ios::binary);
        out << text;
        if (!out)
            return;
    }
    std::error_code ec;
    fs::rename(tmp, fs::path(root) / kStateFile, ec);
    if (!ec)
        savedState = text;
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
    // Appended, not the whole table rewritten: folders of thousands of
    // files would make every new id cost as much as all before it.
    std::ofstream log(fs::path(root) / kIdFile, std::ios::app | std::ios::binary);
    log << id << ' ' << rel.size() << ' ' << rel << '\n';
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
    return pauseUntil(std::chrono::steady_clock::now() + std::chrono::milliseconds(ms));
}

bool TestDeviceServer::Impl::pauseUntil(std::chrono::steady_clock::time_point until)
{
    std::unique_lock<std::mutex> lock(mutex);
    return !wake.wait_until(lock, until, [this] { return stopping.load(); });
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
    // To the microsecond: a wait rounded up to the next millisecond made every
    // chunk late, a slower link than the one asked for.
    pauseUntil(start + std::chrono::microseconds(sent * 1000000 / s.rate));
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

bool TestDeviceServer::Impl::linkAllows(const httplib::Request& req, const std::string& token,
                                        const std::string& command, const std::string& body)
{
    DeviceLinks* links = feature<DeviceLinks>();
    if (!links)
        return false;
    std::string shareId;
    std::int64_t fileId = 0;
    if (!command.empty()) {
        Json::Value root;
        if (proto::json_from_string(body, root) && root.isObject() && root["data"].isObject()) {
            shareId = jsonStr(root["data"], "shareId");
            fileId = jsonInt(root["data"], "fileId");
        }
    } else if (req.has_param("fileId")) {
        Json::Value holder(Json::objectValue);
        holder["v"] = req.get_param_value("fileId");
        fileId = jsonInt(holder, "v");
    } else if (std::string rel; req.path == "/device/download" && downloadFile(req, rel)) {
        // A path download: the link reads the file when it lies inside it.
        fileId = idFor(rel);
    }
    return links->allows(token, req.path, command, shareId, fileId);
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
        if (!want.empty() && got != want && !(req.has_header("X-Link-Token") && linkAllows(req, got, command, body))) {
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
        res.set_content(failure(f.value, f.message), "application/json");
        return true;
    }
    if (takeFault(FaultKind::Empty, req.path, command, f)) {
        res.status = 200;
        res.set_content(std::string(), "application/json");
        return true;
    }
    if (takeFault(FaultKind::Drop, req.path, command, f)) {
        // The head promises a body that never comes: the server gives up
        // on the connection once the provider refuses.
        res.status = 200;
        res.set_content_provider(64, "application/json",
                                 [](std::size_t, std::size_t, httplib::DataSink&) { return false; });
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
    // An idle kept-alive connection would hold stop() for the default 5 s.
    svr.set_keep_alive_timeout(1);
    // Answers on a reused connection must not wait for the client's delayed ACK.
    svr.set_tcp_nodelay(true);
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
    threads[listener] = std::thread([raw] {
        // Its worker threads take the name too: benchmarks in the same
        // process tell the device's processor time from the client's.
        pthread_setname_np(pthread_self(), "tw_device");
        raw->listen_after_bind();
    });
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
        Json::Value body;
        if (!proto::json_from_string(req.body, body) || !body.isObject())
            body = Json::Value(Json::objectValue);
        for (const auto& f : features)
            if (f->cloud(req.path, body, canned))
                break;
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

bool TestDeviceServer::setPersistent(bool persistent)
{
    d->persistent.store(persistent);
    return persistent && d->loadState();
}

void TestDeviceServer::saveState()
{
    d->saveState();
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

void TestDeviceServer::failWithStatus(int httpStatus, int count, const std::string& match,
                                      const std::string& message)
{
    Impl::Fault f{Impl::FaultKind::Status, count, match, httpStatus, 0, message};
    addFault(*d, f);
}

void TestDeviceServer::answerEmpty(int count, const std::string& match)
{
    addFault(*d, Impl::Fault{Impl::FaultKind::Empty, count, match, 0, 0, std::string()});
}

void TestDeviceServer::dropAnswer(int count, const std::string& match)
{
    addFault(*d, Impl::Fault{Impl::FaultKind::Drop, count, match, 0, 0, std::string()});
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
