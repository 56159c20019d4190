#pragma once

#include <string>

#include <httplib.h>
#include <json/value.h>

#include "sdk/proto.h"
#include "tools/testdeviceserver.h"

// Sends one device command to a test device server as a given user and
// gives back the whole answer (null when it could not be read).
inline Json::Value deviceCall(TestDeviceServer& server, const std::string& accessId,
                              const std::string& command,
                              const Json::Value& data = Json::Value(Json::objectValue))
{
    using sdk::cores::protocol::proto;
    Json::Value body(Json::objectValue);
    body["command"] = command;
    body["data"] = data;
    httplib::Client cli("127.0.0.1", server.port());
    cli.set_read_timeout(20, 0);
    httplib::Headers headers{{"X-Access-Id", accessId}};
    auto res = cli.Post("/device/directTransfer.json", headers, proto::json_to_string(body),
                        "application/json");
    Json::Value out;
    if (!res || res->status != 200 || !proto::json_from_string(res->body, out))
        return Json::Value();
    return out;
}

// A JSON array of the values.
template <typename T>
inline Json::Value jsonArray(std::initializer_list<T> values)
{
    Json::Value a(Json::arrayValue);
    for (const T& v : values)
        a.append(v);
    return a;
}
