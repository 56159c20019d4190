#pragma once

#include <QtGlobal>

#include "protocol/apireq.h"

// Stops the device's copy (or move) jobs.
class CleanCopyFileListsReq : public APIReq
{
public:
    static constexpr const char* kCommand = "cleanCopyFileLists";

    CleanCopyFileListsReq() = default;
    CleanCopyFileListsReq(int operationType_)
        : operationType(operationType_)
    {
    }

    int operationType = 0;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
