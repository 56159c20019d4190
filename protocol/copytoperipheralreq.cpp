#include "protocol/copytoperipheralreq.h"

#include "protocol/jsonread.h"

Json::Value CopyToPeripheralReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["path"] = JsonRead::str(path);
    root["ids"] = JsonRead::int64Array(ids);
    return root;
}
