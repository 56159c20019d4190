#pragma once

#include <QMetaType>

#include "protocol/filelistresp.h"

// A page of the files one user shares.
class GetUserShareFileResp : public FileListResp
{
public:
};
Q_DECLARE_METATYPE(GetUserShareFileResp)
