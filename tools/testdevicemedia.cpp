#include "tools/testdevicemedia.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageWriter>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

using namespace tds;

namespace {

std::string lower(std::string s)
{
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return s;
}

std::string suffixOf(const std::string& name)
{
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : lower(name.substr(dot + 1));
}

// The device's category labels and the suffixes they hold.
bool inClass(const std::string& className, const std::string& suffix)
{
    static const std::map<std::string, std::set<std::string>> classes = {
        {"image", {"jpg", "jpeg", "png", "gif", "bmp", "webp", "heic"}},
        {"video", {"mp4", "mkv", "avi", "mov", "wmv", "flv", "rmvb", "ts", "m4v"}},
        {"audio", {"mp3", "flac", "wav", "aac", "m4a", "ogg", "ape", "wma"}},
    };
    auto it = classes.find(className);
    return it != classes.end() && it->second.count(suffix) != 0;
}

// One frame of a video (a second in, or the first for a shorter one) as
// PNG bytes, through ffmpeg when the machine has it.
QImage videoFrame(const fs::path& src)
{
    const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
    if (ffmpeg.isEmpty())
        return QImage();
    for (const char* at : {"1", "0"}) {
        QProcess p;
        p.start(ffmpeg, {"-v", "error", "-ss", at, "-i", QString::fromStdString(src.string()), "-frames:v", "1",
                         "-f", "image2pipe", "-c:v", "png", "-"});
        if (!p.waitForFinished(20000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
            continue;
        QImage frame;
        if (frame.loadFromData(p.readAllStandardOutput(), "PNG"))
            return frame;
    }
    return QImage();
}

} // namespace

bool TestDeviceMedia::command(const std::string& command, const Json::Value& data,
                              const std::string& accessId, std::string& out)
{
    if (command == "getFileFromClassForDate3") {
        out = mediaList(data, accessId);
        return true;
    }
    if (command == "myLove") {
        // Favourites by id; the listing marks them with isCollect.
        std::vector<std::string> rels;
        for (const Json::Value& id : data["fileIds"]) {
            const std::int64_t n = id.isIntegral() ? id.asInt64() : (id.isString() ? std::atoll(id.asCString()) : 0);
            std::string rel;
            if (n == 0 || !d.pathFor(n, rel)) {
                out = failure(404, "file does not exist");
                return true;
            }
            rels.push_back(rel);
        }
        const bool love = jsonBool(data, "isLove");
        std::lock_guard<std::mutex> lock(mutex);
        for (const std::string& rel : rels) {
            if (love)
                loved.insert(rel);
            else
                loved.erase(rel);
        }
        out = envelope(1, "success", Json::Value(Json::objectValue));
        return true;
    }
    return false;
}

std::string TestDeviceMedia::mediaList(const Json::Value& data, const std::string& accessId)
{
    const std::string className = jsonStr(data, "className");
    const bool love = className == "love";
    if (!love && className != "image" && className != "video" && className != "audio")
        return failure(2005, "unknown class " + className);
    std::set<std::string> lovedNow;
    {
        std::lock_guard<std::mutex> lock(mutex);
        lovedNow = loved;
    }
    // (time, path) of every file of the category.
    std::vector<std::pair<std::int64_t, std::string>> files;
    std::error_code ec;
    const fs::path root(d.root);
    for (auto it = fs::recursive_directory_iterator(root, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.rfind(".tw_", 0) == 0) {
            if (it->is_directory(ec))
                it.disable_recursion_pending();
            continue;
        }
        if (!it->is_regular_file(ec))
            continue;
        const std::string rel = fs::relative(it->path(), root, ec).generic_string();
        if (love ? lovedNow.count(rel) == 0 : !inClass(className, suffixOf(name)))
            continue;
        files.emplace_back(fileTimeMs(it->path()), rel);
    }
    // Newest first; isSort asks for the oldest first.
    const bool oldestFirst = jsonBool(data, "isSort");
    std::sort(files.begin(), files.end(), [oldestFirst](const auto& a, const auto& b) {
        if (a.first != b.first)
            return oldestFirst ? a.first < b.first : a.first > b.first;
        return a.second < b.second;
    });
    std::int64_t pageSize = jsonInt(data, "pageSize", 60);
    if (pageSize <= 0)
        pageSize = 60;
    const std::int64_t first = std::max<std::int64_t>(0, jsonInt(data, "offset", 0));
    Json::Value list(Json::arrayValue);
    for (std::int64_t i = first; i < std::int64_t(files.size()) && i < first + pageSize; ++i) {
        Json::Value v = d.item(files[std::size_t(i)].second, accessId, "");
        v["isCollect"] = lovedNow.count(files[std::size_t(i)].second) ? 1 : 0;
        list.append(v);
    }
    Json::Value out(Json::objectValue);
    out["listPath"] = list;
    out["offset"] = Json::Int64(first);
    out["totalNum"] = Json::Int64(files.size());
    return envelope(1, "success", out);
}

Json::Value TestDeviceMedia::saveState() const
{
    std::lock_guard<std::mutex> lock(mutex);
    Json::Value out(Json::arrayValue);
    for (const std::string& rel : loved)
        out.append(rel);
    return out;
}

void TestDeviceMedia::loadState(const Json::Value& state)
{
    if (!state.isArray())
        return;
    std::lock_guard<std::mutex> lock(mutex);
    loved.clear();
    for (const Json::Value& v : state)
        if (v.isString())
            loved.insert(v.asString());
}

std::string TestDeviceMedia::thumbnailFile(const std::string& rel, int mode)
{
    const fs::path src = d.abs(rel);
    std::error_code ec;
    const auto size = fs::file_size(src, ec);
    if (ec)
        return std::string();
    // One cached thumbnail per file version, so ranged requests of one
    // thumbnail see the same bytes.
    const std::string key = std::to_string(d.idFor(rel)) + "_" + std::to_string(mode) + "_"
        + std::to_string(fileTimeMs(src)) + "_" + std::to_string(size);
    const fs::path dir = fs::path(d.root) / ".tw_thumbs";
    const fs::path target = dir / key;
    if (fs::exists(target, ec))
        return target.string();
    QImage image;
    // Videos get a frame of their own, as the device's indexer makes one.
    if (!image.load(QString::fromStdString(src.string()))
        && !(inClass("video", suffixOf(rel)) && !(image = videoFrame(src)).isNull()))
        return std::string();
    const int side = mode == 3 ? 800 : 160;
    if (image.width() > side || image.height() > side)
        image = image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(85);
    if (!writer.write(image)) {
        bytes.clear();
        buffer.seek(0);
        if (!image.save(&buffer, "PNG"))
            return std::string();
    }
    fs::create_directories(dir, ec);
    // Written aside and renamed: a parallel request never sees half a file.
    std::string tmp;
    {
        std::lock_guard<std::mutex> lock(mutex);
        tmp = (dir / (key + ".part" + std::to_string(++linkCounter))).string();
    }
    {
        std::ofstream f(tmp, std::ios::binary | std::ios::trunc);
        f.write(bytes.constData(), bytes.size());
        if (!f)
            return std::string();
    }
    fs::rename(tmp, target, ec);
    return ec ? std::string() : target.string();
}

bool TestDeviceMedia::download(const httplib::Request& req, httplib::Response& res, const std::string& rel)
{
    if (!req.has_param("fileId") || !req.has_param("mode"))
        return false;
    const std::string mode = req.get_param_value("mode");
    if (mode != "1" && mode != "3")
        return false;
    const int now = ++active;
    for (int p = peak.load(); now > p && !peak.compare_exchange_weak(p, now);) {
    }
    const int wait = latencyMs.load();
    if (wait > 0)
        d.pause(wait);
    const std::string thumb = thumbnailFile(rel, std::stoi(mode));
    // A file that is no picture is answered as it is stored.
    d.serveFile(req, res, thumb.empty() ? d.abs(rel) : fs::path(thumb));
    if (res.content_provider_) {
        auto before = std::move(res.content_provider_resource_releaser_);
        res.content_provider_resource_releaser_ = [this, before](bool ok) {
            if (before)
                before(ok);
            --active;
        };
    } else {
        --active;
    }
    return true;
}

// Test accessors ------------------------------------------------------------

static TestDeviceMedia* mediaOf(TestDeviceServer::Impl& d)
{
    return d.feature<TestDeviceMedia>();
}

void TestDeviceServer::setThumbnailLatency(int ms)
{
    mediaOf(*d)->latencyMs = ms;
}

int TestDeviceServer::thumbnailPeak() const
{
    return mediaOf(*d)->peak.load();
}

void TestDeviceServer::resetThumbnailPeak()
{
    mediaOf(*d)->peak = mediaOf(*d)->active.load();
}

std::string TestDeviceServer::thumbnailBytes(const std::string& relPath, int mode)
{
    std::string rel;
    if (!cleanRelative(relPath, rel))
        return std::string();
    const std::string file = mediaOf(*d)->thumbnailFile(rel, mode);
    if (file.empty())
        return std::string();
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void TestDeviceServer::setMediaLoved(const std::string& relPath, bool loved)
{
    std::string rel;
    if (!cleanRelative(relPath, rel))
        return;
    TestDeviceMedia* m = mediaOf(*d);
    std::lock_guard<std::mutex> lock(m->mutex);
    if (loved)
        m->loved.insert(rel);
    else
        m->loved.erase(rel);
}
