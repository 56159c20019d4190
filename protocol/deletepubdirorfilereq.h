#pragma once

#include <QList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Deletes files and folders of a public group.
class DeletePubDirOrFileReq : public APIReq
{
public:
    static constexpr const char* kCommand = "deletePubDirOrFile";

    DeletePubDirOrFileReq() = default;
    DeletePubDirOrFileReq(int groupId_, const QList<qint64>& fileIds_)
        : groupId(groupId_), fileIds(fileIds_)
    {
    }

    int groupId = 0;
    QList<qint64> fileIds;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
