#include "bench/benchapp.h"

#include "app/tidewellsdk.h"
#include "bench/benchutil.h"

BenchApp::Home::Home()
{
    useTemporaryHome(dir.path());
    quietQtMessages();
}

BenchApp::BenchApp(int& argc, char** argv) : m_app(argc, argv)
{
    QCoreApplication::setApplicationName("tidewell-bench");
    TidewellSdk::registerMetaTypes();
}
