#pragma once

#include <QMetaObject>
#include <QPointer>
#include <QVector>

#include "device/tidewelldevice.h"

// The device facade a QML-created model works with, and the answer
// connections made to it: setting another facade drops the earlier
// connections, so each answer is taken once.
class FacadeBinding
{
public:
    // The new facade when it differs from the held one (its connections are
    // then to be added), else null. Anything but a device facade is logged
    // and taken as none.
    TidewellDevice* rebind(QObject* tw, const char* who);
    void add(const QMetaObject::Connection& c) { m_connections << c; }

    TidewellDevice* data() const { return m_device.data(); }
    TidewellDevice* operator->() const { return m_device.data(); }
    explicit operator bool() const { return !m_device.isNull(); }

private:
    QPointer<TidewellDevice> m_device;
    QVector<QMetaObject::Connection> m_connections;
};
