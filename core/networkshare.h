#pragma once

#include <QList>
#include <QMetaType>
#include <QString>

// Names the external link on whose session a library call must run; an empty
// shareId means the owner's own device session.
struct NetworkShare
{
    int num = 0;
    QString shareId;
    QString extractedCode;

    NetworkShare() = default;
    NetworkShare(int n, const QString& id, const QString& code)
        : num(n), shareId(id), extractedCode(code) {}
};
Q_DECLARE_METATYPE(NetworkShare)
