#pragma once

#include "protocol/devicesharereportresp.h"
#include "protocol/getexterlinkreslistresp.h"
#include "sharing/extlinkfilebasemodel.h"

// One level of a link, paged by offset: the link's top level by its share
// id, a folder by its id. A received link can be reported for abuse.
class ExtlinkFileListModel : public ExtlinkFileBaseModel
{
    Q_OBJECT
public:
    explicit ExtlinkFileListModel(QObject* parent = nullptr);

    bool isExtlinkList() override { return true; }
    void setTw(QObject* tw) override;
    void loadData() override;
    QUrl fileIconUrl(const TwFileInfo& item) override;

    Q_INVOKABLE void reportExtlink(QString phone, int type, QString reason);

public slots:
    void rGetExterLinkResList(TW_HANDLE handle, GetExterLinkResListResp resp);
    void rDeviceShareReport(TW_HANDLE handle, DeviceShareReportResp resp);
};
