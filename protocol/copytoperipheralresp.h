#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

class CopyToPeripheralResp : public APIBase
{
public:
};
Q_DECLARE_METATYPE(CopyToPeripheralResp)
