#pragma once

#include <QMetaType>
#include <QString>

#include "protocol/apibase.h"

// The device answers dirId and, on a name clash, a proposed backNewName; the
// facade completes dirName, parentId and groupId from its request.
class CreatePubDirResp : public APIBase
{
public:
    qint64 dirId = 0;
    QString backNewName;
    QString dirName;
    int parentId = 0;
    int groupId = 0;

protected:
    void parseData(const Json::Value& data) override;
};
Q_DECLARE_METATYPE(CreatePubDirResp)
