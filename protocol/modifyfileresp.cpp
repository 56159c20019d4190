#include "protocol/modifyfileresp.h"

#include "protocol/jsonread.h"

void ModifyFileResp::parseData(const Json::Value& data)
{
    const Json::Value& path = JsonRead::member(data, "filePath");
    filePath = JsonRead::asString(path.isNull() ? JsonRead::member(data, "path") : path);
}
