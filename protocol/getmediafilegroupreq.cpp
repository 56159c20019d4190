#include "protocol/getmediafilegroupreq.h"

#include "protocol/jsonread.h"

Json::Value GetMediaFileGroupReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["className"] = JsonRead::str(className);
    if (pageNo < 1)
        root["offset"] = offset;
    else
        root["pageNo"] = pageNo;
    root["dateType"] = dateType;
    root["isSort"] = isSort;
    root["condition"] = condition;
    root["pageSize"] = pageSize;
    return root;
}
