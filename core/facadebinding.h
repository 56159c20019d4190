#pragma once

#include <QDebug>
#include <QMetaObject>
#include <QObject>
#include <QPointer>
#include <QVector>

// The facade or manager a QML-created model is given through a property
// (`tw`), and the connections the model made to it: another one drops the
// earlier connections, so each answer is taken once and a facade set before
// no longer reaches the model. T is the class the model works with; with
// QObject any object is held and the model casts it.
template <class T = QObject>
class FacadeBinding
{
public:
    // Holds tw as a T; anything else is logged under who and held as none.
    // True when that differs from the held one: the earlier connections are
    // then dropped, and the new facade's are to be added.
    bool rebind(QObject* tw, const char* who = "");
    void add(const QMetaObject::Connection& c) { m_connections << c; }

    T* data() const { return m_facade.data(); }
    T* operator->() const { return m_facade.data(); }
    explicit operator bool() const { return !m_facade.isNull(); }

private:
    QPointer<T> m_facade;
    QVector<QMetaObject::Connection> m_connections;
};

template <class T>
bool FacadeBinding<T>::rebind(QObject* tw, const char* who)
{
    T* facade = qobject_cast<T*>(tw);
    if (tw && !facade)
        qWarning() << who << "not a" << T::staticMetaObject.className() << ":" << tw;
    if (facade == m_facade)
        return false;
    for (const QMetaObject::Connection& c : qAsConst(m_connections))
        QObject::disconnect(c);
    m_connections.clear();
    m_facade = facade;
    return true;
}
