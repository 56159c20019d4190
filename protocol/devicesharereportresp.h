#pragma once

#include <QMetaType>

#include "protocol/apibase.h"

class DeviceShareReportResp : public APIBase
{
public:
};
Q_DECLARE_METATYPE(DeviceShareReportResp)
