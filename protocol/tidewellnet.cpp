#include "protocol/tidewellnet.h"

#include <QCoreApplication>
#include <QDebug>

#include "sdk/proto.h"
#include "sdk/resp_info.h"
#include "sdk/tidewell_network_sdk.h"

using sdk::cores::model::resp_info;

QString TidewellNet::unreadableText()
{
    return QCoreApplication::translate("TidewellNet", "The device's answer could not be read");
}

QString TidewellNet::closedText()
{
    return QCoreApplication::translate("TidewellNet", "The connection was closed");
}

// A failed call keeps what the user can be told: the device's own message
// when its answer carried one, else what became of the answer.
static void failedCall(const resp_info& info, APIBase& resp)
{
    if (info.device_message) {
        resp.setError(APIBase::NetworkError, QString::fromStdString(info.message));
        resp.errCode = info.err_code;
        return;
    }
    switch (info.failure) {
    case resp_info::fail_status:
    case resp_info::fail_unreadable:
        resp.setError(APIBase::DataError, TidewellNet::unreadableText());
        break;
    case resp_info::fail_closed:
        resp.setError(APIBase::NetworkError, TidewellNet::closedText());
        break;
    default:
        resp.setError(APIBase::NetworkError, "Network Error");
        break;
    }
}

static bool finish(bool called, const resp_info& info, APIBase& resp, const char* what,
                   const std::string& name)
{
    if (!called) {
        qWarning() << "TidewellNet::" << what << "- call failed:" << QString::fromStdString(name)
                   << info.code << info.http_status << QString::fromStdString(info.message);
        failedCall(info, resp);
        return false;
    }
    if (!resp.from(info.body)) {
        qWarning() << "TidewellNet::" << what << "- unreadable answer to"
                   << QString::fromStdString(name);
        resp.setError(APIBase::DataError, TidewellNet::unreadableText());
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
