#include "protocol/tidewellnet.h"

#include <QDebug>

#include "sdk/proto.h"
#include "sdk/resp_info.h"
#include "sdk/tidewell_network_sdk.h"

using sdk::cores::model::resp_info;

static bool finish(bool called, const resp_info& info, APIBase& resp, const char* what,
                   const std::string& name)
{
    if (!called) {
        qWarning() << "TidewellNet::" << what << "- call failed:" << QString::fromStdString(name)
                   << info.code << QString::fromStdString(info.message);
        resp.setError(APIBase::NetworkError, "Network Error");
        return false;
    }
    if (!resp.from(info.body)) {
        qWarning() << "TidewellNet::" << what << "- unreadable answer to"
                   << QString::fromStdString(name);
        resp.setError(APIBase::DataError, "Data Error");
        return false;
    }
    return resp.ok();
}

bool TidewellNet::request(sdk::plugins::tidewell_network_sdk* net, const APIReq& req,
                          APIBase& resp, int timeout)
{
    return request(net, req.command(), req.to_json(), resp, timeout);
}

bool TidewellNet::request(sdk::plugins::tidewell_network_sdk* net, const std::string& command,
                          const Json::Value& body, APIBase& resp, int timeout)
{
    resp_info info;
    if (!net || command.empty()) {
        qWarning() << "TidewellNet::request - no session or no command:"
                   << QString::fromStdString(command);
        resp.setError(APIBase::NetworkError, "Network Error");
        return false;
    }
    const std::string text = body.isNull() ? std::string("{}")
                                           : sdk::cores::protocol::proto::json_to_string(body);
    const bool called = net->api_req(text, command, kDevicePath, timeout, &info);
    return finish(called, info, resp, "request", command);
}

bool TidewellNet::cloud(sdk::plugins::tidewell_network_sdk* net, const std::string& path,
                        const Json::Value& body, APIBase& resp, int timeout)
{
    resp_info info;
    if (!net) {
        qWarning() << "TidewellNet::cloud - no session:" << QString::fromStdString(path);
        resp.setError(APIBase::NetworkError, "Network Error");
        return false;
    }
    const std::string text = body.isNull() ? std::string("{}")
                                           : sdk::cores::protocol::proto::json_to_string(body);
    const bool called = net->http_req(text, path, timeout, &info);
    return finish(called, info, resp, "cloud", path);
}
