#include "transfer/filesdatataskhelp.h"

#include <QDebug>
#include <QSet>

#include <json/value.h>

#include "core/localfileinfo.h"
#include "core/networkshare.h"
#include "core/safepath.h"
#include "core/tidewell.h"
#include "core/twfileinfo.h"
#include "protocol/dirpathresp.h"
#include "protocol/getdirpathreq.h"
#include "protocol/getexterlinkreslistresp.h"
#include "protocol/getexternalfilereq.h"
#include "protocol/getexternalfileresp.h"
#include "protocol/getlinkdirpathreq.h"
#include "protocol/getpubfilelistreq.h"
#include "protocol/getpubfilelistresp.h"
#include "protocol/getusersharefilesfordirreq.h"
#include "protocol/getusersharefilesfordirresp.h"
#include "sdk/resp_info.h"
#include "sdk/tidewell_network_sdk.h"

namespace {
const char* kPath = "/device/directTransfer.json";

// Local name of one folder level; a name that cannot be used as it is
// still gets a level of its own rather than climbing out, and a long one is
// cut to what the file system takes.
QString levelName(const QString& name)
{
    const QString safe = SafePath::safeName(name);
    return safe.isEmpty() ? QStringLiteral("_") : DownFileInfo::numberedName(safe, 0);
}
}

FilesDataTaskHelp::FilesDataTaskHelp(QObject* parent) : QObject(parent)
{
}

bool FilesDataTaskHelp::init(Tidewell* owner)
{
    m_owner = owner;
    return true;
}

bool FilesDataTaskHelp::getSubFileTask(DownFileInfo folder, int fileType, QList<DownFileInfo>& out)
{
    m_folder = folder;
    m_collected.clear();
    m_seen.clear();
    m_error.clear();
    m_interrupted = false;
    m_away = false;
    qDebug() << "FilesDataTaskHelp::getSubFileTask:" << out.size();
    if (!m_owner) {
        m_error = tr("Device is not connected");
        return false;
    }

    const NetworkShare share(1, folder.shareId, folder.extractedCode);
    bool ran = false;
    const bool ok = m_owner->device_online(share, [&](Net* net, bool) {
        ran = true;
        if (!net)
            return false;
        switch (fileType) {
        case 0: return nextFileGetTask(net, false, out);
        case 5: return nextFileGetTask(net, true, out);
        case 1: return nextShareFileGetTask(net, out);
        case 2: return nextExternalFileGetTask(net, 1, out);
        case 3: return nextExternalFileGetTask(net, 2, out);
        case 4: return nextExternalFileGetTask(net, 3, out);
        case 6: return nextGroupFileGetTask(net, out);
        case 7: return nextExtlinkFileGetTask(net, out);
        default:
            m_error = tr("Unknown source kind %1").arg(fileType);
            qWarning() << "FilesDataTaskHelp::getSubFileTask - unknown source kind" << fileType;
            return false;
        }
    });
    if (!ran) {
        m_error = tr("Device is not connected");
        m_away = true;
    }
    if (!ok) {
        m_collected.clear();
        qWarning() << "FilesDataTaskHelp::getSubFileTask - listing of" << folder.fileName
                   << "failed:" << m_error;
    }
    return ok;
}

bool FilesDataTaskHelp::send(Net* net, const APIReq& req, APIBase& resp)
{
    sdk::cores::model::resp_info info;
    if (!net->api_req(req.to_string(), req.command(), kPath, kTimeoutS, &info)) {
        // The layer's reason (time-out, refused, not JSON) says more.
        m_error = info.message.empty() ? tr("Network Error") : QString::fromStdString(info.message);
        m_away = info.http_status == 0 || info.http_status == 502 || info.http_status == 503
                 || info.http_status == 504;
        qWarning() << "FilesDataTaskHelp - request" << QString::fromStdString(req.command())
                   << "failed:" << QString::fromStdString(info.message);
        return false;
    }
    if (!(info.json ? resp.from_json(*info.json) : resp.from(info.body))) {
        m_error = tr("Data Error");
        return false;
    }
    if (!resp.ok()) {
        m_error = resp.message.isEmpty() ? tr("Folder listing failed (%1)").arg(resp.result)
                                         : resp.message;
        qWarning() << "FilesDataTaskHelp - request" << QString::fromStdString(req.command())
                   << "answered" << resp.result << resp.errCode << resp.message;
        return false;
    }
    return true;
}

template <class Resp, class Request, class MorePages>
bool FilesDataTaskHelp::listPages(Net* net, const char* walker, Request request,
                                  MorePages morePages, QList<DownFileInfo>& out)
{
    for (int page = 1;; ++page) {
        if (m_interrupt && m_interrupt->load()) {
            m_interrupted = true;
            m_error = tr("Folder listing interrupted");
            return false;
        }
        qDebug() << (QString("FilesDataTaskHelp::") + walker) << m_folder.fileName << page;
        Resp resp;
        if (!send(net, request(page), resp))
            return false;
        // A device answering the same items again would have them queued
        // twice: they are taken once, and a page of nothing new ends the
        // folder whatever its page count says.
        int added = 0;
        for (const auto& item : resp.fileList) {
            const DownFileInfo e = entryOf(item);
            const QString key = QString("%1|%2|%3|%4")
                                    .arg(e.fileId).arg(e.isFolder).arg(e.fileName, e.usbFilePath);
            if (m_seen.contains(key))
                continue;
            m_seen.insert(key);
            m_collected.append(e);
            ++added;
        }
        if (added == 0 || page >= kMaxPages || !morePages(resp, page))
            break;
    }
    complete(out);
    return true;
}

namespace {
// Paged by number: the answer gives the page count.
template <class Resp>
bool pagesLeft(const Resp& resp, int page)
{
    return page < resp.totalPages;
}
}

bool FilesDataTaskHelp::nextFileGetTask(Net* net, bool isSafeBox, QList<DownFileInfo>& out)
{
    const bool ok = listPages<DirPathResp>(net, "nextFileGetTask", [&](int page) {
        return GetDirPathReq("", m_folder.fileId, page, 0, kPageSize, false, 2, isSafeBox);
    }, pagesLeft<DirPathResp>, out);
    if (ok)
        qDebug() << "FilesDataTaskHelp::getSubFileTask2:" << out.size();
    return ok;
}

bool FilesDataTaskHelp::nextShareFileGetTask(Net* net, QList<DownFileInfo>& out)
{
    return listPages<GetUserShareFilesForDirResp>(net, "nextShareFileGetTask", [&](int page) {
        return GetUserShareFilesForDirReq(page, kPageSize, m_folder.fileId, 2);
    }, pagesLeft<GetUserShareFilesForDirResp>, out);
}

bool FilesDataTaskHelp::nextExternalFileGetTask(Net* net, int diskKind, QList<DownFileInfo>& out)
{
    return listPages<GetExternalFileResp>(net, "nextExternalFileGetTask", [&](int page) {
        return GetExternalFileReq(diskKind, page, kPageSize, m_folder.usbFilePath);
    }, pagesLeft<GetExternalFileResp>, out);
}

// Paged by offset: the items collected so far are the offset of the next
// page, the answer gives the item count.
bool FilesDataTaskHelp::nextGroupFileGetTask(Net* net, QList<DownFileInfo>& out)
{
    return listPages<GetPubFileListResp>(net, "nextGroupFileGetTask", [&](int) {
        return GetPubFileListReq(m_folder.groupId, m_folder.fileId, "", m_collected.size(),
                                 kPageSize, false, false, 3);
    }, [&](const GetPubFileListResp& resp, int) {
        qDebug() << "-----------nextGroupFileGetTask: code: " << resp.result << resp.message;
        qDebug() << "-----------nextGroupFileGetTask" << resp.fileList.size();
        return m_collected.size() < resp.totalNum;
    }, out);
}

// A link's folder gives no page count: pages are asked until one is empty.
bool FilesDataTaskHelp::nextExtlinkFileGetTask(Net* net, QList<DownFileInfo>& out)
{
    const int before = out.size();
    const bool ok = listPages<GetExterLinkResListResp>(net, "nextExtlinkFileGetTask", [&](int page) {
        return GetLinkDirPathReq(m_folder.fileId, page, kPageSize);
    }, [](const GetExterLinkResListResp&, int) { return true; }, out);
    if (ok)
        qDebug() << "FilesDataTaskHelp::nextExtlinkFileGetTask - dataList:" << out.size() - before;
    return ok;
}

void FilesDataTaskHelp::complete(QList<DownFileInfo>& out)
{
    // A folder whose local name is that of a file beside it gets a name of
    // its own, so neither takes the other's place.
    QSet<QString> fileNames;
    for (const DownFileInfo& e : qAsConst(m_collected))
        if (!e.isFolder)
            fileNames.insert(levelName(e.fileName));
    for (DownFileInfo& e : m_collected) {
        if (!e.isFolder)
            continue;
        const QString base = levelName(e.fileName);
        QString name = base;
        for (int n = 1; fileNames.contains(name); ++n)
            name = DownFileInfo::numberedName(base, n);
        if (name != base)
            e.pNamePath = m_folder.pNamePath + "/" + name;
    }
    if (!m_collected.isEmpty()) {
        out.append(m_collected);
        m_collected.clear();
        return;
    }
    // An empty folder still has to appear locally.
    DownFileInfo e;
    e.fileId = m_folder.fileId;
    e.isFolder = m_folder.isFolder;
    e.fileName = m_folder.fileName;
    e.filePath = m_folder.filePath;
    e.usbFilePath = m_folder.usbFilePath;
    e.fileSize = m_folder.fileSize;
    e.accessId = m_folder.accessId;
    e.deviceId = m_folder.deviceId;
    e.savePath = m_folder.savePath;
    e.pId = m_folder.pId;
    e.pNamePath = m_folder.pNamePath;
    e.shareId = m_folder.shareId;
    e.extractedCode = m_folder.extractedCode;
    e.fileState = 2;
    e.isSubItem = true;
    e.isEmptyFolder = true;
    out.append(e);
}

void FilesDataTaskHelp::fillFromFolder(DownFileInfo& e, const QString& itemName) const
{
    e.fileState = 2;
    e.isSubItem = true;
    e.accessId = m_folder.accessId;
    e.deviceId = m_folder.deviceId;
    e.savePath = m_folder.savePath;
    e.pId = m_folder.pId;
    e.shareId = m_folder.shareId;
    e.extractedCode = m_folder.extractedCode;
    e.pNamePath = e.isFolder ? m_folder.pNamePath + "/" + levelName(itemName) : m_folder.pNamePath;
}

DownFileInfo FilesDataTaskHelp::entryOf(const TwFileInfo& item) const
{
    DownFileInfo e = DownFileInfo::fromItem(item);
    // Items of a group folder may leave their group out.
    if (!e.groupId)
        e.groupId = m_folder.groupId;
    fillFromFolder(e, item.name);
    return e;
}

DownFileInfo FilesDataTaskHelp::entryOf(const LocalFileInfo& item) const
{
    DownFileInfo e = DownFileInfo::fromItem(item);
    fillFromFolder(e, item.name);
    return e;
}
