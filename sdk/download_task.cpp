#include "sdk/download_task.h"

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <strings.h>
#include <unistd.h>

#include "sdk/curl_pool.h"
#include "sdk/curl_request.h"
#include "sdk/proto.h"

namespace sdk { namespace cores { namespace tidewell {

namespace {

using steady = std::chrono::steady_clock;
constexpr auto kProgressEvery = std::chrono::milliseconds(100);
constexpr std::size_t kMaxErrorBody = 4096;

std::int64_t file_size(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return 0;
    return static_cast<std::int64_t>(st.st_size);
}

// "bytes 10-99/100" or "bytes */100": first byte (-1 for "*") and total (-1
// when unknown).
bool parse_content_range(const std::string& value, std::int64_t& first, std::int64_t& total)
{
    first = -1;
    total = -1;
    const char* p = value.c_str();
    while (*p == ' ')
        ++p;
    if (std::strncmp(p, "bytes", 5) != 0)
        return false;
    p += 5;
    while (*p == ' ')
        ++p;
    if (*p == '*') {
        ++p;
    } else {
        char* end = nullptr;
        long long a = std::strtoll(p, &end, 10);
        if (end == p || *end != '-')
            return false;
        first = a;
        p = end + 1;
        std::strtoll(p, &end, 10);
        if (end == p)
            return false;
        p = end;
    }
    if (*p != '/')
        return false;
    ++p;
    if (*p != '*') {
        char* end = nullptr;
        long long t = std::strtoll(p, &end, 10);
        if (end == p)
            return false;
        total = t;
    }
    return true;
}

// A strong ETag of 32 hex digits is the file's MD5.
std::string md5_of_etag(std::string tag)
{
    if (tag.size() == 34 && tag.front() == '"' && tag.back() == '"')
        tag = tag.substr(1, 32);
    if (tag.size() != 32)
        return std::string();
    for (char& c : tag) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return std::string();
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return tag;
}

std::string header_value(const std::string& line, std::size_t name_length)
{
    std::string value = line.substr(name_length);
    while (!value.empty() && (value.front() == ' ' || value.front() == '\t'))
        value.erase(value.begin());
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n' || value.back() == ' '))
        value.pop_back();
    return value;
}

} // namespace

class download_job
{
public:
    download_job(const model::down_file_info& info, download_observer* observer,
                 const transfer_route& route, bool stream)
        : info(info), observer(observer), route(route), stream(stream) {}

    ~download_job()
    {
        close_file();
        // Only a connection that ended a transfer cleanly is kept: after a
        // failure or a stop it may hold the rest of an answer.
        if (route.pool && clean)
            route.pool->give(std::move(held));
    }

    void run();
    void stop() { stopped.store(true); request.stop(); }

    model::down_file_info info;
    download_observer* observer;
    transfer_route route;
    bool stream;
    std::atomic<bool> stopped{false};
    bool clean = false;

private:
    enum class fault { none, local_file, bad_answer, aborted };

    bool alive() const { return !stopped.load(); }
    std::string build_url();
    // One GET from `from`; false only when it should be tried again from 0.
    bool attempt(std::int64_t from, bool truncate, bool last_try);
    void progress(bool force);
    void finish_ok();
    void finish_failed(const std::string& text, int err_code);
    bool open_file(bool truncate);
    void close_file();
    bool write_all(const char* data, std::size_t size);

    static size_t on_body(char* data, size_t size, size_t count, void* self);
    static size_t on_header(char* data, size_t size, size_t count, void* self);
    size_t body(const char* data, size_t size);
    bool begin_body();
    // Whether the bytes held so far belong to the file this answer carries.
    bool same_source(bool resumed);

    // Taken from the session's pool (its connection may be open already)
    // and given back when the job goes.
    std::unique_ptr<curl_request> held = route.pool ? route.pool->take()
                                                    : std::make_unique<curl_request>();
    curl_request& request = *held;
    int fd = -1;
    std::int64_t requested = 0;     // first byte asked for
    std::int64_t base = 0;          // held bytes before the first body byte
    std::int64_t received = 0;      // body bytes taken (after skip)
    std::int64_t skip = 0;          // stream: bytes to drop from a 200 answer
    std::int64_t total = 0;         // whole file size, 0 when unknown
    std::int64_t range_first = -1;
    std::int64_t range_total = -1;
    std::string etag;
    std::int64_t modified_ms = 0;
    // The answer carries another file than the held bytes: start over.
    bool restart = false;
    long status = 0;
    bool body_started = false;
    bool error_body = false;
    bool truncate_on_open = false;
    std::string error_text;
    fault why = fault::none;
    steady::time_point last_progress;
};

std::string download_job::build_url()
{
    switch (info.type) {
    case model::down_file_info::kind_device_file: {
        std::string url = route.base_url + "/device/download?fileId=" + std::to_string(info.file_id)
            + "&mode=" + std::to_string(info.mode)
            + "&fileCatetory=" + std::to_string(info.file_category)
            + "&ower=" + request.escape(info.ower)
            + "&fileMd5=" + request.escape(info.file_md5);
        if (!info.share_id.empty())
            url += "&shareId=" + request.escape(info.share_id)
                + "&extractedCode=" + request.escape(info.extracted_code);
        return url;
    }
    case model::down_file_info::kind_disk_file: {
        // usb_path arrives percent-encoded already; keep it, but never let a
        // stray character break the query.
        std::string path;
        for (char c : info.usb_path) {
            if (std::isalnum(static_cast<unsigned char>(c)) || std::strchr("%-._~", c))
                path.push_back(c);
            else
                path += request.escape(std::string(1, c));
        }
        return route.base_url + "/device/download?path=" + path + "&url=" + request.escape(info.url);
    }
    case model::down_file_info::kind_url:
        return info.url;
    default:
        return std::string();
    }
}

void download_job::run()
{
    const std::int64_t start = stream ? (info.offset > 0 ? info.offset : 0) : file_size(info.save_path);
    route.write_log(0, "download start " + build_url() + " from " + std::to_string(start));
    if (!attempt(start, false, false) && alive()) {
        route.write_log(2, "download restarts from 0: " + info.save_path);
        attempt(0, true, true);
    }
}

bool download_job::attempt(std::int64_t from, bool truncate, bool last_try)
{
    requested = from;
    base = from;
    received = 0;
    skip = 0;
    total = 0;
    range_first = -1;
    range_total = -1;
    etag.clear();
    modified_ms = 0;
    restart = false;
    status = 0;
    body_started = false;
    error_body = false;
    truncate_on_open = truncate;
    error_text.clear();
    why = fault::none;
    last_progress = steady::now();
    close_file();

    request.reset(build_url(), route.connect_timeout_ms, route.stall_timeout_s);
    CURL* easy = request.easy();
    if (info.type == model::down_file_info::kind_url) {
        curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl_easy_setopt(easy, CURLOPT_MAXREDIRS, 5L);
        request.set_headers({});
    } else {
        request.set_headers(route.headers);
    }
    curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    if (from > 0) {
        const std::string range = std::to_string(from) + "-";
        curl_easy_setopt(easy, CURLOPT_RANGE, range.c_str());
    }
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, &download_job::on_body);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, this);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &download_job::on_header);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    curl_easy_setopt(easy, CURLOPT_BUFFERSIZE, 512L * 1024L);

    const CURLcode rc = request.perform();
    if (!alive()) {
        close_file();
        return true;
    }
    if (!body_started && rc == CURLE_OK)
        curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);

    if (restart) {
        close_file();
        route.write_log(2, "download: the file changed since its first bytes were held");
        return false;
    }
    if (rc != CURLE_OK) {
        close_file();
        if (why == fault::local_file)
            finish_failed("cannot write " + info.save_path + ": " + error_text, error_local_file);
        else if (why == fault::bad_answer)
            finish_failed("unexpected answer: " + error_text, error_bad_answer);
        else if (why == fault::aborted)
            finish_failed("stopped by the data callback", error_aborted);
        else if (request.stalled())
            finish_failed("transfer stalled: no byte for " + std::to_string(request.stall_limit_ms() / 1000)
                              + " s",
                          error_stalled);
        else
            finish_failed(std::string("transfer failed: ") + curl_easy_strerror(rc), error_network);
        return true;
    }

    if (status == 416 && !stream) {
        close_file();
        if (range_total >= 0 && range_total == from) {
            total = range_total;
            if (!same_source(true) && !last_try) {
                route.write_log(2, "download: the file changed since its bytes were held");
                return false;
            }
            finish_ok();
            return true;
        }
        if (!last_try)
            return false;
        finish_failed("device refused the range", 416);
        return true;
    }
    if (status != 200 && status != 206) {
        close_file();
        std::string text = "device answered HTTP " + std::to_string(status);
        // A JSON envelope carries the device's own message; show that.
        Json::Value root;
        if (cores::protocol::proto::json_from_string(error_text, root) && root.isObject()
            && root["message"].isString() && !root["message"].asString().empty())
            text += ": " + root["message"].asString();
        else if (!error_text.empty())
            text += ": " + error_text;
        finish_failed(text, static_cast<int>(status));
        return true;
    }
    if (!body_started && !begin_body()) {
        close_file();
        if (restart)
            return false;
        finish_failed("cannot open " + info.save_path + ": " + error_text, error_local_file);
        return true;
    }
    close_file();
    const std::int64_t done = base + received;
    if (total > 0 && done != total) {
        finish_failed("answer ended at " + std::to_string(done) + " of " + std::to_string(total),
                      error_network);
        return true;
    }
    if (total <= 0)
        total = done;
    finish_ok();
    return true;
}

bool download_job::begin_body()
{
    body_started = true;
    curl_easy_getinfo(request.easy(), CURLINFO_RESPONSE_CODE, &status);
    if (status != 200 && status != 206) {
        error_body = true;
        return true;
    }
    curl_off_t length = -1;
    curl_easy_getinfo(request.easy(), CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &length);
    if (status == 206) {
        if (range_first != requested) {
            error_text = "range starts at " + std::to_string(range_first) + ", asked "
                + std::to_string(requested);
            why = fault::bad_answer;
            return false;
        }
        total = range_total > 0 ? range_total : (length >= 0 ? requested + length : 0);
        if (!stream && !same_source(true)) {
            restart = true;
            return false;
        }
    } else {
        // The whole file came although a part was asked for.
        if (requested > 0) {
            if (stream) {
                skip = requested;
            } else {
                base = 0;
                truncate_on_open = true;
            }
        }
        total = length >= 0 ? length : 0;
        if (!stream)
            same_source(false);
    }
    if (!stream && !open_file(truncate_on_open)) {
        why = fault::local_file;
        return false;
    }
    return true;
}

bool download_job::same_source(bool resumed)
{
    source_info source;
    source.md5 = md5_of_etag(etag);
    source.size = total;
    source.modified_ms = modified_ms;
    return !alive() || observer->on_source(source, resumed);
}

bool download_job::open_file(bool truncate)
{
    int flags = O_WRONLY | O_CREAT | O_CLOEXEC | (truncate ? O_TRUNC : O_APPEND);
    fd = ::open(info.save_path.c_str(), flags, 0644);
    if (fd < 0) {
        error_text = std::strerror(errno);
        return false;
    }
    if (truncate) {
        ::close(fd);
        fd = ::open(info.save_path.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        if (fd < 0) {
            error_text = std::strerror(errno);
            return false;
        }
    }
    // A target that grew or shrank between the size check and now would
    // put bytes at the wrong place.
    struct stat st;
    if (::fstat(fd, &st) == 0 && static_cast<std::int64_t>(st.st_size) != base) {
        error_text = "target changed size while starting";
        return false;
    }
    return true;
}

void download_job::close_file()
{
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

bool download_job::write_all(const char* data, std::size_t size)
{
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error_text = std::strerror(errno);
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

size_t download_job::on_header(char* data, size_t size, size_t count, void* self)
{
    auto* job = static_cast<download_job*>(self);
    const std::string line(data, size * count);
    if (line.compare(0, 5, "HTTP/") == 0) {
        job->range_first = -1;
        job->range_total = -1;
        job->etag.clear();
        job->modified_ms = 0;
    } else if (line.size() > 5 && strncasecmp(line.c_str(), "etag:", 5) == 0) {
        job->etag = header_value(line, 5);
    } else if (line.size() > 14 && strncasecmp(line.c_str(), "last-modified:", 14) == 0) {
        const time_t t = curl_getdate(header_value(line, 14).c_str(), nullptr);
        job->modified_ms = t > 0 ? static_cast<std::int64_t>(t) * 1000 : 0;
    } else if (line.size() > 14 && strncasecmp(line.c_str(), "content-range:", 14) == 0) {
        std::string value = line.substr(14);
        while (!value.empty() && (value.back() == '\r' || value.back() == '\n'))
            value.pop_back();
        parse_content_range(value, job->range_first, job->range_total);
    }
    return size * count;
}

size_t download_job::on_body(char* data, size_t size, size_t count, void* self)
{
    return static_cast<download_job*>(self)->body(data, size * count);
}

size_t download_job::body(const char* data, size_t size)
{
    if (!alive())
        return 0;
    if (!body_started && !begin_body())
        return 0;
    if (error_body) {
        if (error_text.size() < kMaxErrorBody)
            error_text.append(data, std::min(size, kMaxErrorBody - error_text.size()));
        return size;
    }
    const size_t taken = size;
    if (skip > 0) {
        const std::int64_t drop = std::min<std::int64_t>(skip, static_cast<std::int64_t>(size));
        skip -= drop;
        data += drop;
        size -= static_cast<size_t>(drop);
        if (size == 0)
            return taken;
    }
    if (stream) {
        if (observer->on_data(data, size) != 0) {
            why = fault::aborted;
            return 0;
        }
    } else if (!write_all(data, size)) {
        why = fault::local_file;
        return 0;
    }
    received += static_cast<std::int64_t>(size);
    progress(false);
    return taken;
}

void download_job::progress(bool force)
{
    const auto now = steady::now();
    if (!force && now - last_progress < kProgressEvery)
        return;
    last_progress = now;
    if (alive())
        observer->on_progress(total, base + received);
}

void download_job::finish_ok()
{
    if (!alive())
        return;
    observer->on_progress(total, total);
    if (!alive())
        return;
    route.write_log(0, "download done " + (stream ? std::string("(stream)") : info.save_path));
    clean = true;
    observer->on_status(status_download_done, "ok", error_none);
}

void download_job::finish_failed(const std::string& text, int err_code)
{
    if (!alive())
        return;
    route.write_log(2, "download failed (" + std::to_string(err_code) + "): " + text);
    observer->on_status(status_download_failed, text, err_code);
}

task_interface* download_task::observer() const
{
    return m_job->observer;
}

download_task::download_task(const model::down_file_info& info, download_observer* observer,
                             const transfer_route& route, bool stream)
    : m_job(std::make_shared<download_job>(info, observer, route, stream))
{
}

download_task::~download_task()
{
    stop();
}

bool download_task::start()
{
    if (m_job->stopped.load())
        return false;
    std::shared_ptr<download_job> job = m_job;
    return m_worker.start([job] { job->run(); }, m_job->route, "download");
}

void download_task::stop()
{
    m_job->stop();
    m_worker.join();
}

std::string download_task::save_path() const
{
    return m_job->stream ? std::string() : m_job->info.save_path;
}

} } }
