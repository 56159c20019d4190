#pragma once

#include <QMetaMethod>
#include <QSignalSpy>

// A QSignalSpy for signals emitted on another thread (engines, facades, the
// library's threads). QSignalSpy records on the emitting thread, so the test
// would read its list while that thread appends to it, and a spy leaving
// scope while an engine still reports could be called during its own
// destruction. This one takes every emission over on the thread it lives on
// (the test's), through the event loop that QTRY_* and wait() run.
class QueuedSpy : public QSignalSpy
{
public:
    template <typename Func>
    QueuedSpy(const typename QtPrivate::FunctionPointer<Func>::Object* obj, Func signal)
        : QSignalSpy(obj, signal)
    {
        if (!isValid())
            return;
        const int sigIndex = QMetaMethod::fromSignal(signal).methodIndex();
        // QSignalSpy's receiving method sits right after QObject's methods.
        const int slot = QObject::staticMetaObject.methodCount();
        QMetaObject::disconnect(obj, sigIndex, this, slot);
        QMetaObject::connect(obj, sigIndex, this, slot, Qt::QueuedConnection, nullptr);
    }
};
