#pragma once

#include <QList>

// The row ids of queue records, in their order.
template <class Rec>
QList<int> fIds(const QList<Rec>& list)
{
    QList<int> out;
    for (const Rec& f : list)
        out.append(f.fId);
    return out;
}
