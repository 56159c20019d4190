#pragma once

#include <QMetaType>
#include <QString>

#include "core/extlink.h"
#include "protocol/apibase.h"

// The cloud's description of a shared link.
class DeviceShareGetInfoResp : public APIBase
{
public:
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
    bool extractedCode = true;
    qint64 fileId = 0;

    Extlink toExtlink() const;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(DeviceShareGetInfoResp)
