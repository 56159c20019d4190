#include "protocol/modifydirresp.h"

#include "protocol/jsonread.h"

void ModifyDirResp::parseData(const Json::Value& data)
{
    const Json::Value& path = JsonRead::member(data, "filePath");
    filePath = JsonRead::asString(path.isNull() ? JsonRead::member(data, "path") : path);
}
