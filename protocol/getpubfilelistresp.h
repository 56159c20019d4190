#pragma once

#include <QMetaType>

#include "protocol/filelistresp.h"

// A page of a public group's folder ("offset", "totalPages", "totalNum").
class GetPubFileListResp : public FileListResp
{
public:
};
Q_DECLARE_METATYPE(GetPubFileListResp)
