#include "sdk/upload_task.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <mutex>
#include <sys/stat.h>
#include <unistd.h>

#include <json/value.h>

#include "sdk/curl_pool.h"
#include "sdk/curl_request.h"
#include "sdk/proto.h"

namespace sdk { namespace cores { namespace tidewell {

namespace {

using steady = std::chrono::steady_clock;
constexpr auto kProgressEvery = std::chrono::milliseconds(100);
constexpr std::size_t kMaxAnswer = 64 * 1024;

size_t collect(char* data, size_t size, size_t count, void* self)
{
    auto* out = static_cast<std::string*>(self);
    const size_t n = size * count;
    if (out->size() < kMaxAnswer)
        out->append(data, std::min(n, kMaxAnswer - out->size()));
    return n;
}

std::string json_text(const Json::Value& v)
{
    if (v.isString())
        return v.asString();
    if (v.isIntegral())
        return std::to_string(v.asLargestInt());
    return std::string();
}

} // namespace

class upload_job
{
public:
    upload_job(const model::up_file_info& info, upload_observer* observer,
               const transfer_route& route)
        : info(info), observer(observer), route(route) {}

    ~upload_job()
    {
        if (fd >= 0)
            ::close(fd);
        // Only a connection that ended a transfer cleanly is kept: after a
        // failure or a stop it may hold the rest of a request.
        if (route.pool && clean)
            route.pool->give(std::move(held));
    }

    void run();
    void stop() { stopped.store(true); request.stop(); }
    std::string current_task_id() const
    {
        std::lock_guard<std::mutex> lock(id_mutex);
        return task_id;
    }

    model::up_file_info info;
    upload_observer* observer;
    transfer_route route;
    std::atomic<bool> stopped{false};
    bool clean = false;

private:
    bool alive() const { return !stopped.load(); }
    void failed(const std::string& text, int err_code);
    // Reads an answer envelope; false (with the failure reported) when the
    // call did not end with result 1.
    bool check_answer(CURLcode rc, const std::string& what, const std::string& answer,
                      Json::Value& data);
    void setup(const std::string& url);

    static size_t on_read(char* buffer, size_t size, size_t count, void* self);
    static int on_seek(void* self, curl_off_t offset, int origin);
    static int on_xfer(void* self, curl_off_t dltotal, curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow);
    void progress(std::int64_t on_wire);

    // Taken from the session's pool (its connection may be open already)
    // and given back when the job goes.
    std::unique_ptr<curl_request> held = route.pool ? route.pool->take()
                                                    : std::make_unique<curl_request>();
    curl_request& request = *held;
    mutable std::mutex id_mutex;
    std::string task_id;
    int fd = -1;
    std::int64_t size = 0;
    std::int64_t offset = 0;
    std::int64_t sent = 0;
    std::int64_t reported = 0;
    bool read_failed = false;
    steady::time_point last_progress;
};

void upload_job::failed(const std::string& text, int err_code)
{
    if (!alive())
        return;
    route.write_log(2, "upload failed (" + std::to_string(err_code) + "): " + text);
    observer->on_status(status_upload_failed, text, err_code);
}

void upload_job::setup(const std::string& url)
{
    request.reset(url, route.connect_timeout_ms, route.stall_timeout_s);
}

bool upload_job::check_answer(CURLcode rc, const std::string& what, const std::string& answer,
                              Json::Value& data)
{
    if (!alive())
        return false;
    if (rc != CURLE_OK) {
        if (read_failed)
            failed(what + ": cannot read " + info.file_path, error_local_file);
        else
            failed(what + ": " + curl_easy_strerror(rc), error_network);
        return false;
    }
    long http = 0;
    curl_easy_getinfo(request.easy(), CURLINFO_RESPONSE_CODE, &http);
    Json::Value root;
    const bool json = cores::protocol::proto::json_from_string(answer, root) && root.isObject();
    const int err = json && root["errCode"].isIntegral() ? root["errCode"].asInt() : 0;
    const std::string message = json && root["message"].isString() ? root["message"].asString() : "";
    if (http != 200) {
        failed(what + ": device answered HTTP " + std::to_string(http) + " " + message,
               err != 0 ? err : static_cast<int>(http));
        return false;
    }
    if (!json || !root["result"].isIntegral()) {
        failed(what + ": unreadable answer", error_bad_answer);
        return false;
    }
    if (root["result"].asInt() != 1) {
        failed(what + ": " + message, err != 0 ? err : error_bad_answer);
        return false;
    }
    data = root["data"];
    return true;
}

void upload_job::run()
{
    fd = ::open(info.file_path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st;
    if (fd < 0 || ::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        failed("cannot open " + info.file_path + ": " + std::strerror(errno), error_local_file);
        return;
    }
    size = static_cast<std::int64_t>(st.st_size);
    if (size != info.file_size)
        route.write_log(2, "upload of " + info.file_path + ": file holds " + std::to_string(size)
                               + " bytes, expected " + std::to_string(info.file_size));

    // 1. Create or continue the device's task.
    Json::Value create(Json::objectValue);
    create["fileName"] = info.file_name;
    create["fileSize"] = Json::Int64(size);
    create["fileMd5"] = info.file_md5;
    create["dirId"] = info.dir_id;
    create["isCover"] = info.is_cover;
    create["isExternal"] = info.is_external != 0;
    create["isSafeBox"] = info.is_safe_box != 0;
    create["externalPath"] = info.external_path;
    create["diskSerial"] = info.disk_serial;
    create["uploadType"] = info.upload_type;
    create["groupId"] = info.group_id;
    create["createTime"] = Json::Int64(info.create_time);
    create["modifyTime"] = Json::Int64(info.modify_time);
    create["clientType"] = info.client_type;
    create["appType"] = info.app_type;
    create["taskId"] = info.task_id;
    const std::string body = cores::protocol::proto::json_to_string(create);

    std::string answer;
    setup(route.base_url + "/device/upload/create");
    std::vector<std::string> headers = route.headers;
    headers.push_back("Content-Type: application/json");
    request.set_headers(headers);
    curl_easy_setopt(request.easy(), CURLOPT_POSTFIELDS, body.c_str());
    curl_easy_setopt(request.easy(), CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(request.easy(), CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(request.easy(), CURLOPT_WRITEDATA, &answer);
    CURLcode rc = request.perform();
    Json::Value data;
    if (!check_answer(rc, "upload create", answer, data))
        return;
    const std::string id = json_text(data["taskId"]);
    if (id.empty() || !data["offset"].isIntegral()) {
        failed("upload create: answer without taskId or offset", error_bad_answer);
        return;
    }
    {
        std::lock_guard<std::mutex> lock(id_mutex);
        task_id = id;
    }
    if (!alive())
        return;
    observer->on_task(id);
    if (!alive())
        return;
    offset = data["offset"].asInt64();
    if (offset < 0 || offset > size) {
        failed("upload create: device holds " + std::to_string(offset) + " of "
                   + std::to_string(size) + " bytes",
               error_bad_answer);
        return;
    }
    route.write_log(0, "upload " + info.file_path + " task " + id + " from " + std::to_string(offset));
    // What the device holds already is this attempt's first figure.
    observer->on_progress(size, offset);
    if (!alive())
        return;

    // 2. Send the rest (possibly nothing) so the device finishes the file.
    const std::string url = route.base_url + "/device/upload/data?taskId=" + request.escape(id)
        + "&offset=" + std::to_string(offset);
    answer.clear();
    sent = 0;
    last_progress = steady::now();
    setup(url);
    headers = route.headers;
    headers.push_back("Content-Type: application/octet-stream");
    headers.push_back("Expect:");
    request.set_headers(headers);
    curl_easy_setopt(request.easy(), CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(request.easy(), CURLOPT_INFILESIZE_LARGE, static_cast<curl_off_t>(size - offset));
    curl_easy_setopt(request.easy(), CURLOPT_READFUNCTION, &upload_job::on_read);
    curl_easy_setopt(request.easy(), CURLOPT_READDATA, this);
    // A kept connection that turns out closed makes curl send the body again.
    curl_easy_setopt(request.easy(), CURLOPT_SEEKFUNCTION, &upload_job::on_seek);
    curl_easy_setopt(request.easy(), CURLOPT_SEEKDATA, this);
    curl_easy_setopt(request.easy(), CURLOPT_UPLOAD_BUFFERSIZE, 1024L * 1024L);
    curl_easy_setopt(request.easy(), CURLOPT_XFERINFOFUNCTION, &upload_job::on_xfer);
    curl_easy_setopt(request.easy(), CURLOPT_XFERINFODATA, this);
    curl_easy_setopt(request.easy(), CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(request.easy(), CURLOPT_WRITEFUNCTION, &collect);
    curl_easy_setopt(request.easy(), CURLOPT_WRITEDATA, &answer);
    rc = request.perform();
    if (!check_answer(rc, "upload data", answer, data))
        return;
    observer->on_progress(size, size);
    if (!alive())
        return;
    if (data.isObject() && data["name"].isString() && !data["name"].asString().empty())
        observer->on_stored(data["name"].asString());
    route.write_log(0, "upload done " + info.file_path);
    clean = true;
    observer->on_status(status_upload_done, "ok", error_none);
}

size_t upload_job::on_read(char* buffer, size_t size, size_t count, void* self)
{
    auto* job = static_cast<upload_job*>(self);
    if (!job->alive())
        return CURL_READFUNC_ABORT;
    const std::int64_t left = job->size - job->offset - job->sent;
    const size_t want = static_cast<size_t>(std::min<std::int64_t>(left, static_cast<std::int64_t>(size * count)));
    if (want == 0)
        return 0;
    ssize_t n;
    do {
        n = ::pread(job->fd, buffer, want, static_cast<off_t>(job->offset + job->sent));
    } while (n < 0 && errno == EINTR);
    if (n <= 0) {
        // The file shrank or cannot be read: never send a short body silently.
        job->read_failed = true;
        return CURL_READFUNC_ABORT;
    }
    job->sent += n;
    return static_cast<size_t>(n);
}

int upload_job::on_seek(void* self, curl_off_t offset, int origin)
{
    auto* job = static_cast<upload_job*>(self);
    if (origin != SEEK_SET || offset < 0 || offset > job->size - job->offset)
        return CURL_SEEKFUNC_CANTSEEK;
    job->sent = static_cast<std::int64_t>(offset);
    return CURL_SEEKFUNC_OK;
}

int upload_job::on_xfer(void* self, curl_off_t, curl_off_t, curl_off_t, curl_off_t ulnow)
{
    auto* job = static_cast<upload_job*>(self);
    if (!job->alive())
        return 1;
    job->progress(static_cast<std::int64_t>(ulnow));
    return 0;
}

// Reports what went out on the wire (read-ahead of the file is not sent yet).
void upload_job::progress(std::int64_t on_wire)
{
    const auto now = steady::now();
    if (now - last_progress < kProgressEvery || on_wire <= reported)
        return;
    last_progress = now;
    reported = on_wire;
    if (alive())
        observer->on_progress(size, offset + on_wire);
}

task_interface* upload_task::observer() const
{
    return m_job->observer;
}

upload_task::upload_task(const model::up_file_info& info, upload_observer* observer,
                         const transfer_route& route)
    : m_job(std::make_shared<upload_job>(info, observer, route))
{
}

upload_task::~upload_task()
{
    stop();
}

bool upload_task::start()
{
    if (m_job->stopped.load())
        return false;
    std::shared_ptr<upload_job> job = m_job;
    return m_worker.start([job] { job->run(); }, m_job->route, "upload");
}

void upload_task::stop()
{
    m_job->stop();
    m_worker.join();
}

std::string upload_task::task_id() const
{
    return m_job->current_task_id();
}

} } }
