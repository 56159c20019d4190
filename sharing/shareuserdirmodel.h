#pragma once

#include "protocol/getusersharefilesfordirresp.h"
#include "sharing/sharebasemodel.h"

// The content of one shared folder.
class ShareUserDirModel : public ShareBaseModel
{
    Q_OBJECT
    Q_PROPERTY(QVariantMap my READ my WRITE setMy NOTIFY isSelfChanged)
    Q_PROPERTY(bool isSelf READ isSelf NOTIFY isSelfChanged)
public:
    explicit ShareUserDirModel(QObject* parent = nullptr);

    QVariantMap my() const { return m_my.toVariantMap(); }
    void setMy(const QVariantMap& my);
    bool isSelf() const;

    void initConnect(bool isTw) override;

signals:
    void isSelfChanged();

public slots:
    void onGetUserShareFilesForDir(TW_HANDLE handle, GetUserShareFilesForDirResp dataRsp);

protected:
    bool requestPage(TW_HANDLE page) override;

private:
    TwFileInfo m_my;
};
