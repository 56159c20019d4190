#include "sharing/extlinkfilelistmodel.h"

#include <QDebug>

#include "core/common.h"
#include "core/utils.h"
#include "device/tidewelldevice.h"
#include "device/tidewellextlink.h"
#include "transfer/thumbi.h"

ExtlinkFileListModel::ExtlinkFileListModel(QObject* parent) : ExtlinkFileBaseModel(parent) {}

void ExtlinkFileListModel::setTw(QObject* tw)
{
    if (tw == m_tw.data())
        return;
    ExtlinkFileBaseModel::setTw(tw);
    if (m_deviceMode) {
        if (TidewellDevice* d = device())
            track(connect(d, &TidewellDevice::rGetExterLinkResList, this,
                          &ExtlinkFileListModel::rGetExterLinkResList));
    } else if (TidewellExtlink* e = extlink()) {
        track(connect(e, &TidewellExtlink::rGetExterLinkResList, this,
                      &ExtlinkFileListModel::rGetExterLinkResList));
        track(connect(e, &TidewellExtlink::rDeviceShareReport, this,
                      &ExtlinkFileListModel::rDeviceShareReport));
    }
}

void ExtlinkFileListModel::loadData()
{
    if (m_isLoading || !m_hasMore)
        return;
    qDebug() << "ExtlinkFileListModel::loadData - offset " << m_loadFileNum << ", my " << m_my.id
             << " - " << m_my.name;
    const bool first = m_loadFileNum == 0;
    m_loadFileNum = m_rows.size();
    const bool inFolder = m_my.id > 0;
    const TW_HANDLE h = beginPage(first);
    bool sent = false;
    if (m_deviceMode) {
        if (TidewellDevice* d = device())
            sent = inFolder ? d->getLinkDirPath(h, share(), m_loadFileNum, m_pageSize, m_isSort,
                                                m_sortType, int(m_my.id))
                            : d->getExterLinkResList(h, share(), m_loadFileNum, m_pageSize,
                                                     m_isSort, m_sortType, m_link.shareId);
    } else if (TidewellExtlink* e = extlink()) {
        sent = inFolder ? e->getLinkDirPath(h, share(), m_loadFileNum, m_pageSize, m_isSort,
                                            m_sortType, int(m_my.id))
                        : e->getExterLinkResList(h, share(), m_loadFileNum, m_pageSize, m_isSort,
                                                 m_sortType, m_link.shareId);
    }
    if (!sent) {
        // Nothing was sent, so nothing will answer; paging stays open and
        // the view's next fetch asks again.
        pageNotSent(h);
        m_isResetting = false;
    }
}

void ExtlinkFileListModel::rGetExterLinkResList(TW_HANDLE handle, GetExterLinkResListResp resp)
{
    if (!takePage(handle, "ExtlinkFileListModel::rGetExterLinkResList"))
        return;
    qDebug() << "ExtlinkFileListModel::rGetExterLinkResList - " << m_loadFileNum << ", "
             << resp.fileList.size();
    if (!resp.ok()) {
        qDebug() << "-----ExtlinkFileListModel::rGetExterLinkResList:" << resp.code()
                 << resp.message;
        pageFailed(resp.code(), resp.message, true, "ExtlinkFileListModel::rGetExterLinkResList");
        return;
    }
    const bool first = m_loadFileNum == 0;
    QList<TwFileInfo> fresh = unseen(first ? QList<TwFileInfo>() : m_rows, resp.fileList);
    // Rows carry their link: the viewer, the player and the preview download
    // fetch a row through the link's session, not the user's own device.
    for (TwFileInfo& f : fresh) {
        if (f.shareId.isEmpty()) {
            f.mode = 1;
            f.shareId = m_link.shareId;
            f.extractedCode = m_link.code;
        }
    }
    // Settled before the rows are shown: a view may ask for more at once.
    if (resp.fileList.size() < m_pageSize)
        m_hasMore = false;
    endIfRepeated(resp.fileList.size(), fresh.size(), "ExtlinkFileListModel::rGetExterLinkResList");
    m_isResetting = false;
    if (first)
        replaceRows(fresh);
    else
        appendRows(fresh);
    m_isLoading = false;
    m_loadFileNum = m_rows.size();
    setFileNum(m_rows.size());
    emit isAllChanged();
    emit isCheckChanged();
    emit loadFileNumChanged();
}

QUrl ExtlinkFileListModel::fileIconUrl(const TwFileInfo& item)
{
    int kind;
    if (item.isSamba)
        kind = Common::MT_Samba;
    else if (!item.isFile)
        kind = Common::MT_Folder;
    else {
        const int dot = item.name.lastIndexOf('.');
        kind = getMediaType(dot >= 0 ? item.name.mid(dot + 1) : QString());
    }
    if (kind == Common::MT_Image || kind == Common::MT_Video) {
        if (ThumbI* t = thumbI())
            return t->small(share(), kind, item.id, item.ower, item.fileMd5, item.fileCatetory);
    }
    return getFileTypeIcon(kind);
}

void ExtlinkFileListModel::reportExtlink(QString phone, int type, QString reason)
{
    if (TidewellExtlink* e = extlink())
        e->deviceShareReport(m_handle, m_link.shareId, phone, type, reason);
}

void ExtlinkFileListModel::rDeviceShareReport(TW_HANDLE handle, DeviceShareReportResp resp)
{
    if (!isMine(handle, "ExtlinkFileListModel::rDeviceShareReport"))
        return;
    if (resp.ok())
        notifyStatus(1, tr("Report Extlink Successful."), TL_Success);
    else
        notifyStatus(resp.code(), resp.message, TL_Info);
}
