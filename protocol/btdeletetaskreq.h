#pragma once

#include <QStringList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Deletes device download tasks.
class BTDeleteTaskReq : public APIReq
{
public:
    static constexpr const char* kCommand = "bt_DeleteTask";

    BTDeleteTaskReq() = default;
    BTDeleteTaskReq(const QStringList& downId_, bool isDeleteFile_)
        : downId(downId_), isDeleteFile(isDeleteFile_)
    {
    }

    QStringList downId;
    bool isDeleteFile = false;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
