#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

class AddToSafetyBoxResp : public APIBase
{
public:
};
Q_DECLARE_METATYPE(AddToSafetyBoxResp)
