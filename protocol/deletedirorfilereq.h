#pragma once

#include <QList>
#include <QtGlobal>

#include "protocol/apireq.h"

// Deletes files and folders of the personal space.
class DeleteDirOrFileReq : public APIReq
{
public:
    static constexpr const char* kCommand = "deleteDirOrFile";

    DeleteDirOrFileReq() = default;
    DeleteDirOrFileReq(const QList<qint64>& fileIds_, bool isForce_)
        : fileIds(fileIds_), isForce(isForce_)
    {
    }

    QList<qint64> fileIds;
    bool isForce = false;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
