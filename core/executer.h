#pragma once

#include <functional>

#include <QThreadPool>

// Runs request bodies on a pool of its own so a slow device call never holds
// the caller's thread.
class Executer
{
public:
    explicit Executer(int maxThreads = 4);
    ~Executer();

    void execute(std::function<void()> fn);
    void setMaxThreadCount(int n);
    // Waits for every queued and running body; true when all finished.
    bool waitForDone(int msecs = -1);

private:
    QThreadPool m_pool;
};
