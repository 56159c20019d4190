#pragma once

#include <QString>
#include <QtTest>

// The "name" column of a data-driven test: names a device or a user may hand
// in that must never lead outside the folder they are put in.
inline void addHostileNames()
{
    QTest::addColumn<QString>("name");
    QTest::newRow("dotdot path") << "../../x";
    QTest::newRow("drive") << "C:\\x";
    QTest::newRow("reserved") << "CON";
    QTest::newRow("slash") << "a/b";
    QTest::newRow("empty") << "";
    QTest::newRow("dotdot") << "..";
    QTest::newRow("dot") << ".";
    QTest::newRow("backslashes") << "..\\..\\y";
    QTest::newRow("absolute") << "/etc/passwd";
    QTest::newRow("control") << QString("a\x01b");
    QTest::newRow("trailing dots") << "x...";
}
