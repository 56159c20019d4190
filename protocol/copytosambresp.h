#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

class CopyToSambResp : public APIBase
{
public:
};
Q_DECLARE_METATYPE(CopyToSambResp)
