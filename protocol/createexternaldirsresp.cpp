#include "protocol/createexternaldirsresp.h"

#include "protocol/jsonread.h"

void CreateExternalDirsResp::parseData(const Json::Value& data)
{
    path = JsonRead::toString(data, "path");
}
