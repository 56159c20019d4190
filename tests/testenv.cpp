#include "tests/testenv.h"

#include <QCoreApplication>
#include <QDir>

#include "app/tidewellsdk.h"
#include "core/basemodel.h"

static TestEnv* s_env = nullptr;

TestEnv::TestEnv()
{
    s_env = this;
    const QString r = m_dir.path();
    qputenv("HOME", r.toUtf8());
    qputenv("XDG_DATA_HOME", (r + "/data").toUtf8());
    qputenv("XDG_CACHE_HOME", (r + "/cache").toUtf8());
    qputenv("XDG_CONFIG_HOME", (r + "/config").toUtf8());
    qputenv("XDG_DOWNLOAD_DIR", (r + "/Downloads").toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

TestEnv::~TestEnv()
{
    s_env = nullptr;
}

TestEnv* TestEnv::instance()
{
    return s_env;
}

void twTestSetup()
{
    QCoreApplication::setOrganizationName("tidewell");
    QCoreApplication::setApplicationName("tidewell-test");
    TidewellSdk::registerMetaTypes();
    // Spies on the list models record these.
    qRegisterMetaType<BaseModel::ToastLevel>();
    qRegisterMetaType<BaseModel::DefalutState>();
    // A stalled queue fails its test function within a minute
    // rather than at the whole program's limit. Tests that wait out
    // long outages on purpose raise it with testFunctionTimeout().
    if (!qEnvironmentVariableIsSet("QTEST_FUNCTION_TIMEOUT"))
        testFunctionTimeout(60000);
}

void testFunctionTimeout(int ms)
{
    qputenv("QTEST_FUNCTION_TIMEOUT", QByteArray::number(ms));
}
