#pragma once

#include <QMetaType>

#include "protocol/filelistresp.h"

// The top level of an external link, or one folder of it.
class GetExterLinkResListResp : public FileListResp
{
public:
};
Q_DECLARE_METATYPE(GetExterLinkResListResp)
