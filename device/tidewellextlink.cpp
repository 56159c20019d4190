#include "device/tidewellextlink.h"

#include <QDebug>
#include <QThread>

#include "core/dbhelp.h"
#include "protocol/getexterlinkreslistreq.h"
#include "protocol/getlinkdirpathreq.h"
#include "protocol/jsonread.h"
#include "protocol/tidewellnet.h"

TidewellExtlink::TidewellExtlink(Tidewell* owner, const QString& dbPath)
    : QObject(nullptr), m_owner(owner), m_thread(new QThread), m_exec(4),
      m_timeout(TidewellNet::kFacadeTimeout), m_db(new DBHelp(DBHelp::App, dbPath))
{
    m_thread->setObjectName("TidewellExtlink");
    moveToThread(m_thread);
    m_thread->start();

    const auto q = Qt::QueuedConnection;
    connect(this, &TidewellExtlink::sAddDownFiles, this, &TidewellExtlink::oAddDownFiles, q);
    connect(this, &TidewellExtlink::sAddExtlink, this, &TidewellExtlink::oAddExtlink, q);
    connect(this, &TidewellExtlink::sRemoveExtlink, this, &TidewellExtlink::oRemoveExtlink, q);
    connect(this, &TidewellExtlink::sGetExtlinkList, this, &TidewellExtlink::oGetExtlinkList, q);
    connect(this, &TidewellExtlink::sDeviceShareGetInfo, this,
            &TidewellExtlink::oDeviceShareGetInfo, q);
    connect(this, &TidewellExtlink::sDeviceShareGetToken, this,
            &TidewellExtlink::oDeviceShareGetToken, q);
    connect(this, &TidewellExtlink::sDeviceShareReport, this,
            &TidewellExtlink::oDeviceShareReport, q);
    connect(this, &TidewellExtlink::sGetExterLinkResList, this,
            &TidewellExtlink::oGetExterLinkResList, q);
    connect(this, &TidewellExtlink::sGetLinkDirPath, this, &TidewellExtlink::oGetLinkDirPath, q);
}

TidewellExtlink::~TidewellExtlink()
{
    m_exec.waitForDone();
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
}

void TidewellExtlink::setDownFilesHandler(DownFilesFn fn)
{
    m_downFiles = std::move(fn);
}

void TidewellExtlink::showLoading()
{
    if (m_owner)
        m_owner->showLoading();
}

void TidewellExtlink::cancelLading()
{
    if (m_owner)
        m_owner->cancelLading();
}

QString TidewellExtlink::accessId() const
{
    return m_owner ? m_owner->userInfo().accessId : QString();
}

QString TidewellExtlink::linkDeviceId() const
{
    return m_owner ? m_owner->deviceId() : QString();
}

void TidewellExtlink::cloud(const char* path, const Json::Value& body, APIBase& resp)
{
    TidewellNet::cloud(m_owner ? m_owner->networkSdk() : nullptr, path, body, resp, m_timeout);
}

void TidewellExtlink::linkRequest(const NetworkShare& share, const APIReq& req, APIBase& resp)
{
    bool ran = false;
    const int timeout = m_timeout;
    if (m_owner && !share.shareId.isEmpty()) {
        m_owner->device_online(share, [&](sdk::plugins::tidewell_network_sdk* net, bool) {
            ran = true;
            return TidewellNet::request(net, req, resp, timeout);
        });
    }
    if (!ran) {
        qWarning() << "TidewellExtlink::linkRequest - no session for link" << share.shareId;
        resp.setError(APIBase::NetworkError, "extlink not existed or invalid");
    }
}

// Download hand-over ---------------------------------------------------------

bool TidewellExtlink::addDownFiles(TW_HANDLE handle, NetworkShare share, QString savePath,
                                   QList<TwFileInfo> items, int fileType)
{
    emit sAddDownFiles(handle, share, savePath, items, fileType);
    return true;
}

void TidewellExtlink::oAddDownFiles(TW_HANDLE handle, NetworkShare share, QString savePath,
                                    QList<TwFileInfo> items, int fileType)
{
    // An accepting handler answers through rAddDownFiles itself.
    if (m_downFiles && m_downFiles(handle, share, savePath, items, fileType))
        return;
    qWarning() << "TidewellExtlink::oAddDownFiles - not handed over," << items.size() << "items.";
    emit rAddDownFiles(handle, false);
}

// Local link table -----------------------------------------------------------

bool TidewellExtlink::addExtlink(TW_HANDLE handle, Extlink link)
{
    emit sAddExtlink(handle, link);
    return true;
}

void TidewellExtlink::oAddExtlink(TW_HANDLE handle, Extlink link)
{
    APIBase resp(APIBase::Success, "success");
    if (!m_db->addExtlink(link, accessId(), linkDeviceId()))
        resp.setError(0, "addExtlink error");
    emit rAddExtlink(handle, resp);
}

bool TidewellExtlink::removeExtlink(TW_HANDLE handle, Extlink link)
{
    emit sRemoveExtlink(handle, link);
    return true;
}

void TidewellExtlink::oRemoveExtlink(TW_HANDLE handle, Extlink link)
{
    APIBase resp(APIBase::Success, "success");
    bool removed = false;
    if (link.id >= 0) {
        removed = m_db->removeExtlink(link.id);
    } else if (!link.shareId.isEmpty()) {
        // A row added in this session does not know its row id yet: find
        // the account's rows of that link.
        QList<Extlink> stored;
        removed = m_db->getExtlinkList(accessId(), linkDeviceId(), 1, 0, -1, stored);
        int hits = 0;
        for (const Extlink& s : stored) {
            if (s.shareId == link.shareId) {
                ++hits;
                removed = removed && m_db->removeExtlink(s.id);
            }
        }
        removed = removed && hits > 0;
    }
    if (!removed)
        resp.setError(0, "removeExtlink error");
    emit rRemoveExtlink(handle, resp);
}

bool TidewellExtlink::getExtlinkList(TW_HANDLE handle, int offset, int pageSize, bool isSort,
                                     int condition, int queryType)
{
    emit sGetExtlinkList(handle, offset, pageSize, isSort, condition, queryType);
    return true;
}

void TidewellExtlink::oGetExtlinkList(TW_HANDLE handle, int offset, int pageSize, bool isSort,
                                      int condition, int queryType)
{
    Extlinks page(offset, pageSize, isSort, condition, queryType);
    if (!m_db->getExtlinkList(accessId(), linkDeviceId(), 1, offset, pageSize, page.links, isSort))
        qWarning() << "TidewellExtlink::oGetExtlinkList - reading the link table failed.";
    emit rGetExtlinkList(handle, page);
}

bool TidewellExtlink::localExtlink(const QString& url)
{
    // The table is read here, on the caller's thread: DBHelp opens a
    // connection per thread.
    return m_db->existExtlink(accessId(), linkDeviceId(), url);
}

// Cloud ----------------------------------------------------------------------

bool TidewellExtlink::deviceShareGetInfo(TW_HANDLE handle, QString shareId, QString url)
{
    emit sDeviceShareGetInfo(handle, shareId, url);
    return true;
}

void TidewellExtlink::oDeviceShareGetInfo(TW_HANDLE handle, QString shareId, QString url)
{
    m_exec.execute([=] {
        Json::Value body(Json::objectValue);
        body["shareId"] = JsonRead::str(shareId);
        DeviceShareGetInfoResp resp;
        cloud(kGetInfoPath, body, resp);
        emit rDeviceShareGetInfo(handle, resp, url);
    });
}

bool TidewellExtlink::deviceShareGetToken(TW_HANDLE handle, QString shareId,
                                          QString extractedCode)
{
    emit sDeviceShareGetToken(handle, shareId, extractedCode);
    return true;
}

void TidewellExtlink::oDeviceShareGetToken(TW_HANDLE handle, QString shareId,
                                           QString extractedCode)
{
    m_exec.execute([=] {
        Json::Value body(Json::objectValue);
        body["shareId"] = JsonRead::str(shareId);
        body["extractedCode"] = JsonRead::str(extractedCode);
        DeviceShareGetTokenResp resp;
        cloud(kGetTokenPath, body, resp);
        resp.shareId = shareId;
        emit rDeviceShareGetToken(handle, resp, extractedCode);
    });
}

bool TidewellExtlink::deviceShareReport(TW_HANDLE handle, QString shareId, QString phone,
                                        int type, QString reason)
{
    emit sDeviceShareReport(handle, shareId, phone, type, reason);
    return true;
}

void TidewellExtlink::oDeviceShareReport(TW_HANDLE handle, QString shareId, QString phone,
                                         int type, QString reason)
{
    m_exec.execute([=] {
        Json::Value body(Json::objectValue);
        body["shareId"] = JsonRead::str(shareId);
        body["phone"] = JsonRead::str(phone);
        body["type"] = type;
        body["reason"] = JsonRead::str(reason);
        DeviceShareReportResp resp;
        cloud(kReportPath, body, resp);
        emit rDeviceShareReport(handle, resp);
    });
}

// Link contents ---------------------------------------------------------------

bool TidewellExtlink::getExterLinkResList(TW_HANDLE handle, NetworkShare share, int offset,
                                          int pageSize, bool isSort, int condition,
                                          QString shareId)
{
    emit sGetExterLinkResList(handle, share, offset, pageSize, isSort, condition, shareId);
    return true;
}

void TidewellExtlink::oGetExterLinkResList(TW_HANDLE handle, NetworkShare share, int offset,
                                           int pageSize, bool isSort, int condition,
                                           QString shareId)
{
    m_exec.execute([=] {
        const auto req =
            GetExterLinkResListReq::atOffset(shareId, offset, pageSize, isSort, condition);
        GetExterLinkResListResp resp;
        linkRequest(share, req, resp);
        emit rGetExterLinkResList(handle, resp);
    });
}

bool TidewellExtlink::getLinkDirPath(TW_HANDLE handle, NetworkShare share, int offset,
                                     int pageSize, bool isSort, int condition, int fileId)
{
    emit sGetLinkDirPath(handle, share, offset, pageSize, isSort, condition, fileId);
    return true;
}

void TidewellExtlink::oGetLinkDirPath(TW_HANDLE handle, NetworkShare share, int offset,
                                      int pageSize, bool isSort, int condition, int fileId)
{
    m_exec.execute([=] {
        const auto req = GetLinkDirPathReq::atOffset(fileId, offset, pageSize, isSort, condition);
        GetExterLinkResListResp resp;
        linkRequest(share, req, resp);
        emit rGetExterLinkResList(handle, resp);
    });
}
