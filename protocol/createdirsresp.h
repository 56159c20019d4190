#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

// dirId is the deepest folder of the chain.
class CreateDirsResp : public APIBase
{
public:
    qint64 dirId = 0;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(CreateDirsResp)
