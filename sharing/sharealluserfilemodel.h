#pragma once

#include "protocol/getsharefileresp.h"
#include "sharing/sharebasemodel.h"

// Every file the device's other users share with the signed-in user.
class ShareAllUserFileModel : public ShareBaseModel
{
    Q_OBJECT
public:
    explicit ShareAllUserFileModel(QObject* parent = nullptr);
    ~ShareAllUserFileModel() override;

    void initConnect(bool isTw) override;

public slots:
    void onGetShareFile(TW_HANDLE handle, GetShareFileResp dataRsp);

protected:
    bool requestPage(TW_HANDLE page) override;
};
