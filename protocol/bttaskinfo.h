#pragma once

#include <QMetaType>
#include <QString>

// One download task run by the device itself.
struct BtTaskInfo
{
    QString downId;
    int taskId = 0;
    int status = 0;
    int fileType = 0;
    QString fileName;
    qint64 totalTime = 0;
    int progress = 0;
    int exception = 0;
    qint64 recvSize = 0;
    qint64 size = 0;
    int speed = 0;
    qint64 finishedTime = 0;
    QString mime_type;
    bool isExternal = false;
    int isFile = 0;
    QString fileMd5;
    int fileId = 0;
};
Q_DECLARE_METATYPE(BtTaskInfo)
