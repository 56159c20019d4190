#pragma once

#include <QString>
#include <QVariantMap>

// The map fields every queued transfer record (DownFileInfo, UploadFileInfo)
// shares with the views. 64-bit numbers travel as decimal text, which QML
// reads without losing digits.
template <class Rec>
void writeTransferFields(const Rec& r, QVariantMap& m)
{
    m["fId"] = r.fId;
    m["isFolder"] = r.isFolder;
    m["fileType"] = r.fileType;
    m["fileName"] = r.fileName;
    m["filePath"] = r.filePath;
    m["accessId"] = r.accessId;
    m["deviceId"] = r.deviceId;
    m["fileMd5"] = r.fileMd5;
    m["fileWriteLen"] = QString::number(r.fileWriteLen, 10);
    m["fileSize"] = QString::number(r.fileSize, 10);
    m["createTime"] = QString::number(r.createTime, 10);
    m["fileState"] = r.fileState;
    m["msg"] = r.msg;
    m["progress"] = r.progress;
    m["taskId"] = r.taskId;
    m["isSubItem"] = r.isSubItem;
    m["pId"] = r.pId;
    m["speed"] = r.speed;
    m["num"] = r.num;
}

// A missing key resets its field.
template <class Rec>
void readTransferFields(Rec& r, const QVariantMap& m)
{
    r.fId = m.value("fId").toInt();
    r.isFolder = m.value("isFolder").toBool();
    r.fileType = m.value("fileType").toInt();
    r.fileName = m.value("fileName").toString();
    r.filePath = m.value("filePath").toString();
    r.accessId = m.value("accessId").toString();
    r.deviceId = m.value("deviceId").toString();
    r.fileMd5 = m.value("fileMd5").toString();
    r.fileWriteLen = m.value("fileWriteLen").toString().toLongLong(nullptr, 10);
    r.fileSize = m.value("fileSize").toString().toLongLong(nullptr, 10);
    r.createTime = m.value("createTime").toString().toLongLong(nullptr, 10);
    r.fileState = m.value("fileState").toInt();
    r.msg = m.value("msg").toString();
    r.progress = m.value("progress").toFloat();
    r.taskId = m.value("taskId").toString();
    r.isSubItem = m.value("isSubItem").toBool();
    r.pId = m.value("pId").toInt();
    r.speed = m.value("speed").toInt();
    r.num = m.value("num").toInt();
}

// A folder entry is shown through the file of it that is under way; these
// copy that file's figures onto the folder's record.

// The folder's next file starts.
template <class Rec>
void showStartingFile(Rec& folder, const Rec& file)
{
    folder.fileState = 1;
    folder.fileWriteLen = 0;
    folder.fileSize = file.fileSize;
    folder.progress = 0;
}

// The folder's running file made progress.
template <class Rec>
void showRunningFile(Rec& folder, const Rec& file)
{
    folder.fileWriteLen = file.fileWriteLen;
    folder.fileSize = file.fileSize;
    folder.speed = file.speed;
    folder.progress = file.progress;
    folder.fileState = 1;
}

// Only failed files are left: the folder takes on the first one's state.
template <class Rec>
void showFailedFile(Rec& folder, const Rec& failed)
{
    folder.fileState = failed.fileState;
    folder.msg = failed.msg;
    folder.fileWriteLen = failed.fileWriteLen;
    folder.fileSize = failed.fileSize;
}
