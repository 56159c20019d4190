#pragma once

#include <QString>

#include "protocol/apireq.h"

// A keyword search in the files shared with the signed-in user.
class FindShareFileReq : public APIReq
{
public:
    static constexpr const char* kCommand = "findShareFile";

    FindShareFileReq() = default;
    FindShareFileReq(const QString& keyValue_, int pageNo_)
        : keyValue(keyValue_), pageNo(pageNo_)
    {
    }

    QString keyValue;
    int pageNo = 0;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
