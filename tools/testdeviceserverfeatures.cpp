#include "tools/testdeviceserverimpl.h"

// Each feature file adds its command group here, one line each.
void TestDeviceServer::Impl::addFeatures()
{
}
