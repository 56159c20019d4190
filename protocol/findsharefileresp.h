#pragma once

#include <QMetaType>

#include "protocol/filelistresp.h"

// A page of a keyword search in the files shared with the user.
class FindShareFileResp : public FileListResp
{
public:
};
Q_DECLARE_METATYPE(FindShareFileResp)
