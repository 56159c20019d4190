#include "sdk/proto.h"

#include <memory>

#include <json/reader.h>
#include <json/writer.h>

namespace sdk { namespace cores { namespace protocol {

bool proto::json_from_string(const std::string& text, Json::Value& out)
{
    Json::CharReaderBuilder builder;
    builder["collectComments"] = false;
    builder["failIfExtra"] = true;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    std::string errors;
    out = Json::Value();
    if (!reader->parse(text.data(), text.data() + text.size(), &out, &errors)) {
        out = Json::Value();
        return false;
    }
    return true;
}

std::string proto::json_to_string(const Json::Value& value)
{
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

} } }
