#pragma once

#include <QString>

#include "protocol/apireq.h"

// A page of the files one user shares.
class GetUserShareFileReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getUserShareFile";

    GetUserShareFileReq() = default;
    GetUserShareFileReq(int pageNo_, int condition_, bool isSort_, const QString& accessId_)
        : pageNo(pageNo_), condition(condition_), isSort(isSort_), accessId(accessId_)
    {
    }

    int pageNo = 0;
    int condition = 0;
    bool isSort = false;
    QString accessId;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
