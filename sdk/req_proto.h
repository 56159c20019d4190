#pragma once

#include <string>

#include <json/value.h>

namespace sdk { namespace cores { namespace protocol {

// Base of every request and response message. A message says how it looks as
// a JSON tree (to_json / from_json); the text forms come from these.
class req_proto
{
public:
    virtual ~req_proto() = default;

    // Compact JSON text of to_json().
    virtual std::string to_string() const;

    // Parses text and hands the tree to from_json(); false when the text is
    // not a JSON object or from_json() refuses it.
    virtual bool from(const std::string& text);

    // The message as a JSON tree; the base gives an empty object.
    virtual Json::Value to_json() const;

    // Reads the message from a JSON object; the base accepts any object.
    virtual bool from_json(const Json::Value& root);
};

} } }
