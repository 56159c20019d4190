#include "core/executer.h"

#include <QRunnable>

namespace {
class FnRunnable : public QRunnable
{
public:
    explicit FnRunnable(std::function<void()> fn) : m_fn(std::move(fn)) { setAutoDelete(true); }
    void run() override { m_fn(); }

private:
    std::function<void()> m_fn;
};
}

Executer::Executer(int maxThreads)
{
    m_pool.setMaxThreadCount(maxThreads);
}

Executer::~Executer()
{
    m_pool.waitForDone();
}

void Executer::execute(std::function<void()> fn)
{
    m_pool.start(new FnRunnable(std::move(fn)));
}

void Executer::setMaxThreadCount(int n)
{
    m_pool.setMaxThreadCount(n);
}

bool Executer::waitForDone(int msecs)
{
    return m_pool.waitForDone(msecs);
}
