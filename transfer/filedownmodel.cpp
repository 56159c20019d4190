#include "transfer/filedownmodel.h"

#include <QDebug>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

#include "core/common.h"
#include "core/deviceinfo.h"
#include "core/tidewell.h"
#include "core/twfileinfo.h"
#include "core/utils.h"
#include "transfer/singlefiledownmanager.h"

FileDownModel::FileDownModel(QObject* parent) : QObject(parent)
{
}

void FileDownModel::setDown(QObject* down)
{
    if (auto* old = qobject_cast<SingleFileDownManager*>(m_down.data()))
        old->disconnect(this);
    m_down = down;
    m_token.clear();
    if (auto* m = qobject_cast<SingleFileDownManager*>(down)) {
        connect(m, &SingleFileDownManager::rDownProggress, this, &FileDownModel::onDownProggress);
        connect(m, &SingleFileDownManager::rDownFinish, this, &FileDownModel::onDownFinish);
        connect(m, &SingleFileDownManager::rDownPause, this, &FileDownModel::onDownPause);
        connect(m, &SingleFileDownManager::rDownError, this, &FileDownModel::onDownError);
    } else if (down) {
        qWarning() << "FileDownModel::setDown - not a preview downloader:" << down;
    }
    emit downChanged();
}

void FileDownModel::setTw(QObject* tw)
{
    m_tw = tw;
    emit twChanged();
}

bool FileDownModel::isDocument(const QString& name)
{
    const QString suffix = QFileInfo(name).suffix().toLower();
    switch (getMediaType(suffix)) {
    case Common::MT_Word:
    case Common::MT_Excel:
    case Common::MT_PPT:
    case Common::MT_Pdf:
    case Common::MT_Txt:
        return true;
    default:
        break;
    }
    static const QStringList books = {"epub", "mobi", "azw", "azw3", "fb2", "djvu"};
    return books.contains(suffix);
}

void FileDownModel::start(QVariantMap value)
{
    auto* manager = qobject_cast<SingleFileDownManager*>(m_down.data());
    Tidewell* owner = dynamic_cast<Tidewell*>(m_tw.data());
    if (!manager || !owner) {
        qWarning() << "FileDownModel::start - no downloader or owner set.";
        emit sDownFail(tr("Download failed"));
        return;
    }
    const TwFileInfo item = TwFileInfo::fromVariantMap(value);
    if (!item.isFile || !isDocument(item.name)) {
        qWarning() << "FileDownModel::start - not a document:" << item.name;
        emit sDownFail(tr("Only documents are opened here"));
        return;
    }
    const DeviceInfo device = owner->currentDevice();

    DownFileInfo rec;
    rec.fileId = int(item.id);
    rec.isFolder = false;
    rec.fileName = item.name;
    rec.ower = item.ower;
    rec.filePath = item.url;
    rec.usbFilePath = item.filePath;
    rec.accessId = device.accessId;
    rec.deviceId = device.deviceId;
    rec.fileMd5 = item.fileMd5;
    rec.savePath = owner->downloadPath();
    rec.fileState = 1;
    rec.fileWriteLen = 0;
    rec.createTime = 0;
    rec.fileSize = item.fileLen;
    rec.progress = 0;
    rec.fileCatetory = item.fileCatetory;
    rec.groupId = item.groupId;
    rec.shareId = item.shareId;
    rec.extractedCode = item.extractedCode;
    // The token tells this model's reports from those of other models on
    // the same downloader.
    rec.taskId = createUuidString();
    m_token = rec.taskId;
    manager->startFile(rec);
}

void FileDownModel::pause()
{
    auto* manager = qobject_cast<SingleFileDownManager*>(m_down.data());
    if (manager && !m_token.isEmpty())
        manager->pauseFile(m_token);
}

bool FileDownModel::mine(const DownFileInfo& fileInfo) const
{
    return !m_token.isEmpty() && fileInfo.taskId == m_token;
}

void FileDownModel::onDownProggress(DownFileInfo fileInfo)
{
    if (mine(fileInfo))
        emit sDownProgress(double(fileInfo.progress));
}

void FileDownModel::onDownFinish(DownFileInfo fileInfo)
{
    if (!mine(fileInfo))
        return;
    m_token.clear();
    QDesktopServices::openUrl(QUrl::fromLocalFile(fileInfo.savePath));
    emit sDownFinish();
}

void FileDownModel::onDownPause(DownFileInfo fileInfo)
{
    if (!mine(fileInfo))
        return;
    m_token.clear();
    emit sDownPause();
}

void FileDownModel::onDownError(DownFileInfo fileInfo)
{
    if (!mine(fileInfo))
        return;
    m_token.clear();
    emit sDownFail(fileInfo.msg);
}
