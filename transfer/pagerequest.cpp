#include "transfer/pagerequest.h"

#include <QDebug>

#include "core/basemodel.h"
#include "core/twhandle.h"

int PageRequest::nextSerial()
{
    // From the handle counter: a serial never equals a model's own handle.
    return static_cast<int>(twNewHandle());
}

int PageRequest::begin()
{
    const int s = nextSerial();
    m_flights.append({s, m_generation});
    m_reload = false;
    return s;
}

void PageRequest::invalidate(bool wantReload)
{
    ++m_generation;
    if (!m_flights.isEmpty())
        m_reload = m_reload || wantReload;
}

PageRequest::Answer PageRequest::take(int serial)
{
    for (int i = 0; i < m_flights.size(); ++i) {
        if (serial == 0 || m_flights.at(i).serial != serial)
            continue;
        const bool current = m_flights.at(i).generation == m_generation;
        m_flights.removeAt(i);
        return current ? Current : Stale;
    }
    return Foreign;
}

bool PageRequest::loading() const
{
    for (const Flight& f : m_flights) {
        if (f.generation == m_generation)
            return true;
    }
    return false;
}

void PageRequest::clear()
{
    m_flights.clear();
    ++m_generation;
    m_reload = false;
}

bool PageRequest::takeReload()
{
    const bool r = m_reload;
    m_reload = false;
    return r;
}

bool PageRequest::takeCurrent(int serial, BaseModel* model, const char* where)
{
    switch (take(serial)) {
    case Current:
        return true;
    case Stale:
        qDebug() << where << "- a page asked before the list was reset, dropped.";
        if (!loading())
            model->cancelLading();
        return false;
    case Foreign:
        break;
    }
    qDebug() << where << quint32(serial) << " TW_MYSELF is not me";
    return false;
}
