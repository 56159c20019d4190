#pragma once

#include <QString>

#include "protocol/apireq.h"

// Adds a device download task, from a resource text (link) or a torrent
// file on the device, saved to device storage or to attached storage.
class BTAddTaskReq : public APIReq
{
public:
    static constexpr const char* kCommand = "bt_AddTask";

    QString resource;
    int fileId = 0;
    QString diskSerial;
    int saveDirId = 0;
    QString externalPath;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
