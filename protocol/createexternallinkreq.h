#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>

#include "protocol/apireq.h"

// Makes an external link on the device for some of its files.
class CreateExternalLinkReq : public APIReq
{
public:
    static constexpr const char* kCommand = "createExternalLink";

    CreateExternalLinkReq() = default;
    CreateExternalLinkReq(const QList<qint64>& fileIds_, const QString& title_,
                          const QString& extractedCode_)
        : fileIds(fileIds_), title(title_), extractedCode(extractedCode_)
    {
    }

    QList<qint64> fileIds;
    QString title;
    QString extractedCode;

    std::string command() const override { return kCommand; }
    Json::Value to_json() const override;
};
