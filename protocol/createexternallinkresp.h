#pragma once

#include <QMetaType>
#include <QString>

#include "protocol/apibase.h"

// The link the device made: its share id and the URL to hand out.
class CreateExternalLinkResp : public APIBase
{
public:
    QString shareId;
    QString url;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(CreateExternalLinkResp)
