#include <QtQuickTest>

#include "tests/qml/transfer/transferrig.h"

QUICK_TEST_MAIN_WITH_SETUP(transfer, TransferRig)

#include "moc_transferrig.cpp"
