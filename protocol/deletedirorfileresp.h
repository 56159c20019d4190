#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

class DeleteDirOrFileResp : public APIBase
{
public:
};
Q_DECLARE_METATYPE(DeleteDirOrFileResp)
