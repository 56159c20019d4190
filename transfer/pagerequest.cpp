#include "transfer/pagerequest.h"

#include <QDebug>

#include "core/basemodel.h"
#include "core/twhandle.h"

int PageRequest::nextSerial()
{
    // From the handle counter: a serial never equals a model's own handle.
    return static_cast<int>(twNewHandle());
}

int PageRequest::begin(bool overlay)
{
    const int s = nextSerial();
    m_flights.append({s, m_generation, overlay});
    m_reload = false;
    return s;
}

void PageRequest::invalidate(bool wantReload)
{
    ++m_generation;
    if (!m_flights.isEmpty())
        m_reload = m_reload || wantReload;
}

PageRequest::Answer PageRequest::take(int serial, BaseModel* model)
{
    for (int i = 0; i < m_flights.size(); ++i) {
        if (serial == 0 || m_flights.at(i).serial != serial)
            continue;
        const Flight f = m_flights.takeAt(i);
        if (f.overlay && model)
            model->cancelLading();
        return f.generation == m_generation ? Current : Stale;
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

void PageRequest::clear(BaseModel* model)
{
    for (const Flight& f : qAsConst(m_flights)) {
        if (f.overlay && model)
            model->cancelLading();
    }
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
    switch (take(serial, model)) {
    case Current:
        return true;
    case Stale:
        qDebug() << where << "- a page asked before the list was reset, dropped.";
        return false;
    case Foreign:
        break;
    }
    qDebug() << where << quint32(serial) << " TW_MYSELF is not me";
    return false;
}
