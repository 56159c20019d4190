#pragma once

#include <QtGlobal>

#include "protocol/apireq.h"

// Moves one file or folder into another folder of the same public group.
class MoviePubDirOrFileReq : public APIReq
{
public:
    static constexpr const char* kCommand = "moviePubDirOrFile";

    MoviePubDirOrFileReq() = default;
    MoviePubDirOrFileReq(int groupId_, qint64 movieFileId_, qint64 targetId_)
        : groupId(groupId_), movieFileId(movieFileId_), targetId(targetId_)
    {
    }

    int groupId = 0;
    qint64 movieFileId = 0;
    qint64 targetId = 0;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
