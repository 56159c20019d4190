#include "protocol/createpubdirsresp.h"

#include "protocol/jsonread.h"

void CreatePubDirsResp::parseData(const Json::Value& data)
{
    dirId = JsonRead::toInt64(data, "dirId");
}
