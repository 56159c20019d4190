#include "protocol/retrycopytaskreq.h"

#include "protocol/jsonread.h"

Json::Value RetryCopyTaskReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["curOperIds"] = JsonRead::int64Array(curOperIds);
    return root;
}
