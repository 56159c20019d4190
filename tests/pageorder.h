#pragma once

#include <string>

#include <QtTest>

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
