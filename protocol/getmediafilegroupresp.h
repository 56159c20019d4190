#pragma once

#include <QMetaType>

#include "protocol/filelistresp.h"

// A page of a media category ("listPath").
class GetMediaFileGroupResp : public FileListResp
{
};
Q_DECLARE_METATYPE(GetMediaFileGroupResp)
