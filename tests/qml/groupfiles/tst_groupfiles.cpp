#include <QtQuickTest>

#include "tests/qml/groupfiles/groupfilesrig.h"

QUICK_TEST_MAIN_WITH_SETUP(groupfiles, GroupFilesQuickRig)

#include "moc_groupfilesrig.cpp"
