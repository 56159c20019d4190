#pragma once

#include "protocol/movedirorfilereq.h"

// Copies items of the personal space, or items shared with the user, into a
// folder of the personal space: the keys of a move under its own command.
class CopyDirOrFileReq : public MoveDirOrFileReq
{
public:
    static constexpr const char* kCommand = "copyDirOrFile";

    using MoveDirOrFileReq::MoveDirOrFileReq;

    std::string command() const override { return kCommand; }
};
