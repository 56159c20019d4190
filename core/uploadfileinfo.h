#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One upload entry: a top-level row of lv_upload_file or, with isSubItem set,
// an entry inside an uploaded folder (lv_upload_sub_file).
struct UploadFileInfo
{
    int fId = 0;
    QString uId;              // UUID given to a new top-level entry before it is stored
    bool isFolder = false;
    int fileType = 0;
    QString fileName;         // column "name"
    QString filePath;         // local path
    QString accessId;
    QString deviceId;
    QString fileMd5;
    qint64 fileWriteLen = 0;
    qint64 fileSize = 0;
    qint64 createTime = 0;
    int fileState = 0;
    QString msg;
    float progress = 0;
    QString taskId;
    bool isCover = false;
    bool isSafeBox = false;
    int dirId = 0;
    QString diskSerial;
    bool isExternal = false;
    QString externalPath;
    int groupId = 0;
    int uploadType = 0;
    int pDirId = 0;           // remote folder made for the parent
    QString pExternalPath;
    QString upPath;           // target path as shown to the user
    QString pFilePath;        // sub-entry: local path of its uploaded folder
    bool isSubItem = false;
    int pId = 0;
    int speed = 0;
    int num = 0;
    bool isDirMade = false;

    QVariantMap toVariantMap() const;
    // An empty map leaves the record as it is; otherwise a missing key
    // resets its field.
    void fromVariantMap(const QVariantMap& map);
};
Q_DECLARE_METATYPE(UploadFileInfo)
Q_DECLARE_METATYPE(QList<UploadFileInfo>)
