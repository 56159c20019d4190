#pragma once

#include <string>

#include <QtTest>

#include "tests/serverrig.h"
#include "tools/testdeviceserver.h"

// A list reset while its first page is on its way: the answer to the page
// asked before the reset and the answer to the one asked after it come in
// either order. The test device answers queued answers in the order it
// answers, so holding the requests back picks which request gets which.

inline void answerOrderRows()
{
    QTest::addColumn<bool>("oldAnswerFirst");
    QTest::newRow("old answer first") << true;
    QTest::newRow("new answer first") << false;
}

// The first request of command gets oldAnswer, the second newAnswer, and
// the answers come in the order asked for.
inline void orderAnswers(TestDeviceServer& server, const std::string& command, bool oldAnswerFirst,
                         const std::string& oldAnswer, const std::string& newAnswer)
{
    if (oldAnswerFirst) {
        server.delayAnswer(300, 1, command);
        server.delayAnswer(1500, 1, command);
        server.queueCommandAnswer(command, oldAnswer);
        server.queueCommandAnswer(command, newAnswer);
    } else {
        server.delayAnswer(1500, 1, command);
        server.queueCommandAnswer(command, newAnswer);
        server.queueCommandAnswer(command, oldAnswer);
    }
}

// Long enough for the answer held back longest to have come.
constexpr int kHeldAnswerMs = 1800;

// A file-list answer of n files with ids from first up, read alike by the
// offset and the page-number lists.
inline std::string filePage(int first, int n)
{
    QStringList items;
    for (int i = 0; i < n; ++i)
        items << QString(R"({"id":%1,"name":"n%1.txt","isFile":true})").arg(first + i);
    return QString(R"({"result":1,"data":{"offset":0,"totalPages":1,"pageNo":1,"totalNum":%1,"listPath":[%2]}})")
        .arg(n)
        .arg(items.join(','))
        .toStdString();
}

// A file list asks for its first page, the sort switch changes and the page
// reloads it (refreshData) while that page is on its way: the rows that
// stay are filePage(200, 3), the answer to the request made after the change.
template <class List>
void sortChangeWhileLoading(ServerRig& rig, List& m, const char* command, bool oldAnswerFirst)
{
    orderAnswers(*rig.server, command, oldAnswerFirst, filePage(100, 2), filePage(200, 3));
    m.fetchMore(QModelIndex());
    QTRY_COMPARE(rig.count(command), 1);
    m.setIsSort(true);
    m.refreshData();
    m.fetchMore(QModelIndex());
    QTRY_COMPARE(rig.count(command), 2);
    QCOMPARE(rig.sent(command).at(1)["isSort"].asBool(), true);
    QTRY_COMPARE(m.rowCount(), 3);
    QTest::qWait(kHeldAnswerMs);
    QCOMPARE(m.rowCount(), 3);
    for (int i = 0; i < 3; ++i)
        QCOMPARE(m.rows().at(i).id, qint64(200 + i));
    QCOMPARE(m.fileNum(), 3);
    QVERIFY(!m.isLoading());
    QVERIFY(!m.canFetchMore(QModelIndex()));
}
