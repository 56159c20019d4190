#include "protocol/createexternallinkresp.h"

#include "protocol/jsonread.h"

void CreateExternalLinkResp::parseData(const Json::Value& data)
{
    shareId = JsonRead::toString(data, "shareId");
    url = JsonRead::toString(data, "url");
}
