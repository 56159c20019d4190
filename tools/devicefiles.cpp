#include "tools/devicefiles.h"

using namespace tds;

bool DeviceFiles::exists(const std::string& rel) const
{
    std::error_code ec;
    return !rel.empty() && fs::exists(m_d.abs(rel), ec);
}

bool DeviceFiles::isFolder(const std::string& rel) const
{
    std::error_code ec;
    return fs::is_directory(m_d.abs(rel), ec);
}

bool DeviceFiles::within(const std::string& rel, const std::string& folder)
{
    if (folder.empty())
        return true;
    return rel == folder || rel.rfind(folder + "/", 0) == 0;
}

std::string DeviceFiles::parentOf(const std::string& rel)
{
    const std::size_t slash = rel.rfind('/');
    return slash == std::string::npos ? std::string() : rel.substr(0, slash);
}

std::string DeviceFiles::nameOf(const std::string& rel)
{
    const std::size_t slash = rel.rfind('/');
    return slash == std::string::npos ? rel : rel.substr(slash + 1);
}

bool DeviceFiles::move(const std::string& rel, const std::string& folder, const std::string& name)
{
    const std::string to = joinRel(folder, name);
    std::error_code ec;
    if (to == rel || fs::exists(m_d.abs(to), ec))
        return false;
    fs::rename(m_d.abs(rel), m_d.abs(to), ec);
    if (ec)
        return false;
    std::lock_guard<std::mutex> lock(m_d.mutex);
    std::map<std::string, std::int64_t> moved;
    for (auto it = m_d.idByPath.begin(); it != m_d.idByPath.end();) {
        if (within(it->first, rel)) {
            moved[to + it->first.substr(rel.size())] = it->second;
            it = m_d.idByPath.erase(it);
        } else {
            ++it;
        }
    }
    for (const auto& p : moved) {
        m_d.idByPath[p.first] = p.second;
        m_d.pathById[p.second] = p.first;
    }
    m_d.saveIdsLocked();
    return true;
}

bool DeviceFiles::remove(const std::string& rel)
{
    if (rel.empty())
        return false;
    std::error_code ec;
    fs::remove_all(m_d.abs(rel), ec);
    if (ec)
        return false;
    std::lock_guard<std::mutex> lock(m_d.mutex);
    for (auto it = m_d.idByPath.begin(); it != m_d.idByPath.end();) {
        if (within(it->first, rel)) {
            m_d.pathById.erase(it->second);
            it = m_d.idByPath.erase(it);
        } else {
            ++it;
        }
    }
    m_d.saveIdsLocked();
    return true;
}

std::string DeviceFiles::copyInto(const std::string& rel, const std::string& folder)
{
    std::error_code ec;
    const fs::path dir = m_d.abs(folder);
    if (!fs::is_directory(dir, ec) || !exists(rel))
        return std::string();
    std::string name = nameOf(rel);
    if (fs::exists(dir / name, ec))
        name = freeName(dir, name);
    const std::string to = joinRel(folder, name);
    fs::copy(m_d.abs(rel), m_d.abs(to), fs::copy_options::recursive, ec);
    return ec ? std::string() : to;
}

std::int64_t DeviceFiles::sizeOf(const std::string& rel) const
{
    std::error_code ec;
    const fs::path p = m_d.abs(rel);
    if (fs::is_regular_file(p, ec))
        return static_cast<std::int64_t>(fs::file_size(p, ec));
    std::int64_t total = 0;
    for (auto it = fs::recursive_directory_iterator(p, ec); !ec && it != fs::recursive_directory_iterator();
         it.increment(ec)) {
        std::error_code ec2;
        if (it->is_regular_file(ec2))
            total += static_cast<std::int64_t>(it->file_size(ec2));
    }
    return total;
}

std::vector<std::int64_t> DeviceFiles::ids(const Json::Value& v)
{
    std::vector<std::int64_t> out;
    if (!v.isArray())
        return out;
    for (const Json::Value& x : v) {
        Json::Value holder(Json::objectValue);
        holder["v"] = x;
        out.push_back(jsonInt(holder, "v", -1));
    }
    return out;
}

std::vector<std::string> DeviceFiles::texts(const Json::Value& v)
{
    std::vector<std::string> out;
    if (!v.isArray())
        return out;
    for (const Json::Value& x : v)
        if (x.isString() && !x.asString().empty())
            out.push_back(x.asString());
    return out;
}

static Json::Value slice(const Json::Value& items, std::int64_t first, std::int64_t pageSize)
{
    const std::int64_t total = items.size();
    Json::Value list(Json::arrayValue);
    for (std::int64_t i = first; i < total && i < first + pageSize; ++i)
        list.append(items[Json::ArrayIndex(i)]);
    Json::Value out(Json::objectValue);
    out["listPath"] = list;
    out["totalNum"] = Json::Int64(total);
    out["totalPages"] = Json::Int64((total + pageSize - 1) / pageSize);
    return out;
}

Json::Value DeviceFiles::pageAt(const Json::Value& items, std::int64_t offset, std::int64_t pageSize)
{
    if (pageSize <= 0)
        pageSize = 60;
    offset = std::max<std::int64_t>(0, offset);
    Json::Value out = slice(items, offset, pageSize);
    out["offset"] = Json::Int64(offset);
    return out;
}

Json::Value DeviceFiles::pageNo(const Json::Value& items, std::int64_t pageNo, std::int64_t pageSize)
{
    if (pageSize <= 0)
        pageSize = 60;
    pageNo = std::max<std::int64_t>(1, pageNo);
    Json::Value out = slice(items, (pageNo - 1) * pageSize, pageSize);
    out["pageNo"] = Json::Int64(pageNo);
    return out;
}
