#pragma once

#include <QMetaType>

#include "protocol/filelistresp.h"

// A page of a shared folder.
class GetUserShareFilesForDirResp : public FileListResp
{
public:
};
Q_DECLARE_METATYPE(GetUserShareFilesForDirResp)
