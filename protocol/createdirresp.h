#pragma once

#include <QMetaType>
#include <QString>

#include "protocol/apibase.h"

class CreateDirResp : public APIBase
{
public:
    qint64 dirId = 0;
    QString backNewName;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(CreateDirResp)
