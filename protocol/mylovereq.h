#pragma once

#include <QList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Marks files as favourites, or clears the mark.
class MyLoveReq : public APIReq
{
public:
    static constexpr const char* kCommand = "myLove";

    MyLoveReq() = default;
    MyLoveReq(const QList<qint64>& fileIds_, bool isLove_)
        : fileIds(fileIds_), isLove(isLove_)
    {
    }

    QList<qint64> fileIds;
    bool isLove = false;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
