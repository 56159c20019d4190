#pragma once

#include <QList>
#include <QMetaType>

#include "core/extlink.h"

// One page of stored links, answering a list request with the same arguments.
struct Extlinks
{
    QList<Extlink> links;
    int offset = 0;
    int pageSize = 0;
    bool isSort = false;
    int condition = 0;
    int queryType = 0;

    Extlinks() = default;
    Extlinks(int off, int size, bool sort, int cond, int qType)
        : offset(off), pageSize(size), isSort(sort), condition(cond), queryType(qType) {}
};
Q_DECLARE_METATYPE(Extlinks)
Q_DECLARE_METATYPE(QList<Extlinks>)
