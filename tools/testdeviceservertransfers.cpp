#include "tools/testdeviceserverimpl.h"

using namespace tds;

namespace {
// An HTTP date ("Tue, 08 Dec 2026 07:55:31 GMT"), independent of the locale.
std::string httpDate(time_t t)
{
    static const char* const days[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
    static const char* const months[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    struct tm tm;
    gmtime_r(&t, &tm);
    char buf[40];
    std::snprintf(buf, sizeof buf, "%s, %02d %s %04d %02d:%02d:%02d GMT", days[tm.tm_wday], tm.tm_mday,
                  months[tm.tm_mon], tm.tm_year + 1900, tm.tm_hour, tm.tm_min, tm.tm_sec);
    return buf;
}
}

// ---- downloads -------------------------------------------------------------

bool TestDeviceServer::Impl::downloadFile(const httplib::Request& req, std::string& rel)
{
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
        // Without a device path the path is one of an attached disk, or of
        // the device's own storage (a preview of any file goes by its path).
        std::error_code ec;
        if (url.empty() && !(found && fs::is_regular_file(abs(rel), ec))) {
            std::string own;
            if (cleanRelative(path, own) && !own.empty() && fs::is_regular_file(abs(own), ec)) {
                rel = own;
                found = true;
            }
        }
    }
    std::error_code ec;
    return found && !rel.empty() && fs::is_regular_file(abs(rel), ec);
}

void TestDeviceServer::Impl::onDownload(const httplib::Request& req, httplib::Response& res, int listener)
{
    // Ranges are answered by serveFile; error answers go out whole, as a
    // device sends them.
    const_cast<httplib::Request&>(req).ranges.clear();
    if (front(req, res, listener, std::string(), std::string(), true))
        return;
    std::string rel;
    if (!downloadFile(req, rel)) {
        res.status = 404;
        res.set_content(failure(404, "file does not exist"), "application/json");
        return;
    }
    for (const auto& f : features) {
        if (f->download(req, res, rel))
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
    // The file's listing values go with every answer, so a client holding
    // a part can tell whether the rest belongs to the same file.
    const std::string md5 =
        md5Of(file, size, static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000);
    if (!md5.empty())
        res.set_header("ETag", "\"" + md5 + "\"");
    res.set_header("Last-Modified", httpDate(st.st_mtim.tv_sec));
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
    // Small files need no full chunk: clearing one costs more than sending them.
    auto buffer = std::make_shared<std::vector<char>>(
        static_cast<std::size_t>(std::max<std::int64_t>(1, std::min<std::int64_t>(length, kChunk))));
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
        // Cut short by the device going down: it is unavailable, the
        // upload itself was fine.
        const int status = stopping.load() && !writeFailed ? 503 : 400;
        res.status = status;
        res.set_content(failure(status, status == 503 ? "going down" : "upload body incomplete"),
                        "application/json");
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

