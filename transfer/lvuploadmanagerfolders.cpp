#include "transfer/lvuploadmanager.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>

#include "core/dbhelp.h"
#include "core/tidewell.h"
#include "core/transferfields.h"
#include "core/utils.h"
#include "protocol/createdirreq.h"
#include "protocol/createdirresp.h"
#include "protocol/createdirsreq.h"
#include "protocol/createdirsresp.h"
#include "protocol/createexternaldirsreq.h"
#include "protocol/createexternaldirsresp.h"
#include "protocol/createpubdirreq.h"
#include "protocol/createpubdirresp.h"
#include "protocol/createpubdirsreq.h"
#include "sdk/resp_info.h"
#include "sdk/tidewell_network_sdk.h"

namespace {

const char* const kDirectPath = "/device/directTransfer.json";
const int kDirectTimeout = 15;
const char* const kFolderLog = "--------Create folder faile:";

// Code handed to the retry rule for a refused command: the device's error
// code when it gave one.
int answerCode(const sdk::cores::model::resp_info& resp)
{
    return resp.err_code != 0 ? resp.err_code : resp.code;
}

// A name the device proposes must stay one plain folder name.
bool isPlainName(const QString& name)
{
    return !name.isEmpty() && !name.contains('/') && !name.contains('\\') && name != "."
           && name != "..";
}

using Net = sdk::plugins::tidewell_network_sdk;

// Sends one folder command on the direct path; false when the call did not
// complete. After a completed call, logs logLine with the library's error
// record, decodes the answer and sets code for the retry rule.
bool sendFolderCommand(Net* net, const APIReq& req, APIBase& answer, int& code, const char* logLine)
{
    sdk::cores::model::resp_info resp;
    if (!net->api_req(req.to_string(), req.command(), kDirectPath, kDirectTimeout, &resp))
        return false;
    qDebug() << logLine << resp.code << QString::fromStdString(resp.message);
    answer.from(resp.body);
    code = answerCode(resp);
    return true;
}

// The folder chain names below base in external storage; path is the
// deepest folder made.
bool createExternalDirs(Net* net, const QString& base, const QStringList& names, QString& path,
                        int& code)
{
    CreateExternalDirsReq req(base, names);
    qDebug() << "req Data:" << QString::fromStdString(req.to_string()) << "-----------------------";
    CreateExternalDirsResp answer;
    if (!sendFolderCommand(net, req, answer, code, "->outside Create folder faile:")
        || answer.result != 1)
        return false;
    path = answer.path;
    return true;
}

} // namespace

// ---- remote folders ----

bool LVUploadManager::makeUploadedFolder(const UploadFileInfo& folder, int& dirId,
                                         QString& path, int& code)
{
    // Only this manager stores where a folder was made: once known, its
    // files need not read the row again.
    const auto known = m_folderTargets.constFind(folder.fId);
    if (known != m_folderTargets.constEnd()) {
        dirId = known->first;
        path = known->second;
        return true;
    }
    UploadFileInfo row;
    if (!m_db->getUploadFileWidthFId(folder.fId, row))
        row = folder;
    if (row.pDirId > 0 || !row.pExternalPath.isEmpty() || m_foldersMade.contains(folder.fId)) {
        dirId = row.pDirId;
        path = row.pExternalPath;
        m_folderTargets.insert(folder.fId, qMakePair(dirId, path));
        return true;
    }
    code = -1;
    bool ok = false;
    QMutexLocker fl(&m_folderLock);
    if (row.isExternal) {
        // Files of an external folder make the chain from the folder's own
        // name; with no file, the folder alone.
        ok = m_owner && m_owner->device_online(NetworkShare(), [&](Net* net, bool) {
            return createExternalDirs(net, row.externalPath, QStringList{row.fileName}, path, code);
        });
        if (ok)
            m_db->updateUploadFilePDirOrPPath(row.fId, 0, path);
    } else {
        ok = m_owner && m_owner->device_online(NetworkShare(), [&](Net* net, bool) {
            return createDirOnDevice(net, row, code, dirId);
        });
        if (ok)
            m_db->updateUploadFilePDirOrPPath(row.fId, dirId, QString());
    }
    if (ok) {
        m_foldersMade.insert(folder.fId);
        // As the row now holds it.
        m_folderTargets.insert(folder.fId, row.isExternal ? qMakePair(0, path)
                                                          : qMakePair(dirId, QString()));
    }
    return ok;
}


bool LVUploadManager::relativeFolderNames(const UploadFileInfo& record, const QString& base,
                                          QStringList& names)
{
    const QFileInfo fi(record.filePath);
    const QString local = QDir::cleanPath(record.isFolder ? fi.absoluteFilePath() : fi.absolutePath());
    const QString root = QDir::cleanPath(QFileInfo(base).absoluteFilePath());
    QString rel;
    if (local == root)
        rel.clear();
    else if (root == "/" && local.startsWith('/'))
        rel = local;
    else if (local.startsWith(root + '/'))
        rel = local.mid(root.length());
    else
        return false;
    names = rel.split('/', Qt::SkipEmptyParts);
    return true;
}

bool LVUploadManager::createRemoteFolder(UploadFileInfo record, int& dirId, QString& path, int& code)
{
    if (!m_owner)
        return false;
    QMutexLocker fl(&m_folderLock);
    if (record.isExternal) {
        code = -1;
        const bool made = m_owner->device_online(NetworkShare(), [&](Net* net, bool) {
            return createUpFolder(net, record, path, code);
        });
        if (made && record.isSubItem)
            rememberExternalFolder(record, path);
        return made;
    }
    QStringList names;
    if (!relativeFolderNames(record, record.pFilePath, names)) {
        qWarning() << "LVUploadManager::createRemoteFolder -" << record.filePath
                   << "does not lie in" << record.pFilePath;
        code = -1;
        return false;
    }
    qDebug() << "relative:" << names.join('/') << names << record.filePath << record.pFilePath
             << "-----------------------";
    if (names.isEmpty()) {
        code = -1;
        return true;
    }
    code = -1;
    return m_owner->device_online(NetworkShare(), [&](Net* net, bool) {
        return createDirsOnDevice(net, record, names, dirId, code);
    });
}

// A file's chain on external storage begins with the uploaded folder itself:
// keep the folder's path on its entry, so that a later run (the set of made
// folders lives in memory only) does not ask the device to make it again.
void LVUploadManager::rememberExternalFolder(const UploadFileInfo& record, const QString& deepest)
{
    QStringList below;
    if (!relativeFolderNames(record, record.pFilePath, below))
        return;
    QString folderPath = deepest;
    while (folderPath.length() > 1 && folderPath.endsWith('/'))
        folderPath.chop(1);
    for (int i = below.size() - 1; i >= 0; --i) {
        const int cut = folderPath.lastIndexOf('/');
        if (cut <= 0 || folderPath.mid(cut + 1) != below.at(i)) {
            qWarning() << "LVUploadManager: made folder" << deepest << "does not end in"
                       << below.join('/');
            return;
        }
        folderPath.truncate(cut);
    }
    if (folderPath.isEmpty())
        return;
    const int folderId = record.pId;
    // The store belongs to the manager's thread.
    QMetaObject::invokeMethod(this, [this, folderId, folderPath] {
        UploadFileInfo row;
        if (!m_db || !m_db->getUploadFileWidthFId(folderId, row))
            return;
        if (row.pDirId <= 0 && row.pExternalPath.isEmpty())
            m_db->updateUploadFilePDirOrPPath(folderId, 0, folderPath);
        m_foldersMade.insert(folderId);
    }, Qt::QueuedConnection);
}

bool LVUploadManager::createDirOnDevice(sdk::plugins::tidewell_network_sdk* net,
                                        UploadFileInfo folder, int& code, int& dirId)
{
    QString name = folder.fileName;
    for (int round = 0; round < kMaxNameRounds; ++round) {
        qint64 newId = 0;
        QString proposed;
        int result = 0;
        if (folder.uploadType != 1) {
            CreateDirReq req(folder.diskSerial, folder.dirId, name, folder.isSafeBox);
            req.backNewName = false;
            CreateDirResp answer;
            if (!sendFolderCommand(net, req, answer, code, kFolderLog))
                return false;
            result = answer.result;
            newId = answer.dirId;
            proposed = answer.backNewName;
        } else {
            CreatePubDirReq req(folder.groupId, folder.dirId, name, folder.diskSerial, true);
            CreatePubDirResp answer;
            if (!sendFolderCommand(net, req, answer, code, kFolderLog))
                return false;
            result = answer.result;
            newId = answer.dirId;
            proposed = answer.backNewName;
        }
        if (result == 1) {
            dirId = int(newId);
            return true;
        }
        if (proposed.isEmpty() || proposed == name)
            return false;
        if (!isPlainName(proposed)) {
            qWarning() << "LVUploadManager::createDirOnDevice - refusing proposed name" << proposed;
            return false;
        }
        name = proposed;
    }
    qWarning() << "LVUploadManager::createDirOnDevice - no free name for" << folder.fileName
               << "after" << kMaxNameRounds << "rounds";
    return false;
}

bool LVUploadManager::createDirsOnDevice(sdk::plugins::tidewell_network_sdk* net,
                                         UploadFileInfo record, QStringList folderNames,
                                         int& dirId, int& code)
{
    CreateDirsResp answer;   // the public space answers alike
    bool sent = false;
    if (record.uploadType == 1) {
        CreatePubDirsReq req(record.groupId, dirId, record.diskSerial, folderNames);
        sent = sendFolderCommand(net, req, answer, code, kFolderLog);
    } else {
        CreateDirsReq req(record.diskSerial, dirId, record.isSafeBox, folderNames);
        sent = sendFolderCommand(net, req, answer, code, kFolderLog);
    }
    if (!sent || answer.result != 1)
        return false;
    dirId = int(answer.dirId);
    return true;
}

bool LVUploadManager::createUpFolder(sdk::plugins::tidewell_network_sdk* net,
                                     UploadFileInfo record, QString& path, int& code)
{
    qDebug() << "---------LVUploadManager::createUpFolder: " << record.filePath;
    const QFileInfo local(record.filePath);
    qDebug() << "tempPath:" << (record.isFolder ? local.absoluteFilePath() : local.absolutePath())
             << "-------------";
    const QString root = QDir::cleanPath(QFileInfo(record.pFilePath).absoluteFilePath());
    const QString parent = QFileInfo(root).absolutePath();
    qDebug() << "parentPath:" << parent << "-------------";
    QStringList names;
    if (!relativeFolderNames(record, parent, names) || names.isEmpty()) {
        qWarning() << "LVUploadManager::createUpFolder -" << record.filePath
                   << "does not lie in" << root;
        code = -1;
        return false;
    }
    qDebug() << "folder path:" << names.join('/') << names << record.filePath << parent
             << "-----------------------";
    return createExternalDirs(net, record.externalPath, names, path, code);
}
