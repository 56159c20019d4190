#pragma once

#include <QMetaType>

#include "protocol/createdirsresp.h"

// The public space answers a folder chain like the personal one.
class CreatePubDirsResp : public CreateDirsResp
{
};
Q_DECLARE_METATYPE(CreatePubDirsResp)
