#include "protocol/btgettasklistresp.h"

#include "protocol/jsonread.h"

void BTGetTaskListResp::parseData(const Json::Value& data)
{
    totalPages = JsonRead::toInt(data, "totalPages");
    totalNum = JsonRead::toInt(data, "totalNum");
    list.clear();
    for (const Json::Value& it : JsonRead::array(data, "list")) {
        if (!it.isObject())
            continue;
        BtTaskInfo t;
        t.downId = JsonRead::toString(it, "downId");
        t.taskId = JsonRead::toInt(it, "taskId");
        t.status = JsonRead::toInt(it, "status");
        t.fileType = JsonRead::toInt(it, "fileType");
        t.fileName = JsonRead::toString(it, "fileName");
        t.totalTime = JsonRead::toInt64(it, "totalTime");
        t.progress = JsonRead::toInt(it, "progress");
        t.exception = JsonRead::toInt(it, "exception");
        t.recvSize = JsonRead::toInt64(it, "recvSize");
        t.size = JsonRead::toInt64(it, "size");
        t.speed = JsonRead::toInt(it, "speed");
        t.finishedTime = JsonRead::toInt64(it, "finishedTime");
        t.mime_type = JsonRead::toString(it, "mime_type");
        t.isExternal = JsonRead::toBool(it, "isExternal");
        t.isFile = JsonRead::toInt(it, "isFile");
        t.fileMd5 = JsonRead::toString(it, "fileMd5");
        t.fileId = JsonRead::toInt(it, "fileId");
        list.append(t);
    }
}
