#pragma once

#include <string>

#include "tools/devicefiles.h"
#include "tools/testdeviceserverimpl.h"

// File commands of the personal space: rename (modifyFile, modifyDir),
// delete (deleteDirOrFile) and move (moveDirOrFile), by id, keeping the ids
// of what is moved or renamed; copies onto the attached USB disk
// (copyToPeripheral), whose stand-in is the storage's "usb" folder.
class DevicePersonal : public TestDeviceFeature
{
public:
    explicit DevicePersonal(TestDeviceServer::Impl& d) : m_d(d), m_files(d) {}

    bool command(const std::string& command, const Json::Value& data,
                 const std::string& accessId, std::string& out) override;

private:
    std::string rename(const Json::Value& data, bool folder);
    std::string remove(const Json::Value& data);
    std::string move(const Json::Value& data);
    std::string copyToUsb(const Json::Value& data);
    // The personal-space item of an id (not the root, not a group's).
    bool itemOf(std::int64_t id, std::string& rel) const;
    // The items of an array of ids; the failure answer, "" when all are
    // there (and there is at least one).
    std::string itemsOf(const Json::Value& ids, std::vector<std::string>& rels) const;

    TestDeviceServer::Impl& m_d;
    DeviceFiles m_files;
};
