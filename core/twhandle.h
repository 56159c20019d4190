#pragma once

#include <QtGlobal>

// Request handle carried by every facade request and its reply. Kept 32-bit,
// but handed out from a counter so two live requesters never share one.
typedef quint32 TW_HANDLE;

TW_HANDLE twNewHandle();
