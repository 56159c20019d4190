#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QVariantMap>

// One file item of a device listing (or a local item when `local` is set).
struct TwFileInfo
{
    bool local = false;
    int type = 0;            // Common::MediaType
    QString name;
    bool isFile = false;
    bool isHidden = false;
    bool isSamba = false;
    bool isUsb = false;
    QString filePath;
    QString upPath;
    QString url;
    qint64 id = 0;
    qint64 fileLen = 0;
    qint64 lastModified = 0; // ms since the epoch
    qint64 createTime = 0;   // ms since the epoch
    QString ower;
    QString fileMd5;
    int fileCatetory = 0;
    int mode = 0;
    int groupId = 0;
    QString labelId;
    int downStatus = 0;
    int status = 0;
    int isCollect = 0;       // 1 or more: favourite
    int publicType = 1;      // 1 not shared, 0 shared with all, 2 with users
    QString shareId;
    QString extractedCode;
    qint64 shareTime = 0;
    QString shareHeadImg;
    QString shareUserName;
    QString dayKey;          // decimal ms of local midnight of lastModified's day

    QVariantMap toVariantMap() const;
    static TwFileInfo fromVariantMap(const QVariantMap& map);

    // Sets `type`: Samba 4, folder 5, else the media type of the suffix.
    void fileType();
    bool isLocal() const { return local; }
    // Second key of a remote item: the path on an attached disk, else the url.
    QString secondKey() const;
    bool operator==(const TwFileInfo& other) const;

    static void initEditorItem(TwFileInfo& item, const TwFileInfo& parent,
                               const QString& name, qint64 id);
    // Preallocates the cache file of item in folder; false when the name is
    // unusable or the file cannot be made of the right size.
    static bool prepareCacheFile(const TwFileInfo& item, const QString& folder, QString& path);
};
Q_DECLARE_METATYPE(TwFileInfo)
