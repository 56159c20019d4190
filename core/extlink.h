#pragma once

#include <QList>
#include <QMetaType>
#include <QString>
#include <QUrl>
#include <QVariantMap>

// One external link as the client knows it; also a row of lv_extlink_list.
struct Extlink
{
    qint64 id = -1;           // "oid" in the link table; -1 when not stored
    QString modify_date;
    QString create_date;
    qint64 createdDate = 0;
    int reportCount = 0;
    QString shareId;
    QString deviceId;
    QString deviceName;
    QString title;
    QString userId;
    QString userNickname;
    bool extractedCode = true; // the link needs an extraction code
    QString url;
    QString code;
    qint64 fileId = 0;
    QString deviceToken;
    QString dcsCookie;
    int userVisitTime = 0;
    int resVisitTime = 0;

    QVariantMap toVariantMap() const;
    // An empty map leaves the record as it is; otherwise a missing key
    // resets its field.
    void fromVariantMap(const QVariantMap& map);

    // url with the (encoded) code as its "code" query item when there is one.
    QString linkWithCode() const;
    // Title, url, "Code:" and the code on four lines; line breaks inside a
    // field become blanks.
    QString shareText() const;
    // The share page of an outside service ("weibo" or "qq") for this link;
    // empty for another type. Every value is encoded on its own.
    QUrl shareServiceUrl(const QString& type) const;

    // Same link when the share ids match.
    bool operator==(const Extlink& other) const { return shareId == other.shareId; }
    bool operator!=(const Extlink& other) const { return !(*this == other); }
};
Q_DECLARE_METATYPE(Extlink)
Q_DECLARE_METATYPE(QList<Extlink>)
