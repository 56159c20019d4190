#include "protocol/createexternallinkreq.h"

#include "protocol/jsonread.h"

Json::Value CreateExternalLinkReq::to_json() const
{
    Json::Value root(Json::objectValue);
    root["fileIds"] = JsonRead::int64Array(fileIds);
    root["title"] = title.toStdString();
    root["extractedCode"] = extractedCode.toStdString();
    return root;
}
