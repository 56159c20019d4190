#pragma once

#include <functional>
#include <memory>

#include <QList>
#include <QObject>
#include <QString>

#include "core/executer.h"
#include "core/extlink.h"
#include "core/extlinks.h"
#include "core/networkshare.h"
#include "core/tidewell.h"
#include "core/twfileinfo.h"
#include "core/twhandle.h"
#include "protocol/apibase.h"
#include "protocol/apireq.h"
#include "protocol/devicesharegetinforesp.h"
#include "protocol/devicesharegettokenresp.h"
#include "protocol/devicesharereportresp.h"
#include "protocol/getexterlinkreslistresp.h"

class DBHelp;
class QThread;

// The external-link facade of the application: the links stored locally
// for the signed-in account, the cloud's view of a link, and the listing of
// a link's files over that link's own session (held by the root object).
// Operations come in threes like those of the device facade.
class TidewellExtlink : public QObject
{
    Q_OBJECT
public:
    using DownFilesFn = std::function<bool(TW_HANDLE, const NetworkShare& share,
                                           const QString& savePath,
                                           const QList<TwFileInfo>& items, int fileType)>;

    static constexpr const char* kGetInfoPath = "/api/v2/tomcat/Saltmere/deviceShare/getInfo";
    static constexpr const char* kGetTokenPath = "/api/v2/tomcat/Saltmere/deviceShare/getToken";
    static constexpr const char* kReportPath = "/api/v2/tomcat/Saltmere/deviceShare/report";

    // owner: the application-level owner; db: the link table (null: the
    // facade opens the application database itself). No Qt parent: the
    // facade moves itself onto its own thread.
    explicit TidewellExtlink(Tidewell* owner = nullptr, const QString& dbPath = QString());
    ~TidewellExtlink() override;

    // Link downloads go to the application-level download manager here.
    void setDownFilesHandler(DownFilesFn fn);
    void setTimeout(int seconds) { m_timeout = seconds; }
    bool waitForDone(int msecs = -1) { return m_exec.waitForDone(msecs); }

    Q_INVOKABLE void showLoading();
    Q_INVOKABLE void cancelLading();

    bool addDownFiles(TW_HANDLE handle, NetworkShare share, QString savePath,
                      QList<TwFileInfo> items, int fileType);

    bool addExtlink(TW_HANDLE handle, Extlink link);
    bool removeExtlink(TW_HANDLE handle, Extlink link);
    bool getExtlinkList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                        int queryType);
    // Synchronous: is a link with this url stored for the account and device?
    bool localExtlink(const QString& url);

    bool deviceShareGetInfo(TW_HANDLE handle, QString shareId, QString url);
    bool deviceShareGetToken(TW_HANDLE handle, QString shareId, QString extractedCode);
    bool deviceShareReport(TW_HANDLE handle, QString shareId, QString phone, int type,
                           QString reason);

    bool getExterLinkResList(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                             bool isSort, int condition, QString shareId);
    bool getLinkDirPath(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                        bool isSort, int condition, int fileId);

signals:
    void sAddDownFiles(TW_HANDLE handle, NetworkShare share, QString savePath,
                       QList<TwFileInfo> items, int fileType);
    void rAddDownFiles(TW_HANDLE handle, bool rs);
    void sAddExtlink(TW_HANDLE handle, Extlink link);
    void rAddExtlink(TW_HANDLE handle, APIBase resp);
    void sRemoveExtlink(TW_HANDLE handle, Extlink link);
    void rRemoveExtlink(TW_HANDLE handle, APIBase resp);
    void sGetExtlinkList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                         int queryType);
    void rGetExtlinkList(TW_HANDLE handle, Extlinks links);
    void sDeviceShareGetInfo(TW_HANDLE handle, QString shareId, QString url);
    void rDeviceShareGetInfo(TW_HANDLE handle, DeviceShareGetInfoResp resp, QString url);
    void sDeviceShareGetToken(TW_HANDLE handle, QString shareId, QString extractedCode);
    void rDeviceShareGetToken(TW_HANDLE handle, DeviceShareGetTokenResp resp,
                              QString extractedCode);
    void sDeviceShareReport(TW_HANDLE handle, QString shareId, QString phone, int type,
                            QString reason);
    void rDeviceShareReport(TW_HANDLE handle, DeviceShareReportResp resp);
    void sGetExterLinkResList(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                              bool isSort, int condition, QString shareId);
    void sGetLinkDirPath(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                         bool isSort, int condition, int fileId);
    void rGetExterLinkResList(TW_HANDLE handle, GetExterLinkResListResp resp);

private slots:
    void oAddDownFiles(TW_HANDLE handle, NetworkShare share, QString savePath,
                       QList<TwFileInfo> items, int fileType);
    void oAddExtlink(TW_HANDLE handle, Extlink link);
    void oRemoveExtlink(TW_HANDLE handle, Extlink link);
    void oGetExtlinkList(TW_HANDLE handle, int offset, int pageSize, bool isSort, int condition,
                         int queryType);
    void oDeviceShareGetInfo(TW_HANDLE handle, QString shareId, QString url);
    void oDeviceShareGetToken(TW_HANDLE handle, QString shareId, QString extractedCode);
    void oDeviceShareReport(TW_HANDLE handle, QString shareId, QString phone, int type,
                            QString reason);
    void oGetExterLinkResList(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                              bool isSort, int condition, QString shareId);
    void oGetLinkDirPath(TW_HANDLE handle, NetworkShare share, int offset, int pageSize,
                         bool isSort, int condition, int fileId);

private:
    QString accessId() const;
    QString linkDeviceId() const;
    // A cloud call on the owner's session.
    void cloud(const char* path, const Json::Value& body, APIBase& resp);
    // A device command on the session of the link that share names.
    void linkRequest(const NetworkShare& share, const APIReq& req, APIBase& resp);

    Tidewell* m_owner;
    QThread* m_thread;
    Executer m_exec;
    int m_timeout;
    std::unique_ptr<DBHelp> m_db;
    DownFilesFn m_downFiles;
};
