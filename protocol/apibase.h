#pragma once

#include <string>

#include <QMetaType>
#include <QString>

#include <json/value.h>

#include "sdk/req_proto.h"

// Result of every device or cloud answer: the envelope's result code
// (1 = success), message and error code, the answer's "data" tree and the
// whole answer text. Responses derive from it and read their own keys in
// parseData(); decoding never fails on missing keys or wrong types, it
// leaves the field at its default.
class APIBase : public sdk::cores::protocol::req_proto
{
public:
    enum Code {
        Success = 1,
        NetworkError = -1,   // the library call itself failed
        DataError = -2,      // the answer could not be read
    };

    APIBase() = default;
    APIBase(int code, const QString& msg) : result(code), message(msg) {}

    int result = 0;
    int errCode = 0;
    QString message;
    Json::Value data;        // the answer's "data" (null when absent)
    std::string raw;         // the whole answer text

    bool ok() const { return result == Success; }
    int code() const { return result; }
    void setError(int code, const QString& msg);

    // Keeps the text in raw; an unreadable text becomes DataError.
    bool from(const std::string& text) override;
    // Reads "result", "message", "errCode" and "data", then parseData().
    bool from_json(const Json::Value& root) override;

protected:
    virtual void parseData(const Json::Value& data);
};
Q_DECLARE_METATYPE(APIBase)
