#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

class MyLoveResp : public APIBase
{
public:
};
Q_DECLARE_METATYPE(MyLoveResp)
