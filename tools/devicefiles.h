#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/testdeviceserverimpl.h"

// File work of the group and share commands on the server's storage, with
// the ids kept in step: a moved or renamed item keeps its id (and so do the
// items inside it), a deleted one loses it, a copy gets new ones.
class DeviceFiles
{
public:
    explicit DeviceFiles(TestDeviceServer::Impl& d) : m_d(d) {}

    // rel names an existing item (file or folder) of the storage.
    bool exists(const std::string& rel) const;
    bool isFolder(const std::string& rel) const;
    // rel is inside (or is) the folder.
    static bool within(const std::string& rel, const std::string& folder);
    static std::string parentOf(const std::string& rel);
    static std::string nameOf(const std::string& rel);

    // Moves rel to folder/name; false (nothing changed) when the target
    // exists or the move fails.
    bool move(const std::string& rel, const std::string& folder, const std::string& name);
    bool remove(const std::string& rel);
    // Copies rel into the folder under a free name; the copy's path, "" on failure.
    std::string copyInto(const std::string& rel, const std::string& folder);
    // Bytes of the files in a folder, recursively.
    std::int64_t sizeOf(const std::string& rel) const;

    // Request helpers: an array of ids (numbers or decimal texts), of
    // non-empty texts; a page of items by offset ("offset" echoed) or by
    // page number from 1 ("pageNo" echoed), with "listPath", "totalNum"
    // and "totalPages".
    static std::vector<std::int64_t> ids(const Json::Value& v);
    static std::vector<std::string> texts(const Json::Value& v);
    static Json::Value pageAt(const Json::Value& items, std::int64_t offset, std::int64_t pageSize);
    static Json::Value pageNo(const Json::Value& items, std::int64_t pageNo, std::int64_t pageSize);

private:
    TestDeviceServer::Impl& m_d;
};
