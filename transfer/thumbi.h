#pragma once

#include <QUrl>

#include "core/networkshare.h"
#include "core/twfileinfo.h"

// What the file-list models and the owner see of a thumbnail service: each
// call answers at once with the cached file's URL, or queues a download and
// answers with the type icon (small) or an empty URL (medium, original).
class ThumbI
{
public:
    virtual ~ThumbI() = default;
    virtual QUrl small(NetworkShare share, int type, qint64 fileId, QString ower, QString fileMd5,
                       int fileCatetory) = 0;
    virtual QUrl medium(NetworkShare share, int type, TwFileInfo item) = 0;
    virtual QUrl original(NetworkShare share, int type, TwFileInfo item) = 0;
};
