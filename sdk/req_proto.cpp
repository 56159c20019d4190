#include "sdk/req_proto.h"

#include "sdk/proto.h"

namespace sdk { namespace cores { namespace protocol {

std::string req_proto::to_string() const
{
    return proto::json_to_string(to_json());
}

bool req_proto::from(const std::string& text)
{
    Json::Value root;
    if (!proto::json_from_string(text, root) || !root.isObject())
        return false;
    return from_json(root);
}

Json::Value req_proto::to_json() const
{
    return Json::Value(Json::objectValue);
}

bool req_proto::from_json(const Json::Value& root)
{
    return root.isObject();
}

} } }
