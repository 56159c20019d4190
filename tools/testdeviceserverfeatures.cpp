#include "tools/testdeviceserverimpl.h"
#include "tools/testdevicemedia.h"

// Each feature file adds its command group here, one line each.
void TestDeviceServer::Impl::addFeatures()
{
    features.push_back(std::make_unique<TestDeviceMedia>(*this));
}
