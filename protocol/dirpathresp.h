#pragma once

#include <QMetaType>

#include "protocol/filelistresp.h"

// A page of a personal-space folder.
class DirPathResp : public FileListResp
{
public:
};
Q_DECLARE_METATYPE(DirPathResp)
