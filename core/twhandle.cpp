#include "core/twhandle.h"

#include <atomic>

TW_HANDLE twNewHandle()
{
    static std::atomic<quint32> next{1};
    quint32 h = next.fetch_add(1);
    if (h == 0) // skip 0 after a wrap: it means "no requester"
        h = next.fetch_add(1);
    return h;
}
