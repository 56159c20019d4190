#pragma once

#include "protocol/apireq.h"

// A page of the files all users share with the signed-in user.
class GetShareFileReq : public APIReq
{
public:
    static constexpr const char* kCommand = "getShareFile";

    GetShareFileReq() = default;
    GetShareFileReq(int pageNo_, int condition_, bool isSort_)
        : pageNo(pageNo_), condition(condition_), isSort(isSort_)
    {
    }

    int pageNo = 0;
    int condition = 0;
    bool isSort = false;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
