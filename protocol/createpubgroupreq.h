#pragma once

#include <QString>

#include "protocol/apireq.h"

// Creates a public group on one disk.
class CreatePubGroupReq : public APIReq
{
public:
    static constexpr const char* kCommand = "createPubGroup";

    CreatePubGroupReq() = default;
    CreatePubGroupReq(const QString& name_, const QString& diskSerial_)
        : name(name_), diskSerial(diskSerial_)
    {
    }

    QString name;
    QString diskSerial;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
