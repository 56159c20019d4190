#include <QtQuickTest>

#include "tests/qml/paging/pagingrig.h"

QUICK_TEST_MAIN_WITH_SETUP(paging, PagingRig)

#include "tests/qml/transfer/moc_transferrig.cpp"
#include "moc_pagingrig.cpp"
