#include "protocol/copyfilelistsresp.h"

#include "protocol/jsonread.h"

void CopyFileListsResp::parseData(const Json::Value& data)
{
    totalPages = JsonRead::toInt(data, "totalPages");
    fileNum = JsonRead::toInt(data, "fileNum");
    mvfileNum = JsonRead::toInt(data, "mvfileNum");
    // The last entry of each kind decides its flag.
    for (const Json::Value& it : JsonRead::array(data, "listPath")) {
        const bool failed = JsonRead::toInt(it, "status") == 2;
        if (JsonRead::toInt(it, "operationType") == 1)
            moveFailed = failed;
        else
            copyFailed = failed;
    }
}
