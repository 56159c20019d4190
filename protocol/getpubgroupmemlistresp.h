#pragma once

#include <QList>
#include <QMetaType>

#include "core/pubgroupmember.h"
#include "protocol/apibase.h"

// A page of the members of a group ("listPath"), paged by offset.
class GetPubGroupMemListResp : public APIBase
{
public:
    QList<PubGroupMember> members;
    int offset = 0;
    int totalPages = 0;
    int totalNum = 0;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(GetPubGroupMemListResp)
