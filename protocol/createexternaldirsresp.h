#pragma once

#include <QMetaType>
#include <QString>

#include "protocol/apibase.h"

// path is the created device path.
class CreateExternalDirsResp : public APIBase
{
public:
    QString path;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(CreateExternalDirsResp)
