#include <QtQuickTest>

#include "tests/qml/paging/pagingrig.h"

QUICK_TEST_MAIN_WITH_SETUP(pagingsharing, PagingRig)

#include "tests/qml/paging/moc_pagingrig.cpp"
#include "tests/qml/transfer/moc_transferrig.cpp"
