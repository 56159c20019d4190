#pragma once

#include <QList>
#include <QMetaType>

#include "core/extlink.h"
#include "protocol/apibase.h"

// A page of the links created on the device; fileId of each record carries
// the link's id. The paging arguments are echoed by the requester.
class GetExternalLinkListResp : public APIBase
{
public:
    QList<Extlink> links;
    int totalNum = 0;
    int offset = 0;
    int pageSize = 0;
    bool isSort = false;
    int condition = 0;
    int queryType = 0;

    static Extlink extlinkFromJson(const Json::Value& item);

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(GetExternalLinkListResp)
