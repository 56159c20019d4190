#include "protocol/filelistresp.h"

#include "protocol/jsonread.h"

void FileListResp::parseData(const Json::Value& data)
{
    const Json::Value& items = JsonRead::listItems(data);
    fileList = JsonRead::fileList(items);
    totalPages = JsonRead::toInt(data, "totalPages");
    pageNo = JsonRead::toInt(data, "pageNo");
    totalNum = JsonRead::toInt(data, "totalNum");
    offset = JsonRead::toInt(data, "offset");
}
