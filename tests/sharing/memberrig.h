#pragma once

#include <string>

#include "tests/sharing/sharingrig.h"

// The sharing rig signed in as `me`, with helpers for groups of many
// members.
struct MemberRig : SharingRig
{
    bool connected = false;
    TidewellDevice* device = nullptr;

    // sendAccount false: the session stops naming the account to the
    // device, which then answers as to nobody in particular.
    explicit MemberRig(const QString& me = "me", bool sendAccount = true)
    {
        connected = start(me);
        device = dev.get();
        if (connected && !sendAccount)
            owner->networkSdk()->set_user_info(sdk::cores::model::user_info());
    }

    int commandCount(const std::string& command) const { return count(command); }
    Json::Value lastSent(const std::string& command) const
    {
        const std::vector<Json::Value> all = sent(command);
        return all.empty() ? Json::Value() : all.back();
    }
    // A group owned by me with `others` members of right 2 (users u0, u1, ...
    // named "User 0", ... with pictures h0, h1, ...), joined in that order.
    int groupWith(int others, const std::string& me = "me")
    {
        server->addDeviceUser(me, "Me", "hme");
        const int g = server->addPubGroup("G", me);
        for (int i = 0; i < others; ++i) {
            const std::string id = "u" + std::to_string(i);
            server->addDeviceUser(id, "User " + std::to_string(i), "h" + std::to_string(i));
            server->setPubGroupMember(g, id, 2);
        }
        return g;
    }
};
