#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

// The device's running copy and move jobs.
class CopyFileListsResp : public APIBase
{
public:
    int totalPages = 0;
    int fileNum = 0;        // copy jobs still running
    int mvfileNum = 0;      // move jobs still running
    bool copyFailed = false;
    bool moveFailed = false;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(CopyFileListsResp)
