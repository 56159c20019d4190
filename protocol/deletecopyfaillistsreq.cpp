#include "protocol/deletecopyfaillistsreq.h"

#include "protocol/jsonread.h"

Json::Value DeleteCopyFailListsReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["curOperIds"] = JsonRead::int64Array(curOperIds);
    return root;
}
