#pragma once

#include <QTemporaryDir>
#include <QtTest>

// A loaded two-core build machine can need more than QtTest's 5 s default for
// a round trip through an engine thread and the test device. A wait still
// ends as soon as its condition holds.
#undef QTRY_VERIFY
#define QTRY_VERIFY(expr) QTRY_VERIFY_WITH_TIMEOUT((expr), 15000)
#undef QTRY_VERIFY2
#define QTRY_VERIFY2(expr, messageExpression) QTRY_VERIFY2_WITH_TIMEOUT((expr), (messageExpression), 15000)
#undef QTRY_COMPARE
#define QTRY_COMPARE(expr, expected) QTRY_COMPARE_WITH_TIMEOUT((expr), expected, 15000)

// Points every per-user location (data, cache, config) at a fresh temporary
// folder before the application object exists, so no test touches the real
// application-data folder, then registers the metatypes like the program.
class TestEnv
{
public:
    TestEnv();
    ~TestEnv();
    QString root() const { return m_dir.path(); }
    static TestEnv* instance();

private:
    QTemporaryDir m_dir;
};

void twTestSetup();
// Longest run of one test function before it is failed (read when the
// first test function starts: call it from the test object's constructor).
void testFunctionTimeout(int ms);

#define TW_TEST_MAIN(TestObject)                                  \
    int main(int argc, char* argv[])                              \
    {                                                             \
        TestEnv env;                                              \
        QGuiApplication app(argc, argv);                          \
        app.setAttribute(Qt::AA_Use96Dpi, true);                  \
        twTestSetup();                                            \
        TestObject tc;                                            \
        QTEST_SET_MAIN_SOURCE_PATH                                \
        return QTest::qExec(&tc, argc, argv);                     \
    }
