#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

class DelExternalLinkResp : public APIBase
{
public:
};
Q_DECLARE_METATYPE(DelExternalLinkResp)
