#include "tools/testdeviceserverimpl.h"
#include "tools/testdevicemedia.h"

#include "tools/devicetasks.h"
#include "tools/devicegroups.h"
#include "tools/devicelinks.h"
#include "tools/devicepersonal.h"
#include "tools/deviceshares.h"
#include "tools/deviceusers.h"

// Each feature file adds its command group here, one line each.
void TestDeviceServer::Impl::addFeatures()
{
    features.push_back(std::make_unique<DeviceTasks>(*this));
    features.push_back(std::make_unique<DeviceUsers>(*this));
    features.push_back(std::make_unique<DeviceGroups>(*this));
    features.push_back(std::make_unique<DeviceShares>(*this));
    features.push_back(std::make_unique<TestDeviceMedia>(*this));
    features.push_back(std::make_unique<DeviceLinks>(*this));
    features.push_back(std::make_unique<DevicePersonal>(*this));
}
