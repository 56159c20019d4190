#include "transfer/pagerequest.h"

#include <atomic>

static std::atomic<int> s_serial{0};

int PageRequest::nextSerial()
{
    int s = ++s_serial;
    if (s <= 0) {  // wrapped: serial 0 means "none"
        s_serial = 1;
        s = 1;
    }
    return s;
}

int PageRequest::begin()
{
    const int s = nextSerial();
    m_inFlight = s;
    m_current = s;
    m_reload = false;
    return s;
}

void PageRequest::invalidate(bool wantReload)
{
    if (!m_inFlight)
        return;
    m_current = 0;
    m_reload = m_reload || wantReload;
}

PageRequest::Answer PageRequest::take(int serial)
{
    if (serial == 0 || serial != m_inFlight)
        return Foreign;
    m_inFlight = 0;
    if (serial == m_current) {
        m_current = 0;
        return Current;
    }
    return Stale;
}

void PageRequest::clear()
{
    m_inFlight = 0;
    m_current = 0;
    m_reload = false;
}

bool PageRequest::takeReload()
{
    const bool r = m_reload;
    m_reload = false;
    return r;
}
