#include "protocol/delexternallinkreq.h"

#include "protocol/jsonread.h"

Json::Value DelExternalLinkReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["exterLinkIds"] = JsonRead::int64Array(exterLinkIds);
    return root;
}
