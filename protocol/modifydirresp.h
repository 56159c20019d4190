#pragma once

#include <QMetaType>
#include <QString>

#include "protocol/apibase.h"

// The renamed item's new path on the device.
class ModifyDirResp : public APIBase
{
public:
    QString filePath;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(ModifyDirResp)
