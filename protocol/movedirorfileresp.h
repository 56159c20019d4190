#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

class MoveDirOrFileResp : public APIBase
{
public:
};
Q_DECLARE_METATYPE(MoveDirOrFileResp)
