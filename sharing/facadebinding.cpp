#include "sharing/facadebinding.h"

#include <QDebug>

#include "device/tidewelldevice.h"

TidewellDevice* FacadeBinding::rebind(QObject* tw, const char* who)
{
    auto* device = qobject_cast<TidewellDevice*>(tw);
    if (tw && !device)
        qWarning() << who << "not a device facade:" << tw;
    if (device == m_device)
        return nullptr;
    for (const QMetaObject::Connection& c : qAsConst(m_connections))
        QObject::disconnect(c);
    m_connections.clear();
    m_device = device;
    return device;
}
