#include "protocol/getexternalfileresp.h"

#include "protocol/jsonread.h"

void GetExternalFileResp::parseData(const Json::Value& data)
{
    const Json::Value& items = JsonRead::listItems(data);
    fileList = JsonRead::localFileList(items);
    totalPages = JsonRead::toInt(data, "totalPages");
    pageNo = JsonRead::toInt(data, "pageNo");
    totalNum = JsonRead::toInt(data, "totalNum");
}
