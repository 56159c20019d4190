#pragma once

#include "protocol/findsharefileresp.h"
#include "sharing/sharebasemodel.h"

// A keyword search in the files shared with the signed-in user. Without a
// keyword it asks for nothing.
class ShareSearchFileModel : public ShareBaseModel
{
    Q_OBJECT
    Q_PROPERTY(QString keyValue READ keyValue WRITE setKeyValue NOTIFY keyValueChanged)
public:
    explicit ShareSearchFileModel(QObject* parent = nullptr);
    ~ShareSearchFileModel() override;

    QString keyValue() const { return m_keyValue; }
    void setKeyValue(const QString& keyValue);

    bool canFetchMore(const QModelIndex& parent) const override;
    void initConnect(bool isTw) override;

signals:
    void keyValueChanged();

public slots:
    void onFindShareFile(TW_HANDLE handle, FindShareFileResp dataRsp);

protected:
    bool requestPage(TW_HANDLE page) override;
    bool canRequest() const override;

private:
    QString m_keyValue;
};
