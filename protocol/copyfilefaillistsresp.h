#pragma once

#include <QList>
#include <QMetaType>

#include "protocol/apibase.h"
#include "protocol/copyfailinfo.h"

// A page of the device's failed copy jobs.
class CopyFileFailListsResp : public APIBase
{
public:
    int totalPages = 0;
    int fileNum = 0;
    QList<CopyFailInfo> list;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(CopyFileFailListsResp)
