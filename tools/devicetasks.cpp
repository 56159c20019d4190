#include "tools/devicetasks.h"

using namespace tds;

namespace {

// Page bounds of a list; false for a page the device would refuse.
bool pageRange(const Json::Value& data, std::size_t total, std::size_t& from, std::size_t& to,
               int& totalPages)
{
    const std::int64_t pageNo = jsonInt(data, "pageNo", 1);
    const std::int64_t pageSize = jsonInt(data, "pageSize", 0);
    if (pageNo < 1 || pageSize < 1)
        return false;
    totalPages = static_cast<int>((total + pageSize - 1) / pageSize);
    from = std::min<std::size_t>(total, static_cast<std::size_t>((pageNo - 1) * pageSize));
    to = std::min<std::size_t>(total, from + static_cast<std::size_t>(pageSize));
    return true;
}

std::vector<std::int64_t> idList(const Json::Value& v)
{
    std::vector<std::int64_t> ids;
    if (!v.isArray())
        return ids;
    for (const Json::Value& x : v) {
        if (x.isIntegral())
            ids.push_back(x.asInt64());
        else if (x.isString())
            ids.push_back(std::atoll(x.asCString()));
    }
    return ids;
}

Json::Value ok(const Json::Value& data = Json::Value(Json::objectValue))
{
    return data;
}

} // namespace

bool DeviceTasks::command(const std::string& command, const Json::Value& data,
                          const std::string& /*accessId*/, std::string& out)
{
    if (command == "copyFileLists")
        out = copyFileLists(data);
    else if (command == "cleanCopyFileLists") {
        const bool moves = jsonInt(data, "operationType") == 1;
        std::lock_guard<std::mutex> lock(m_mutex);
        m_jobs.erase(std::remove_if(m_jobs.begin(), m_jobs.end(),
                                    [moves](const CopyJob& j) { return (j.operationType == 1) == moves; }),
                     m_jobs.end());
        out = envelope(1, "success", ok());
    } else if (command == "copyFileFailLists")
        out = copyFileFailLists(data);
    else if (command == "retryCopyTask")
        out = retryCopy(data);
    else if (command == "deleteCopyFailLists")
        out = deleteCopyFailures(data);
    else if (command == "bt_GetTaskList")
        out = btGetTaskList(data);
    else if (command == "bt_AddTask")
        out = btAddTask(data);
    else if (command == "bt_OperateTask")
        out = btOperateTask(data);
    else if (command == "bt_DeleteTask")
        out = btDeleteTask(data);
    else
        return false;
    return true;
}

std::string DeviceTasks::copyFileLists(const Json::Value& data)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    int copies = 0;
    int moves = 0;
    for (const CopyJob& j : m_jobs)
        ++(j.operationType == 1 ? moves : copies);
    std::size_t from = 0, to = 0;
    int totalPages = 0;
    if (!pageRange(data, m_jobs.size(), from, to, totalPages))
        return failure(2005, "invalid page");
    Json::Value d(Json::objectValue);
    d["totalPages"] = totalPages;
    d["fileNum"] = copies;
    d["mvfileNum"] = moves;
    Json::Value list(Json::arrayValue);
    for (std::size_t i = from; i < to; ++i) {
        Json::Value e(Json::objectValue);
        e["curOperId"] = Json::Int64(m_jobs[i].id);
        e["name"] = m_jobs[i].name;
        e["operationType"] = m_jobs[i].operationType;
        e["status"] = m_jobs[i].status;
        list.append(e);
    }
    d["listPath"] = list;
    return envelope(1, "success", d);
}

std::string DeviceTasks::copyFileFailLists(const Json::Value& data)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::size_t from = 0, to = 0;
    int totalPages = 0;
    if (!pageRange(data, m_failures.size(), from, to, totalPages))
        return failure(2005, "invalid page");
    Json::Value d(Json::objectValue);
    d["totalPages"] = totalPages;
    d["fileNum"] = static_cast<int>(m_failures.size());
    Json::Value list(Json::arrayValue);
    for (std::size_t i = from; i < to; ++i) {
        const CopyFailure& f = m_failures[i];
        Json::Value e(Json::objectValue);
        e["name"] = f.name;
        e["sourceFile"] = f.sourceFile;
        e["tagFile"] = f.tagFile;
        e["groupName"] = f.groupName;
        e["num"] = f.num;
        e["type"] = f.type;
        e["curOperId"] = Json::Int64(f.curOperId);
        e["failcode"] = f.failcode;
        e["operationType"] = f.operationType;
        list.append(e);
    }
    d["listPath"] = list;
    return envelope(1, "success", d);
}

std::string DeviceTasks::retryCopy(const Json::Value& data)
{
    const std::vector<std::int64_t> ids = idList(data["curOperIds"]);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (ids.empty())
        return failure(2005, "no task");
    std::vector<std::size_t> at;
    for (std::int64_t id : ids) {
        auto it = std::find_if(m_failures.begin(), m_failures.end(),
                               [id](const CopyFailure& f) { return f.curOperId == id; });
        if (it == m_failures.end())
            return failure(404, "task not found");
        at.push_back(static_cast<std::size_t>(it - m_failures.begin()));
    }
    for (std::size_t i : at) {
        CopyJob j;
        j.id = m_failures[i].curOperId;
        j.name = m_failures[i].name;
        j.operationType = m_failures[i].operationType;
        j.status = 1;
        m_jobs.push_back(j);
    }
    m_failures.erase(std::remove_if(m_failures.begin(), m_failures.end(),
                                    [&ids](const CopyFailure& f) {
                                        return std::find(ids.begin(), ids.end(), f.curOperId) != ids.end();
                                    }),
                     m_failures.end());
    return envelope(1, "success", ok());
}

std::string DeviceTasks::deleteCopyFailures(const Json::Value& data)
{
    const std::vector<std::int64_t> ids = idList(data["curOperIds"]);
    std::lock_guard<std::mutex> lock(m_mutex);
    if (ids.empty())
        return failure(2005, "no task");
    for (std::int64_t id : ids) {
        if (std::none_of(m_failures.begin(), m_failures.end(),
                         [id](const CopyFailure& f) { return f.curOperId == id; }))
            return failure(404, "task not found");
    }
    m_failures.erase(std::remove_if(m_failures.begin(), m_failures.end(),
                                    [&ids](const CopyFailure& f) {
                                        return std::find(ids.begin(), ids.end(), f.curOperId) != ids.end();
                                    }),
                     m_failures.end());
    return envelope(1, "success", ok());
}

std::string DeviceTasks::btGetTaskList(const Json::Value& data)
{
    const std::int64_t vType = jsonInt(data, "vType");
    if (vType != 1 && vType != 2)
        return failure(2005, "invalid vType");
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<const BtTask*> shown;
    for (const BtTask& t : m_tasks)
        if (finished(t.status) == (vType == 2))
            shown.push_back(&t);
    std::size_t from = 0, to = 0;
    int totalPages = 0;
    if (!pageRange(data, shown.size(), from, to, totalPages))
        return failure(2005, "invalid page");
    Json::Value d(Json::objectValue);
    d["totalPages"] = totalPages;
    d["totalNum"] = static_cast<int>(shown.size());
    Json::Value list(Json::arrayValue);
    for (std::size_t i = from; i < to; ++i) {
        const BtTask& t = *shown[i];
        Json::Value e(Json::objectValue);
        e["downId"] = t.downId;
        e["taskId"] = t.taskId;
        e["status"] = t.status;
        e["fileType"] = 0;
        e["fileName"] = t.fileName;
        e["totalTime"] = 0;
        e["progress"] = t.progress;
        e["exception"] = t.exception;
        e["recvSize"] = Json::Int64(t.recvSize);
        e["size"] = Json::Int64(t.size);
        e["speed"] = t.speed;
        e["finishedTime"] = Json::Int64(t.finishedTime);
        e["mime_type"] = "";
        e["isExternal"] = t.isExternal;
        e["isFile"] = t.isFile;
        e["fileMd5"] = "";
        e["fileId"] = 0;
        list.append(e);
    }
    d["list"] = list;
    return envelope(1, "success", d);
}

std::string DeviceTasks::btAddTask(const Json::Value& data)
{
    BtTask t;
    const std::string resource = jsonStr(data, "resource");
    const std::int64_t fileId = jsonInt(data, "fileId");
    if (resource.empty() && fileId == 0)
        return failure(2005, "no resource");
    t.isExternal = jsonBool(data, "isExternal");
    if (t.isExternal) {
        t.target = jsonStr(data, "externalPath");
        std::string rel;
        if (t.target.empty() || !cleanRelative(t.target, rel))
            return failure(2005, "invalid path");
    } else {
        t.target = std::to_string(jsonInt(data, "saveDirId"));
    }
    std::string name = resource.empty() ? "file" + std::to_string(fileId) : resource;
    const std::size_t slash = name.find_last_of('/');
    if (slash != std::string::npos && slash + 1 < name.size())
        name = name.substr(slash + 1);
    t.fileName = name;
    t.status = 0;
    addBtTask(t);
    return envelope(1, "success", ok());
}

std::string DeviceTasks::btOperateTask(const Json::Value& data)
{
    const std::int64_t operate = jsonInt(data, "operate");
    const std::int64_t vType = jsonInt(data, "vType");
    const std::string downId = jsonStr(data, "downId");
    if (operate < 1 || operate > 3)
        return failure(2005, "invalid operate");
    std::lock_guard<std::mutex> lock(m_mutex);
    // Which tasks the request names: one by id, all running ones, or (for
    // deletion with vType 2) all finished ones.
    auto named = [&](const BtTask& t) {
        if (vType == 1)
            return t.downId == downId;
        if (vType == 2)
            return operate == 3 ? finished(t.status) : !finished(t.status);
        if (vType == 3)
            return !finished(t.status);
        return false;
    };
    if (vType == 1 && std::none_of(m_tasks.begin(), m_tasks.end(), named))
        return failure(404, "task not found");
    if (vType < 1 || vType > 3)
        return failure(2005, "invalid vType");
    if (operate == 3) {
        m_tasks.erase(std::remove_if(m_tasks.begin(), m_tasks.end(), named), m_tasks.end());
        return envelope(1, "success", ok());
    }
    for (BtTask& t : m_tasks) {
        if (!named(t))
            continue;
        if (operate == 1 && !finished(t.status))
            t.status = 3;
        else if (operate == 2 && (t.status == 3 || finished(t.status))) {
            t.status = finished(t.status) ? 0 : 2;
            t.exception = 0;
        }
    }
    return envelope(1, "success", ok());
}

std::string DeviceTasks::btDeleteTask(const Json::Value& data)
{
    const Json::Value& ids = data["downId"];
    if (!ids.isArray() || ids.empty())
        return failure(2005, "no task");
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::string> gone;
    for (const Json::Value& v : ids) {
        const std::string id = v.isString() ? v.asString() : std::string();
        if (std::none_of(m_tasks.begin(), m_tasks.end(), [&id](const BtTask& t) { return t.downId == id; }))
            return failure(404, "task not found");
        gone.push_back(id);
    }
    m_tasks.erase(std::remove_if(m_tasks.begin(), m_tasks.end(),
                                 [&gone](const BtTask& t) {
                                     return std::find(gone.begin(), gone.end(), t.downId) != gone.end();
                                 }),
                  m_tasks.end());
    return envelope(1, "success", ok());
}

Json::Value DeviceTasks::saveState() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    Json::Value out(Json::objectValue);
    out["nextId"] = Json::Int64(m_nextId);
    Json::Value jobs(Json::arrayValue);
    for (const CopyJob& j : m_jobs) {
        Json::Value v(Json::objectValue);
        v["id"] = Json::Int64(j.id);
        v["name"] = j.name;
        v["operationType"] = j.operationType;
        v["status"] = j.status;
        jobs.append(v);
    }
    out["jobs"] = jobs;
    Json::Value failures(Json::arrayValue);
    for (const CopyFailure& f : m_failures) {
        Json::Value v(Json::objectValue);
        v["curOperId"] = Json::Int64(f.curOperId);
        v["name"] = f.name;
        v["sourceFile"] = f.sourceFile;
        v["tagFile"] = f.tagFile;
        v["groupName"] = f.groupName;
        v["num"] = f.num;
        v["type"] = f.type;
        v["failcode"] = f.failcode;
        v["operationType"] = f.operationType;
        failures.append(v);
    }
    out["failures"] = failures;
    Json::Value tasks(Json::arrayValue);
    for (const BtTask& t : m_tasks) {
        Json::Value v(Json::objectValue);
        v["downId"] = t.downId;
        v["taskId"] = t.taskId;
        v["status"] = t.status;
        v["fileName"] = t.fileName;
        v["progress"] = t.progress;
        v["exception"] = t.exception;
        v["recvSize"] = Json::Int64(t.recvSize);
        v["size"] = Json::Int64(t.size);
        v["speed"] = t.speed;
        v["finishedTime"] = Json::Int64(t.finishedTime);
        v["isFile"] = t.isFile;
        v["isExternal"] = t.isExternal;
        v["target"] = t.target;
        tasks.append(v);
    }
    out["bt"] = tasks;
    return out;
}

void DeviceTasks::loadState(const Json::Value& state)
{
    if (!state.isObject())
        return;
    std::lock_guard<std::mutex> lock(m_mutex);
    m_nextId = std::max<std::int64_t>(5000, jsonInt(state, "nextId", 5000));
    m_jobs.clear();
    for (const Json::Value& v : state["jobs"]) {
        CopyJob j;
        j.id = jsonInt(v, "id");
        j.name = jsonStr(v, "name");
        j.operationType = int(jsonInt(v, "operationType"));
        j.status = int(jsonInt(v, "status", 1));
        m_jobs.push_back(j);
    }
    m_failures.clear();
    for (const Json::Value& v : state["failures"]) {
        CopyFailure f;
        f.curOperId = jsonInt(v, "curOperId");
        f.name = jsonStr(v, "name");
        f.sourceFile = jsonStr(v, "sourceFile");
        f.tagFile = jsonStr(v, "tagFile");
        f.groupName = jsonStr(v, "groupName");
        f.num = int(jsonInt(v, "num", 1));
        f.type = int(jsonInt(v, "type", 1));
        f.failcode = int(jsonInt(v, "failcode"));
        f.operationType = int(jsonInt(v, "operationType"));
        m_failures.push_back(f);
    }
    m_tasks.clear();
    for (const Json::Value& v : state["bt"]) {
        BtTask t;
        t.downId = jsonStr(v, "downId");
        t.taskId = int(jsonInt(v, "taskId"));
        t.status = int(jsonInt(v, "status"));
        t.fileName = jsonStr(v, "fileName");
        t.progress = int(jsonInt(v, "progress"));
        t.exception = int(jsonInt(v, "exception"));
        t.recvSize = jsonInt(v, "recvSize");
        t.size = jsonInt(v, "size");
        t.speed = int(jsonInt(v, "speed"));
        t.finishedTime = jsonInt(v, "finishedTime");
        t.isFile = int(jsonInt(v, "isFile", 1));
        t.isExternal = jsonBool(v, "isExternal");
        t.target = jsonStr(v, "target");
        m_tasks.push_back(t);
    }
}

std::int64_t DeviceTasks::addCopyJob(const std::string& name, int operationType, int status)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    CopyJob j;
    j.id = m_nextId++;
    j.name = name;
    j.operationType = operationType;
    j.status = status;
    m_jobs.push_back(j);
    return j.id;
}

std::int64_t DeviceTasks::addCopyFailure(CopyFailure f)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    f.curOperId = m_nextId++;
    m_failures.push_back(f);
    return f.curOperId;
}

std::string DeviceTasks::addBtTask(BtTask t)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    t.taskId = static_cast<int>(m_nextId++);
    t.downId = "bt" + std::to_string(t.taskId);
    if (finished(t.status) && t.finishedTime == 0)
        t.finishedTime = nowMs();
    m_tasks.push_back(t);
    return t.downId;
}

std::size_t DeviceTasks::copyJobCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_jobs.size();
}

std::vector<std::int64_t> DeviceTasks::copyFailureIds() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::vector<std::int64_t> ids;
    for (const CopyFailure& f : m_failures)
        ids.push_back(f.curOperId);
    return ids;
}

std::vector<DeviceTasks::BtTask> DeviceTasks::btTasks() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_tasks;
}

// Seeding and reading for tests.

static DeviceTasks* tasksOf(TestDeviceServer::Impl& d)
{
    return d.feature<DeviceTasks>();
}

std::int64_t TestDeviceServer::addCopyJob(const std::string& name, int operationType, int status)
{
    return tasksOf(*d)->addCopyJob(name, operationType, status);
}

std::int64_t TestDeviceServer::addCopyFailure(const std::string& name, const std::string& tagFile,
                                              int type, int failcode, const std::string& groupName,
                                              int num)
{
    DeviceTasks::CopyFailure f;
    f.name = name;
    f.sourceFile = "/src/" + name;
    f.tagFile = tagFile;
    f.type = type;
    f.failcode = failcode;
    f.groupName = groupName;
    f.num = num;
    return tasksOf(*d)->addCopyFailure(f);
}

std::size_t TestDeviceServer::copyJobCount() const
{
    return tasksOf(*d)->copyJobCount();
}

std::vector<std::int64_t> TestDeviceServer::copyFailureIds() const
{
    return tasksOf(*d)->copyFailureIds();
}

std::string TestDeviceServer::addBtTask(const std::string& fileName, int status, std::int64_t size,
                                        int isFile, int exception)
{
    DeviceTasks::BtTask t;
    t.fileName = fileName;
    t.status = status;
    t.size = size;
    t.recvSize = status >= 5 ? size : size / 2;
    t.progress = status >= 5 ? 100 : 50;
    t.isFile = isFile;
    t.exception = exception;
    return tasksOf(*d)->addBtTask(t);
}

std::map<std::string, int> TestDeviceServer::btTaskStates() const
{
    std::map<std::string, int> out;
    for (const DeviceTasks::BtTask& t : tasksOf(*d)->btTasks())
        out[t.downId] = t.status;
    return out;
}
