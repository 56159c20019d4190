#include "tools/testdeviceserverimpl.h"

#include <dirent.h>

using namespace tds;

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
    if (canned.empty())
        saveState();
    res.status = 200;
    res.set_content(answer, "application/json");
}

std::string TestDeviceServer::Impl::md5Of(const fs::path& p, std::int64_t size, std::int64_t mtimeMs)
{
    if (size > kMd5Limit)
        return std::string();
    const std::string stamp = std::to_string(size) + ":" + std::to_string(mtimeMs);
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
    // One stat an item: listings of thousands of files are paged through
    // this, 100 items a page.
    struct stat st;
    const bool found = ::stat(p.c_str(), &st) == 0;
    const bool isFile = found && S_ISREG(st.st_mode);
    const std::int64_t len = isFile ? static_cast<std::int64_t>(st.st_size) : 0;
    const std::int64_t mtimeMs =
        found ? static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000 : 0;
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
    v["fileMd5"] = isFile ? md5Of(p, len, mtimeMs) : std::string();
    v["lastModified"] = Json::Int64(mtimeMs);
    v["createTime"] = Json::Int64(mtimeMs);
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

// The names in a folder, folders first, each part in name order. Paging
// through a folder of thousands would read it whole for every page, so the
// last folders read are kept while their time of change stays. A folder
// changed shortly before it was read is not kept: a change in the same
// clock tick would not show in that time.
std::shared_ptr<const TestDeviceServer::Impl::FolderNames>
TestDeviceServer::Impl::folderNames(const fs::path& dir, bool personalRoot)
{
    struct stat st;
    const bool stamped = ::stat(dir.c_str(), &st) == 0;
    const std::string key = dir.string() + (personalRoot ? "|root" : "|");
    if (stamped) {
        std::lock_guard<std::mutex> lock(mutex);
        for (const KeptFolder& k : keptFolders) {
            if (k.key == key && k.ino == st.st_ino && k.mtime.tv_sec == st.st_mtim.tv_sec
                && k.mtime.tv_nsec == st.st_mtim.tv_nsec)
                return k.names;
        }
    }
    const std::int64_t readAtMs = nowMs();
    auto names = std::make_shared<FolderNames>();
    if (DIR* d = ::opendir(dir.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const std::string name = e->d_name;
            if (name == "." || name == ".." || name.rfind(".tw_", 0) == 0)
                continue;
            // The storage of groups and attached disks is not part of the
            // personal space.
            if (personalRoot && (name == "groups" || name == "usb" || name == "sd" || name == "samba"))
                continue;
            bool isDir = e->d_type == DT_DIR;
            if (e->d_type == DT_UNKNOWN || e->d_type == DT_LNK) {
                std::error_code ec;
                isDir = fs::is_directory(dir / name, ec);
            }
            names->emplace_back(!isDir, name);
        }
        ::closedir(d);
    }
    std::sort(names->begin(), names->end());
    const std::int64_t changedMs =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000 + st.st_mtim.tv_nsec / 1000000;
    if (stamped && readAtMs - changedMs > kSettledMs) {
        std::lock_guard<std::mutex> lock(mutex);
        keptFolders.erase(std::remove_if(keptFolders.begin(), keptFolders.end(),
                                         [&](const KeptFolder& k) { return k.key == key; }),
                          keptFolders.end());
        keptFolders.push_front({key, st.st_ino, st.st_mtim, names});
        if (keptFolders.size() > kKeptFolders)
            keptFolders.pop_back();
    }
    return names;
}

std::string TestDeviceServer::Impl::listing(const std::string& rel, const Json::Value& data,
                                            const std::string& accessId, const std::string& diskPrefix,
                                            bool byOffset, bool sorted)
{
    const fs::path dir = abs(rel);
    std::error_code ec;
    if (!fs::is_directory(dir, ec))
        return failure(404, "folder does not exist");
    const std::shared_ptr<const FolderNames> sortedNames = folderNames(dir, rel.empty() && diskPrefix.empty());
    std::int64_t pageSize = jsonInt(data, "pageSize", 60);
    if (pageSize <= 0)
        pageSize = 60;
    pageSize = std::min<std::int64_t>(pageSize, 1000000);
    const std::int64_t total = static_cast<std::int64_t>(sortedNames->size());
    std::int64_t first;
    Json::Value out(Json::objectValue);
    if (byOffset) {
        first = std::max<std::int64_t>(0, jsonInt(data, "offset", 0));
        out["offset"] = Json::Int64(first);
    } else {
        const std::int64_t pageNo = std::max<std::int64_t>(1, jsonInt(data, "pageNo", 1));
        first = pageNo - 1 > total / pageSize ? total : (pageNo - 1) * pageSize;
        out["pageNo"] = Json::Int64(pageNo);
    }
    first = std::min(first, total);
    const int condition = static_cast<int>(jsonInt(data, "condition"));
    const FolderNames* names = sortedNames.get();
    FolderNames byTime;
    if (sorted && condition >= 0 && condition <= 2) {
        byTime = *sortedNames;
        names = &byTime;
        const bool ascending = jsonBool(data, "isSort");
        std::map<std::string, std::int64_t> times;
        for (const auto& n : byTime)
            times[n.second] = fileTimeMs(dir / n.second);
        std::stable_sort(byTime.begin(), byTime.end(), [&](const auto& a, const auto& b) {
            if (a.first != b.first)
                return !a.first;
            if (condition == 2)
                return ascending ? a.second < b.second : a.second > b.second;
            // Items made within one clock tick keep name order either way.
            if (times[a.second] == times[b.second])
                return a.second < b.second;
            return ascending ? times[a.second] < times[b.second] : times[a.second] > times[b.second];
        });
    }
    Json::Value list(Json::arrayValue);
    for (std::int64_t i = first; i < total && i < first + pageSize; ++i)
        list.append(item(joinRel(rel, (*names)[static_cast<std::size_t>(i)].second), accessId, diskPrefix));
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
    if (command == "getDirPath" || command == "getLinkDirPath") {
        std::string rel;
        const std::string err = folderForId(jsonInt(data, "fileId"),
                                            command == "getDirPath" && jsonBool(data, "isSafetyBox"), rel);
        // A link's folder is sorted as its top level is.
        return err.empty() ? listing(rel, data, accessId, "", false, command == "getLinkDirPath") : err;
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
    // A search in a group is the groups feature's.
    if (command == "getPubFileList" && jsonStr(data, "keyValue").empty()) {
        const std::int64_t groupId = jsonInt(data, "groupId");
        const std::string group = "groups/" + std::to_string(groupId);
        std::string rel = group;
        const std::int64_t fileId = jsonInt(data, "fileId");
        if (fileId == 0 || fileId == rootId) {
            groupRoot(groupId);
        } else if (!pathFor(fileId, rel) || rel.rfind(group + "/", 0) != 0) {
            return failure(404, "no such folder in the group");
        }
        return listing(rel, data, accessId, "", true, true);
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

