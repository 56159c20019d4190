#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

struct LocalFileInfo;
struct TwFileInfo;

// One download entry: a top-level row of lv_down_file or, with isSubItem set,
// a file (or empty folder) inside a downloaded folder (lv_down_sub_file).
// Also carries the rules that turn the entry into local paths.
struct DownFileInfo
{
    int fId = 0;              // row id in its table; 0 until stored
    int fileId = 0;           // id on the device (disk listing id for attached disks)
    bool isFolder = false;
    int fileType = 0;         // source kind, memory only
    QString fileName;
    QString ower;             // owning account on the device
    QString filePath;         // path on the device (column downUrl)
    QString accessId;
    QString deviceId;
    QString fileMd5;
    QString usbFilePath;      // path on an attached disk; non-empty selects download by path
    QString savePath;         // chosen local folder; full local file path once finished
    qint64 fileWriteLen = 0;
    qint64 fileSize = 0;
    qint64 createTime = 0;    // ms since the epoch
    int fileState = 0;        // 1 running, 2 waiting, 3 paused, 4 failed, 5 finished
    QString msg;
    float progress = 0;
    QString taskId;
    int fileCatetory = 0;
    int groupId = 0;
    QString saveName;         // local name chosen for a top-level folder
    bool isSubItem = false;
    int pId = 0;              // top folder's fId (own fId for a top-level entry)
    QString pNamePath;        // "", "/A", "/A/B" below the top folder
    int speed = 0;
    int num = 0;              // folder: sub-entries still queued
    QString shareId;
    QString extractedCode;
    bool isEmptyFolder = false;

    // The item's own fields (id, kind, name, paths, size and, for a device
    // item, owner, digest, category and group); the rest is the caller's.
    static DownFileInfo fromItem(const TwFileInfo& item);
    // An attached disk's item: usbFilePath is its path on the disk,
    // filePath its path on the device.
    static DownFileInfo fromItem(const LocalFileInfo& item);

    QVariantMap toVariantMap() const;
    // An empty map leaves the record as it is; otherwise a missing key
    // resets its field.
    void fromVariantMap(const QVariantMap& map);

    // Final local folder of the entry (created when missing). For a
    // sub-entry: savePath/topName/pNamePath, every component made safe.
    // False when a name cannot be made safe, the folder would lie outside
    // savePath, or it cannot be created.
    bool getSavePath(const QString& topName, QString& out) const;
    // Free local name for a top-level folder below savePath; creates it.
    bool newFolderName(QString& outName, int count = 0) const;
    // Free local path for this entry's file in dir.
    bool newFileName(const QString& dir, QString& out, int count = 0) const;
    // Temporary download file; stable for the same entry. tmpDir defaults to
    // the application's tmp folder.
    bool getTempPath(QString& out, const QString& tmpDir = QString()) const;

    // "name(count).suffix" as used for free names; name without dot gets no
    // suffix. Count 0 gives the name itself. Either is cut to the 255 bytes
    // a file system takes, the number and suffix kept.
    static QString numberedName(const QString& name, int count);
};
Q_DECLARE_METATYPE(DownFileInfo)
Q_DECLARE_METATYPE(QList<DownFileInfo>)
