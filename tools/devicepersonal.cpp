#include "tools/devicepersonal.h"

using namespace tds;

namespace {

std::string ok(const Json::Value& d = Json::Value(Json::objectValue))
{
    return envelope(1, "success", d);
}
} // namespace

bool DevicePersonal::command(const std::string& command, const Json::Value& data,
                             const std::string&, std::string& out)
{
    if (command == "modifyFile" || command == "modifyDir")
        out = rename(data, command == "modifyDir");
    else if (command == "deleteDirOrFile")
        out = remove(data);
    else if (command == "moveDirOrFile")
        out = move(data);
    else if (command == "copyToPeripheral")
        out = copyToUsb(data);
    else
        return false;
    return true;
}

bool DevicePersonal::itemOf(std::int64_t id, std::string& rel) const
{
    return id != 0 && m_d.pathFor(id, rel) && !rel.empty() && m_files.exists(rel)
        && rel.rfind("groups/", 0) != 0 && rel != "groups";
}

std::string DevicePersonal::rename(const Json::Value& data, bool folder)
{
    std::string rel;
    if (!itemOf(jsonInt(data, folder ? "dirId" : "fileId"), rel) || m_files.isFolder(rel) != folder)
        return failure(kNotFound, folder ? "no such folder" : "no such file");
    const std::string name = jsonStr(data, "newName");
    if (!validName(name))
        return failure(kBadName, "invalid name");
    const std::string parent = DeviceFiles::parentOf(rel);
    if (name != DeviceFiles::nameOf(rel) && !m_files.move(rel, parent, name))
        return failure(kNameExists, "the name is taken");
    Json::Value d(Json::objectValue);
    d["filePath"] = "/" + joinRel(parent, name);
    return ok(d);
}

std::string DevicePersonal::itemsOf(const Json::Value& ids, std::vector<std::string>& rels) const
{
    rels.clear();
    for (std::int64_t id : DeviceFiles::ids(ids)) {
        std::string rel;
        if (!itemOf(id, rel))
            return failure(kNotFound, "file does not exist");
        rels.push_back(rel);
    }
    return rels.empty() ? failure(kBadName, "no files") : std::string();
}

std::string DevicePersonal::remove(const Json::Value& data)
{
    std::vector<std::string> rels;
    const std::string err = itemsOf(data["fileIds"], rels);
    if (!err.empty())
        return err;
    for (const std::string& rel : rels)
        m_files.remove(rel);
    return ok();
}

std::string DevicePersonal::move(const Json::Value& data)
{
    const auto ids = DeviceFiles::ids(data["fileIds"]);
    std::string target;
    const std::string err = m_d.folderForId(jsonInt(data, "targetId"), false, target);
    if (!err.empty())
        return err;
    std::vector<std::string> rels;
    for (std::int64_t id : ids) {
        std::string rel;
        if (!itemOf(id, rel))
            return failure(kNotFound, "file does not exist");
        if (DeviceFiles::within(target, rel))
            return failure(kInsideSource, "target is inside source");
        rels.push_back(rel);
    }
    for (const std::string& rel : rels) {
        if (DeviceFiles::parentOf(rel) == target)
            continue;
        if (!m_files.move(rel, target, DeviceFiles::nameOf(rel)))
            return failure(kNameExists, "the target holds " + DeviceFiles::nameOf(rel));
    }
    return ok();
}

std::string DevicePersonal::copyToUsb(const Json::Value& data)
{
    std::string sub;
    if (!cleanRelative(jsonStr(data, "path"), sub))
        return failure(kBadName, "invalid path");
    // No "usb" folder: no disk attached.
    const std::string target = joinRel("usb", sub);
    if (!m_files.isFolder(target))
        return failure(kNotFound, "no such folder on the USB disk");
    std::vector<std::string> rels;
    const std::string err = itemsOf(data["ids"], rels);
    if (!err.empty())
        return err;
    for (const std::string& rel : rels)
        if (DeviceFiles::within(rel, "usb"))
            return failure(kNotFound, "file does not exist");
    for (const std::string& rel : rels)
        if (m_files.copyInto(rel, target).empty())
            return failure(kNotFound, "copy failed");
    return ok();
}
