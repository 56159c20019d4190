#pragma once

#include <QQmlContext>

#include "tests/qml/quickrig.h"

// A page-test rig with one helper object of the area's own, exposed to the
// tests under `name`; the helper reaches the shared rig through its `api`.
template <class Seed>
class SeededRig : public QuickRig
{
public:
    explicit SeededRig(const char* name) : m_name(name) {}

protected:
    void extend(QQmlContext* context) override
    {
        m_seed.api = api();
        context->setContextProperty(QString::fromLatin1(m_name), &m_seed);
    }

    Seed m_seed;

private:
    const char* m_name;
};
