#include "protocol/getexternalfileresp.h"

#include "protocol/jsonread.h"

void GetExternalFileResp::parseData(const Json::Value& data)
{
    const Json::Value& items = JsonRead::member(data, "listPath").isArray()
            ? JsonRead::member(data, "listPath")
            : JsonRead::array(data, "list");
    fileList = JsonRead::localFileList(items);
    totalPages = JsonRead::toInt(data, "totalPages");
    pageNo = JsonRead::toInt(data, "pageNo");
    totalNum = JsonRead::toInt(data, "totalNum");
}
