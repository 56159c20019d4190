#include <QtQuickTest>

#include "tests/qml/sharing/sharingrig.h"

QUICK_TEST_MAIN_WITH_SETUP(sharing, SharingQuickRig)

#include "moc_sharingrig.cpp"
