#include "tools/testdeviceserverimpl.h"
#include "tools/devicelinks.h"

// Each feature file adds its command group here, one line each.
void TestDeviceServer::Impl::addFeatures()
{
    features.push_back(std::make_unique<DeviceLinks>(*this));
}
