#pragma once

#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Starts, pauses or removes one device download task.
class BTOperateTaskReq : public APIReq
{
public:
    static constexpr const char* kCommand = "bt_OperateTask";

    BTOperateTaskReq() = default;
    BTOperateTaskReq(int operate_, int vType_, const QString& downId_, bool isDeleteFile_)
        : operate(operate_), vType(vType_), downId(downId_), isDeleteFile(isDeleteFile_)
    {
    }

    int operate = 0;
    int vType = 0;
    QString downId;
    bool isDeleteFile = false;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
