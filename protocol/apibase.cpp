#include "protocol/apibase.h"

#include <QDebug>

#include "protocol/jsonread.h"
#include "sdk/proto.h"

void APIBase::setError(int code, const QString& msg)
{
    result = code;
    message = msg;
}

bool APIBase::from(const std::string& text)
{
    raw = text;
    Json::Value root;
    if (!sdk::cores::protocol::proto::json_from_string(text, root) || !root.isObject()) {
        qWarning() << "APIBase::from - answer is not a JSON object:"
                   << QString::fromStdString(text.substr(0, 200));
        setError(DataError, "Data Error");
        return false;
    }
    return from_json(root);
}

bool APIBase::from_json(const Json::Value& root)
{
    if (!root.isObject()) {
        setError(DataError, "Data Error");
        return false;
    }
    // Cloud answers may carry "code" instead of "result".
    if (root.isMember("result"))
        result = JsonRead::toInt(root, "result", DataError);
    else
        result = JsonRead::toInt(root, "code", DataError);
    message = JsonRead::toString(root, "message");
    errCode = JsonRead::toInt(root, "errCode", 0);
    data = JsonRead::member(root, "data");
    parseData(data);
    return true;
}

void APIBase::parseData(const Json::Value&)
{
}
