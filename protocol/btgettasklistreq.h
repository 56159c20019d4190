#pragma once

#include <QtGlobal>

#include "protocol/apireq.h"

// A page of the device's download tasks (vType 1 running, 2 finished).
class BTGetTaskListReq : public APIReq
{
public:
    static constexpr const char* kCommand = "bt_GetTaskList";

    BTGetTaskListReq() = default;
    BTGetTaskListReq(int vType_, int pageNo_, int pageSize_)
        : vType(vType_), pageNo(pageNo_), pageSize(pageSize_)
    {
    }

    int vType = 1;
    int pageNo = 1;
    int pageSize = 50;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
