#pragma once

#include <string>

#include <json/value.h>

namespace sdk { namespace cores { namespace protocol {

// JSON helpers shared by the messages and the library.
class proto
{
public:
    // Parses text into out; false (and a null out) when it is not valid JSON.
    static bool json_from_string(const std::string& text, Json::Value& out);

    // Compact one-line JSON text (UTF-8 kept as is).
    static std::string json_to_string(const Json::Value& value);
};

} } }
