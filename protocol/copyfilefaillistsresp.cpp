#include "protocol/copyfilefaillistsresp.h"

#include "protocol/jsonread.h"

void CopyFileFailListsResp::parseData(const Json::Value& data)
{
    totalPages = JsonRead::toInt(data, "totalPages");
    fileNum = JsonRead::toInt(data, "fileNum");
    list.clear();
    for (const Json::Value& it : JsonRead::array(data, "listPath")) {
        if (!it.isObject())
            continue;
        CopyFailInfo f;
        f.name = JsonRead::toString(it, "name");
        f.sourceFile = JsonRead::toString(it, "sourceFile");
        f.tagFile = JsonRead::toString(it, "tagFile");
        f.groupName = JsonRead::toString(it, "groupName");
        f.num = JsonRead::toInt(it, "num");
        f.type = JsonRead::toInt(it, "type");
        f.curOperId = JsonRead::toInt64(it, "curOperId");
        f.failcode = JsonRead::toInt(it, "failcode");
        f.operationType = JsonRead::toInt(it, "operationType");
        list.append(f);
    }
}
