#include <QtQuickTest>

#include "tests/qml/quickrig.h"

QUICK_TEST_MAIN_WITH_SETUP(window, QuickRig)

