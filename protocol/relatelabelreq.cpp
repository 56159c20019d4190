#include "protocol/relatelabelreq.h"

#include "protocol/jsonread.h"

Json::Value RelateLabelReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    Json::Value labelIdsJson(Json::arrayValue);
    for (int v : labelIds)
        labelIdsJson.append(Json::Value(v));
    root["labelIds"] = labelIdsJson;
    return root;
}
