#pragma once

#include "protocol/getusersharefileresp.h"
#include "sharing/sharebasemodel.h"

// The files one user shares: another user's as the signed-in user sees
// them, or the signed-in user's own. Nothing loads before accessId is set.
class ShareUserFileModel : public ShareBaseModel
{
    Q_OBJECT
    Q_PROPERTY(QString accessId READ accessId WRITE setAccessId NOTIFY isSelfChanged)
    Q_PROPERTY(bool isSelf READ isSelf NOTIFY isSelfChanged)
public:
    explicit ShareUserFileModel(QObject* parent = nullptr);

    QString accessId() const { return m_accessId; }
    void setAccessId(const QString& accessId);
    bool isSelf() const;

    bool canFetchMore(const QModelIndex& parent) const override;
    void initConnect(bool isTw) override;

signals:
    void isSelfChanged();

public slots:
    void onGetUserShareFile(TW_HANDLE handle, GetUserShareFileResp dataRsp);

protected:
    bool requestPage(TW_HANDLE page) override;
    bool canRequest() const override;

private:
    QString m_accessId;
    bool m_accessIdSet = false;
};
