#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

class RelateLabelResp : public APIBase
{
public:
};
Q_DECLARE_METATYPE(RelateLabelResp)
