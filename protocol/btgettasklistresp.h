#pragma once

#include <QList>
#include <QMetaType>

#include "protocol/apibase.h"
#include "protocol/bttaskinfo.h"

// A page of the device's download tasks ("list").
class BTGetTaskListResp : public APIBase
{
public:
    int totalPages = 0;
    int totalNum = 0;
    QList<BtTaskInfo> list;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(BTGetTaskListResp)
