#include "media/previewlistmodel.h"

#include <QDebug>

#include "browser/baselistmodel.h"
#include "core/common.h"
#include "core/utils.h"
#include "device/tidewelldevice.h"
#include "device/tidewellextlink.h"
#include "transfer/thumbi.h"
#include "transfer/tidewellthumb.h"

PreviewListModel::PreviewListModel(QObject* parent) : QAbstractListModel(parent), m_handle(twNewHandle())
{
    qDebug() << "PreviewListModel::PreviewListModel >>>>>>>>>>>>>>>>>>>>>>>> " << this;
}

PreviewListModel::~PreviewListModel()
{
    qDebug() << "PreviewListModel::~PreviewListModel >>>>>>>>>>>>>>>>>>>>>>>> " << this;
}

int PreviewListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_items.size();
}

QVariant PreviewListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_items.size())
        return QVariant();
    const TwFileInfo& f = m_items.at(index.row());
    switch (role) {
    case FileMediaTypeRole: return f.type;
    case FilePictureThumbUrlRole:
    case FilePictureMediumUrlRole: return smallUrl(f);
    default: return QVariant();
    }
}

QHash<int, QByteArray> PreviewListModel::roleNames() const
{
    return {
        {FileMediaTypeRole, "fileType"},
        {FilePictureThumbUrlRole, "filePictureThumbUrl"},
        {FilePictureMediumUrlRole, "filePictureMediumUrl"},
    };
}

QUrl PreviewListModel::smallUrl(const TwFileInfo& f) const
{
    int code = Common::MT_Unknown;
    if (f.isSamba) {
        code = Common::MT_Samba;
    } else if (!f.isFile) {
        code = Common::MT_Folder;
    } else {
        const int dot = f.name.lastIndexOf('.');
        if (dot >= 0)
            code = getMediaType(f.name.mid(dot + 1));
    }
    ThumbI* t = dynamic_cast<ThumbI*>(m_thumb.data());
    if (!f.isUsb && f.isFile && t && (code == Common::MT_Image || code == Common::MT_Video))
        return t->small(NetworkShare{0, QString(), QString()}, code, f.id, f.ower, f.fileMd5, f.fileCatetory);
    return getFileTypeIcon(code);
}

bool PreviewListModel::linkClient() const
{
    auto* list = qobject_cast<BaseListModel*>(m_tw.data());
    return list && list->isExtlinkList() && !list->deviceMode();
}

void PreviewListModel::toast(int code, const QString& message, int level)
{
    emit notifyStatus(code, message, BaseModel::ToastLevel(level));
}

void PreviewListModel::setTw(QObject* model)
{
    beginResetModel();
    m_tw = model;
    auto* list = qobject_cast<BaseListModel*>(model);
    m_thumb = list ? list->thumb() : nullptr;
    m_facade = list ? list->tw() : nullptr;
    // A second set replaces the earlier connections rather than adding to
    // them, so an earlier device's service no longer reaches this model.
    disconnect(m_facadeConn);
    disconnect(m_thumbConn);
    if (linkClient()) {
        if (auto* link = qobject_cast<TidewellExtlink*>(m_facade.data()))
            m_facadeConn = connect(link, &TidewellExtlink::rAddDownFiles, this, &PreviewListModel::rAddDownFiles);
    } else if (auto* dev = qobject_cast<TidewellDevice*>(m_facade.data())) {
        m_facadeConn = connect(dev, &TidewellDevice::rAddDownFiles, this, &PreviewListModel::rAddDownFiles);
    }
    m_items.clear();
    if (list)
        list->itemsOfKind(m_items, Common::MT_Image);
    if (m_thumb)
        m_thumbConn = connect(m_thumb, SIGNAL(sFinished(ThumbInfo,int,QString)), this,
                              SLOT(rThumbFinished(ThumbInfo,int,QString)));
    endResetModel();
    emit needDownloadChanged();
    emit twChanged();
    emit thumbChanged();
    qDebug() << "PreviewListModel::setTw >>>>>>>>>>>>>>>>>>>>>>>>>>> " << this << ", " << model;
}

void PreviewListModel::setThumb(QObject* thumb)
{
    disconnect(m_thumbConn);
    m_thumb = thumb;
    if (m_thumb)
        m_thumbConn = connect(m_thumb, SIGNAL(sFinished(ThumbInfo,int,QString)), this,
                              SLOT(rThumbFinished(ThumbInfo,int,QString)));
    emit thumbChanged();
}

QVariantMap PreviewListModel::currentInfo() const
{
    if (m_currentSelected < 0 || m_currentSelected >= m_items.size())
        return QVariantMap();
    return m_items.at(int(m_currentSelected)).toVariantMap();
}

void PreviewListModel::setCurrentInfo(QVariantMap map)
{
    const TwFileInfo info = TwFileInfo::fromVariantMap(map);
    qDebug() << "PreviewListModel::setCurrentInfo - info " << info.id << ", " << info.fileMd5;
    for (int row = 0; row < m_items.size(); ++row) {
        if (m_items.at(row) == info) {
            qDebug() << "PreviewListModel::setCurrentInfo - info " << info.id << ", " << info.fileMd5
                     << ", row " << row;
            setCurrentSelected(row);
            return;
        }
    }
}

void PreviewListModel::setIsOriginal(bool on)
{
    m_isOriginal = on;
    emit isOriginalChanged();
}

QUrl PreviewListModel::pictureUrl(bool original)
{
    auto* t = qobject_cast<TidewellThumb*>(m_thumb.data());
    if (!t || m_currentSelected < 0 || m_currentSelected >= m_items.size())
        return QUrl();
    const TwFileInfo& item = m_items.at(int(m_currentSelected));
    const NetworkShare share{item.mode, item.shareId, item.extractedCode};
    const QUrl url = t->medium(share, Common::MT_Image, item, original);
    m_isOriginal = original;
    emit isOriginalChanged();
    return url;
}

void PreviewListModel::setCurrentSelected(qlonglong row)
{
    qDebug() << "PreviewListModel::setCurrentSelected - " << row;
    if (row < 0) {
        toast(1, tr("Is fisrt photo"), 0);
        return;
    }
    if (row >= m_items.size()) {
        toast(1, tr("Is last photo"), 0);
        return;
    }
    m_currentSelected = row;
    emit currentSelectedChanged();
    emit currentInfoChanged();
    emit restDefultImg();
    m_isOriginal = false;
    emit isOriginalChanged();
    const QUrl url = pictureUrl(false);
    if (!url.isEmpty())
        emit mediumChanged(url);
    else
        emit showLoading();
}

void PreviewListModel::quickOriginal()
{
    const QUrl url = pictureUrl(true);
    if (url.isEmpty()) {
        emit showLoading();
        return;
    }
    m_isOriginal = true;
    emit isOriginalChanged();
    emit mediumChanged(url);
}

void PreviewListModel::rThumbFinished(ThumbInfo info, int code, QString msg)
{
    const bool ok = code == 1 || code == 100310;
    if (info.sizeKind != 2 && info.sizeKind != 3) {
        if (!ok)
            return;
        for (int i = 0; i < m_items.size(); ++i) {
            if (m_items.at(i).id == info.fileId && m_items.at(i).fileMd5 == info.fileMd5) {
                emit dataChanged(index(i), index(i), {FilePictureThumbUrlRole});
                return;
            }
        }
        return;
    }
    if (m_currentSelected < 0 || m_currentSelected >= m_items.size()
        || m_items.at(int(m_currentSelected)).id != info.fileId)
        return;
    qDebug() << "PreviewListModel::rThumbFinished - row " << m_currentSelected << ", " << info.fileId << "_"
             << info.fileMd5 << msg;
    emit cancelLading();
    const bool original = info.sizeKind == 2;
    if (!ok) {
        if (original)
            toast(1, tr("Original load faile"), 2);
        return;
    }
    if (original) {
        const QUrl url = pictureUrl(true);
        m_isOriginal = true;
        emit isOriginalChanged();
        toast(1, tr("Original load success"), 1);
        emit mediumChanged(url);
    } else {
        emit mediumChanged(pictureUrl(false));
    }
}

void PreviewListModel::rAddDownFiles(TW_HANDLE, bool)
{
    qDebug() << "-----------PreviewListModel::rAddDownFiles";
}

void PreviewListModel::download(QString savePath)
{
    qDebug() << "PreviewListModel::download - save path " << savePath << ", current selected "
             << m_currentSelected;
    if (m_currentSelected < 0 || m_currentSelected >= m_items.size())
        return;
    const TwFileInfo item = m_items.at(int(m_currentSelected));
    if (linkClient()) {
        if (auto* link = qobject_cast<TidewellExtlink*>(m_facade.data()))
            link->addDownFiles(m_handle, NetworkShare{1, item.shareId, item.extractedCode}, savePath, {item}, 7);
        return;
    }
    if (auto* dev = qobject_cast<TidewellDevice*>(m_facade.data()))
        dev->addDownFilesPlain(m_handle, savePath, {item});
}

bool PreviewListModel::needDownload() const
{
    auto* list = qobject_cast<BaseListModel*>(m_tw.data());
    return !(list && list->isExtlinkList() && list->deviceMode());
}

void PreviewListModel::reset()
{
    if (auto* t = qobject_cast<TidewellThumb*>(m_thumb.data()))
        t->clearMedium();
    beginResetModel();
    m_currentSelected = -1;
    m_items.clear();
    endResetModel();
}
