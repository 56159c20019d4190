#include "transfer/filesdatataskhelp.h"

#include <QDebug>

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
// still gets a level of its own rather than climbing out.
QString levelName(const QString& name)
{
    const QString safe = SafePath::safeName(name);
    return safe.isEmpty() ? QStringLiteral("_") : safe;
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
    m_page = 1;
    m_offset = 0;
    m_collected.clear();
    m_error.clear();
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
    if (!ran)
        m_error = tr("Device is not connected");
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
        m_error = tr("Network Error");
        qWarning() << "FilesDataTaskHelp - request" << QString::fromStdString(req.command())
                   << "failed:" << QString::fromStdString(info.message);
        return false;
    }
    if (!resp.from(info.body)) {
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

bool FilesDataTaskHelp::nextFileGetTask(Net* net, bool isSafeBox, QList<DownFileInfo>& out)
{
    for (;;) {
        qDebug() << "FilesDataTaskHelp::nextFileGetTask" << m_folder.fileId << m_page;
        GetDirPathReq req("", m_folder.fileId, m_page, 0, kPageSize, false, 2, isSafeBox);
        DirPathResp resp;
        if (!send(net, req, resp))
            return false;
        for (const TwFileInfo& item : resp.fileList)
            m_collected.append(fromItem(item));
        // An empty page ends the folder whatever its page count says.
        if (m_page < resp.totalPages && !resp.fileList.isEmpty() && m_page < kMaxPages) {
            ++m_page;
            continue;
        }
        qDebug() << "FilesDataTaskHelp::getSubFileTask2:" << out.size();
        complete(out);
        return true;
    }
}

bool FilesDataTaskHelp::nextShareFileGetTask(Net* net, QList<DownFileInfo>& out)
{
    for (;;) {
        qDebug() << "FilesDataTaskHelp::nextShareFileGetTask" << m_folder.fileId << m_page;
        GetUserShareFilesForDirReq req(m_page, kPageSize, m_folder.fileId, 2);
        GetUserShareFilesForDirResp resp;
        if (!send(net, req, resp))
            return false;
        for (const TwFileInfo& item : resp.fileList)
            m_collected.append(fromItem(item));
        if (m_page < resp.totalPages && !resp.fileList.isEmpty() && m_page < kMaxPages) {
            ++m_page;
            continue;
        }
        complete(out);
        return true;
    }
}

bool FilesDataTaskHelp::nextExternalFileGetTask(Net* net, int diskKind, QList<DownFileInfo>& out)
{
    for (;;) {
        qDebug() << "FilesDataTaskHelp::nextExternalFileGetTask" << diskKind << m_folder.usbFilePath
                 << m_page;
        GetExternalFileReq req(diskKind, m_page, kPageSize, m_folder.usbFilePath);
        GetExternalFileResp resp;
        if (!send(net, req, resp))
            return false;
        for (const LocalFileInfo& item : resp.fileList)
            m_collected.append(fromLocal(item));
        if (m_page < resp.totalPages && !resp.fileList.isEmpty() && m_page < kMaxPages) {
            ++m_page;
            continue;
        }
        complete(out);
        return true;
    }
}

bool FilesDataTaskHelp::nextGroupFileGetTask(Net* net, QList<DownFileInfo>& out)
{
    for (int pages = 1;; ++pages) {
        GetPubFileListReq req(m_folder.groupId, m_folder.fileId, "", m_offset, kPageSize, false,
                              false, 3);
        GetPubFileListResp resp;
        if (!send(net, req, resp))
            return false;
        qDebug() << "-----------nextGroupFileGetTask: code: " << resp.result << resp.message;
        qDebug() << "-----------nextGroupFileGetTask" << resp.fileList.size();
        for (const TwFileInfo& item : resp.fileList)
            m_collected.append(fromItem(item));
        m_offset += resp.fileList.size();
        if (m_offset < resp.totalNum && !resp.fileList.isEmpty() && pages < kMaxPages)
            continue;
        complete(out);
        return true;
    }
}

bool FilesDataTaskHelp::nextExtlinkFileGetTask(Net* net, QList<DownFileInfo>& out)
{
    for (;;) {
        qDebug() << "FilesDataTaskHelp::nextExtlinkFileGetTask" << m_folder.fileId << m_page;
        GetLinkDirPathReq req(m_folder.fileId, m_page, kPageSize);
        GetExterLinkResListResp resp;
        if (!send(net, req, resp))
            return false;
        for (const TwFileInfo& item : resp.fileList)
            m_collected.append(fromItem(item));
        if (!resp.fileList.isEmpty() && m_page < kMaxPages) {
            ++m_page;
            continue;
        }
        qDebug() << "FilesDataTaskHelp::nextExtlinkFileGetTask - dataList:" << m_collected.size();
        complete(out);
        return true;
    }
}

void FilesDataTaskHelp::complete(QList<DownFileInfo>& out)
{
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

DownFileInfo FilesDataTaskHelp::fromItem(const TwFileInfo& item) const
{
    DownFileInfo e;
    e.fileId = int(item.id);
    e.isFolder = !item.isFile;
    e.fileName = item.name;
    e.ower = item.ower;
    e.filePath = item.filePath;
    e.fileMd5 = item.fileMd5;
    e.fileSize = item.fileLen;
    e.fileCatetory = item.fileCatetory;
    // Items of a group folder may leave their group out.
    e.groupId = item.groupId ? item.groupId : m_folder.groupId;
    fillFromFolder(e, item.name);
    return e;
}

DownFileInfo FilesDataTaskHelp::fromLocal(const LocalFileInfo& item) const
{
    DownFileInfo e;
    e.fileId = int(item.id);
    e.isFolder = !item.isFile;
    e.fileName = item.name;
    e.usbFilePath = item.filePath;
    e.filePath = item.url;
    e.fileSize = item.fileLen;
    fillFromFolder(e, item.name);
    return e;
}
