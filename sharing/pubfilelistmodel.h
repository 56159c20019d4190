#pragma once

#include "protocol/getpubfilelistresp.h"
#include "sharing/pubfilebasemodel.h"

// A public group's folder (or a keyword search in the group) paged in by
// offset.
class PubFileListModel : public PubFileBaseModel
{
    Q_OBJECT
public:
    explicit PubFileListModel(QObject* parent = nullptr);

    void loadData() override;
    void initConnect(bool isTw) override;

public slots:
    void onGetPubFileList(TW_HANDLE handle, GetPubFileListResp respData);
};
