#include "browser/filelistmodel.h"

#include <algorithm>

#include <QDebug>

#include "core/common.h"
#include "core/twfolderinfo.h"
#include "core/utils.h"
#include "device/tidewelldevice.h"

FileListModel::FileListModel(QObject* parent) : BaseListModel(parent) {}

int FileListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_items.size();
}

QVariant FileListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_items.size())
        return QVariant();
    const TwFileInfo& f = m_items.at(index.row());
    switch (role) {
    case FileNameRole: return shownName(f.name);
    case FileSizeRole: return f.isFile ? formatFileSize(f.fileLen) : QStringLiteral("--");
    case FileTimeRole: return formatMSecs(f.lastModified, "yyyy-MM-dd HH:mm");
    case FileTypeRole: return f.type;
    case FileThumbUrlRole: return const_cast<FileListModel*>(this)->fileIconUrl(f);
    case FileIsLoveRole: return f.isCollect >= 1;
    case FileIsShareRole: return f.publicType != 1;
    case FileIsLabelRole: return !f.labelId.isEmpty() && f.labelId != "0";
    case SelectedRole: return m_selectMap.contains(index.row());
    case EditTypeRole: return index.row() == m_editIndex ? 1 : 0;
    default: return QVariant();
    }
}

QHash<int, QByteArray> FileListModel::roleNames() const
{
    return {
        {FileNameRole, "$FileName"},
        {FileSizeRole, "$FileSize"},
        {FileTimeRole, "$FileTime"},
        {FileTypeRole, "$FileType"},
        {FileThumbUrlRole, "$FileThumbUrl"},
        {FileIsLoveRole, "$FileIsLove"},
        {FileIsShareRole, "$FileIsShare"},
        {FileIsLabelRole, "$FileIsLabel"},
        {SelectedRole, "$Selected"},
        {EditTypeRole, "$EditType"},
    };
}

void FileListModel::appendItems(const QList<TwFileInfo>& items)
{
    if (items.isEmpty())
        return;
    beginInsertRows(QModelIndex(), m_items.size(), m_items.size() + items.size() - 1);
    m_items.append(items);
    endInsertRows();
}

void FileListModel::refreshData()
{
    qDebug() << "FileListModel::refreshData - call.";
    // Also while a page is on its way: it belongs to the old listing and is
    // dropped when it comes.
    emit myChanged();
    resetData();
}

void FileListModel::resetData()
{
    beginResetModel();
    resetPaging();
    m_items.clear();
    m_editIndex = -1;
    endResetModel();
    emit selectNumChanged();
    // The count goes with the rows: none is shown over a failed reload.
    emit fileNumChanged();
}

void FileListModel::selectionChanged()
{
    if (!m_items.isEmpty())
        emit dataChanged(index(0), index(m_items.size() - 1), {SelectedRole});
    emit selectNumChanged();
    emit isAllChanged();
    emit isCheckChanged();
}

void FileListModel::allSelect()
{
    if (isAll()) {
        m_selectMap.clear();
    } else {
        m_selectMap.clear();
        for (int i = 0; i < m_items.size(); ++i)
            m_selectMap.insert(i, m_items.at(i).id);
    }
    selectionChanged();
}

void FileListModel::singleSelect(int itemIndex, bool isFocus)
{
    if (itemIndex < 0 || itemIndex >= m_items.size()) {
        m_selectMap.clear();
    } else if (!(isFocus && m_selectMap.contains(itemIndex))) {
        // A right click on a selected row keeps the selection for its menu.
        m_selectMap.clear();
        m_selectMap.insert(itemIndex, m_items.at(itemIndex).id);
    }
    setCurrentSelected(itemIndex < m_items.size() ? itemIndex : -1);
    selectionChanged();
}

void FileListModel::multiSelect(int itemIndex)
{
    if (itemIndex < 0 || itemIndex >= m_items.size())
        return;
    if (m_selectMap.contains(itemIndex)) {
        m_selectMap.remove(itemIndex);
    } else {
        m_selectMap.insert(itemIndex, m_items.at(itemIndex).id);
        setCurrentSelected(itemIndex);
    }
    selectionChanged();
}

QVariantMap FileListModel::get(int itemIndex)
{
    if (itemIndex < 0 || itemIndex >= m_items.size())
        return QVariantMap();
    return m_items.at(itemIndex).toVariantMap();
}

void FileListModel::fileOpen()
{
    if (m_currentSelected < 0 || m_currentSelected >= m_items.size())
        return;
    emit openFile(m_items.at(m_currentSelected).toVariantMap());
}

void FileListModel::fileDownload(QString savePath)
{
    TidewellDevice* d = device();
    const QList<TwFileInfo> items = selectedItems();
    if (!d || items.isEmpty())
        return;
    d->addDownFiles(m_handle, savePath, items, 0);
}

void FileListModel::rAddDownFiles(TW_HANDLE handle, bool rs)
{
    if (!isMine(handle, "FileListModel::rAddDownFiles -"))
        return;
    const bool again = m_downAgain;
    m_downAgain = false;
    if (rs && again)
        notifyStatus(-1, tr("Already in the download list"), 0);
    else if (rs)
        notifyStatus(-1, tr("Already added to download"), 0);
    else
        notifyStatus(303, tr("Failed to add file to download"), 2);
    updateViewState(16);
}

void FileListModel::rAddDownAgain(TW_HANDLE handle)
{
    if (handle == m_handle)
        m_downAgain = true;
}

void FileListModel::fileRename(QString newName)
{
    TidewellDevice* d = device();
    if (!d || m_currentSelected < 0 || m_currentSelected >= m_items.size() || newName.isEmpty())
        return;
    const TwFileInfo& f = m_items.at(m_currentSelected);
    if (f.isFile)
        d->fileRename(m_handle, f.id, newName, false);
    else
        d->dirRename(m_handle, f.id, newName, false);
}

void FileListModel::fileRename(int itemIndex, QString newName)
{
    setCurrentSelected(itemIndex);
    fileRename(newName);
}

void FileListModel::rFileRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool,
                                ModifyFileResp resp)
{
    if (!isMine(handle, "FileListModel::rFileRename -") || !succeeded(resp.result, resp.message))
        return;
    renamed(fileId, newName, resp.filePath, true);
}

void FileListModel::rDirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool,
                               ModifyDirResp resp)
{
    if (!isMine(handle, "FileListModel::rDirRename -") || !succeeded(resp.result, resp.message))
        return;
    renamed(fileId, newName, resp.filePath, false);
}

void FileListModel::renamed(qint64 fileId, const QString& newName, const QString& filePath,
                            bool isFile)
{
    const int row = rowOfId(fileId);
    if (row >= 0) {
        m_items[row].name = newName;
        if (!filePath.isEmpty())
            m_items[row].filePath = filePath;
        // A file's new suffix may make it another kind.
        if (isFile)
            m_items[row].fileType();
        emit dataChanged(index(row), index(row));
    }
    updateViewState(2);
}

void FileListModel::fileDelete()
{
    if (TidewellDevice* d = device(); d && !m_selectMap.isEmpty())
        d->fileDelete(m_handle, m_selectMap, false);
}

void FileListModel::rFileDelete(TW_HANDLE handle, QMap<int, qint64> selection,
                                DeleteDirOrFileResp resp)
{
    if (!isMine(handle, "FileListModel::rFileDelete -") || !succeeded(resp.result, resp.message))
        return;
    removeItems(selection);
    updateViewState(4);
}

void FileListModel::fileMove(QVariantMap folder)
{
    if (TidewellDevice* d = device(); d && !m_selectMap.isEmpty())
        d->fileMove(m_handle, TwFolderInfo::fromVariantMap(folder), m_selectMap);
}

void FileListModel::fileMove(qlonglong targetId, QString diskSerial)
{
    fileMove(deviceFolder(targetId, diskSerial));
}

void FileListModel::rFileMove(TW_HANDLE handle, MoveDirOrFileResp resp, QMap<int, qint64> selection)
{
    if (!isMine(handle, "FileListModel::rFileMove -") || !succeeded(resp.result, resp.message))
        return;
    removeItems(selection);
    updateViewState(3);
}

QVariantList FileListModel::getSelectFolderIds()
{
    QVariantList out;
    for (auto it = m_selectMap.cbegin(); it != m_selectMap.cend(); ++it) {
        if (it.key() < m_items.size() && !m_items.at(it.key()).isFile)
            out << QString::number(it.value());
    }
    return out;
}

void FileListModel::fileCopyTo2(qlonglong targetId, QString diskSerial)
{
    fileCopyTo(deviceFolder(targetId, diskSerial));
}

QVariantMap FileListModel::deviceFolder(qlonglong targetId, const QString& diskSerial)
{
    TwFolderInfo target;
    target.fid = int(targetId);
    target.serialNo = diskSerial;
    target.isDevice = true;
    return target.toVariantMap();
}

void FileListModel::fileCopyTo(QVariantMap folder)
{
    TidewellDevice* d = device();
    if (!d || m_selectMap.isEmpty())
        return;
    const TwFolderInfo target = TwFolderInfo::fromVariantMap(folder);
    if (target.diskType == Common::ET_Usb) {
        d->diskCopyToUsb(m_handle, target.filePath, m_selectMap);
    } else if (target.diskType == Common::ET_Samba) {
        d->diskCopyToSamb(m_handle, target.filePath, target.serialNo, m_selectMap);
    } else {
        QStringList names;
        for (const TwFileInfo& f : selectedItems())
            names << f.name;
        d->fileCopy(m_handle, 1, target, target.groupId, m_selectMap, names);
    }
}

void FileListModel::rDiskCopyToUsb(TW_HANDLE handle, QString, QMap<int, qint64>,
                                   CopyToPeripheralResp resp)
{
    if (!isMine(handle, "FileListModel::rDiskCopyToUsb -"))
        return;
    notifyStatus(resp.result, resp.message, resp.result == 1 ? 1 : 2);
    updateViewState(17);
}

void FileListModel::rDiskCopyToSamb(TW_HANDLE handle, QString, QString, QMap<int, qint64>,
                                    CopyToSambResp resp)
{
    if (!isMine(handle, "FileListModel::rDiskCopyToSamb -"))
        return;
    notifyStatus(resp.result, resp.message, resp.result == 1 ? 1 : 2);
    updateViewState(16);
}

void FileListModel::rFileCopy(TW_HANDLE handle, APIBase resp)
{
    if (!isMine(handle, "FileListModel::rFileCopy -"))
        return;
    notifyStatus(resp.result, resp.message, resp.result == 1 ? 1 : 2);
    updateViewState(16);
}

void FileListModel::fileSharing(QJSValue data)
{
    TidewellDevice* d = device();
    if (!d || m_selectMap.isEmpty())
        return;
    m_shareSel = m_selectMap;
    if (data.property("isPublic").toBool()) {
        m_sharePublicType = 0;
        d->shareFileToAll(m_handle, selectedIds());
    } else {
        m_sharePublicType = 2;
        const QStringList accessIds = data.property("accessIds").toVariant().toStringList();
        d->shareFileToUsers(m_handle, selectedIds(), accessIds);
    }
}

void FileListModel::fileCancelShare()
{
    TidewellDevice* d = device();
    if (!d || m_selectMap.isEmpty())
        return;
    m_shareSel = m_selectMap;
    m_sharePublicType = 1;
    d->shareFileToCancel(m_handle, selectedIds());
}

void FileListModel::rShareFileToAll(TW_HANDLE handle, int code, QString message)
{
    if (!isMine(handle, "FileListModel::rShareFileToAll -") || !succeeded(code, message))
        return;
    const int type = m_sharePublicType;
    forSelected(m_shareSel, FileIsShareRole, [type](TwFileInfo& f) { f.publicType = type; });
    updateViewState(21);
}

void FileListModel::rShareFileToUsers(TW_HANDLE handle, int code, QString message)
{
    rShareFileToAll(handle, code, message);
}

void FileListModel::rShareFileToCancel(TW_HANDLE handle, int code, QString message)
{
    rShareFileToAll(handle, code, message);
}

void FileListModel::fileCollect()
{
    if (TidewellDevice* d = device(); d && !m_selectMap.isEmpty())
        d->fileCollect(m_handle, m_selectMap, true);
}

void FileListModel::fileCancelCollect()
{
    if (TidewellDevice* d = device(); d && !m_selectMap.isEmpty())
        d->fileCollect(m_handle, m_selectMap, false);
}

void FileListModel::rFileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove,
                                 MyLoveResp resp)
{
    if (!isMine(handle, "FileListModel::rFileCollect -") || !succeeded(resp.result, resp.message))
        return;
    forSelected(selection, FileIsLoveRole, [isLove](TwFileInfo& f) { f.isCollect = isLove ? 1 : 0; });
    updateViewState(isLove ? 5 : 6);
}

void FileListModel::fileAddToLabel(QList<int> labelIds)
{
    if (TidewellDevice* d = device(); d && !m_selectMap.isEmpty())
        d->labelRelate(m_handle, m_selectMap, labelIds);
}

void FileListModel::rLabelRelate(TW_HANDLE handle, QMap<int, qint64> selection,
                                 QList<int> labelIds, RelateLabelResp resp)
{
    if (!isMine(handle, "FileListModel::rLabelRelate -") || !succeeded(resp.result, resp.message))
        return;
    const QString label = labelIds.isEmpty() ? QString() : QString::number(labelIds.first());
    forSelected(selection, FileIsLabelRole, [label](TwFileInfo& f) { f.labelId = label; });
    updateViewState(14);
}

void FileListModel::fileMoveToSafeBox()
{
    if (TidewellDevice* d = device(); d && !m_selectMap.isEmpty())
        d->fileMoveToSafeBox(m_handle, m_selectMap);
}

void FileListModel::rFileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection,
                                       AddToSafetyBoxResp resp)
{
    if (!isMine(handle, "FileListModel::rFileMoveToSafeBox -")
        || !succeeded(resp.result, resp.message))
        return;
    removeItems(selection);
    updateViewState(7);
}

void FileListModel::fileCreateExtlink(QString title, QString extractedCode)
{
    TidewellDevice* d = device();
    if (!d || m_selectMap.isEmpty())
        return;
    m_linkCode = extractedCode;
    d->createExternalLink(m_handle, selectedIds(), title, extractedCode);
}

void FileListModel::rCreateExternalLink(TW_HANDLE handle, CreateExternalLinkResp resp)
{
    if (!isMine(handle, "FileListModel::rCreateExternalLink -")
        || !succeeded(resp.result, resp.message))
        return;
    emit extlinkCreated(resp.url, m_linkCode);
    updateViewState(21);
}

int FileListModel::itemsOfKind(QList<TwFileInfo>& out, int kind)
{
    for (const TwFileInfo& f : m_items) {
        if (f.type == kind)
            out.append(f);
    }
    return out.size();
}

QList<TwFileInfo> FileListModel::selectedItems()
{
    QList<TwFileInfo> out;
    for (auto it = m_selectMap.cbegin(); it != m_selectMap.cend(); ++it) {
        if (it.key() >= 0 && it.key() < m_items.size() && m_items.at(it.key()).id == it.value())
            out << m_items.at(it.key());
    }
    return out;
}

bool FileListModel::isAll()
{
    return !m_selectMap.isEmpty() && m_selectMap.size() == m_items.size();
}

int FileListModel::loadFileNum()
{
    return m_items.size();
}

bool FileListModel::selectIsFiles()
{
    return selectionIs([](const TwFileInfo& f) { return f.isFile; });
}

bool FileListModel::selectIsLoves()
{
    return selectionIs([](const TwFileInfo& f) { return f.isCollect >= 1; });
}

void FileListModel::updateViewState(int code)
{
    singleSelect(-1, false);
    if (code == 2)
        return;
    emit fileNumChanged();
    emit loadFileNumChanged();
    emit isAllChanged();
    emit isCheckChanged();
    if (!m_items.isEmpty())
        defaultStateChange(DS_None, QString());
    else
        defaultStateChange(DS_Empty, tr("No File"));
}

bool FileListModel::removeItems(QMap<int, qint64> items)
{
    bool any = false;
    // By id: rows may have moved since the request was made.
    for (qint64 id : items.values())
        any = removeItem(id) || any;
    if (any)
        listShifted();
    return any;
}

bool FileListModel::removeItem(qint64 fileId)
{
    const int row = rowOfId(fileId);
    if (row < 0)
        return false;
    beginRemoveRows(QModelIndex(), row, row);
    m_items.removeAt(row);
    endRemoveRows();
    // Rows behind it moved up: the selection by row no longer holds.
    m_selectMap.clear();
    if (m_fileNum > 0)
        --m_fileNum;
    if (m_loadFileNum > 0)
        --m_loadFileNum;
    return true;
}

void FileListModel::initConnect(bool isTw)
{
    if (isTw) {
        TidewellDevice* d = device();
        if (!d)
            return;
        connect(d, &TidewellDevice::rAddDownFiles, this, &FileListModel::rAddDownFiles, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rAddDownAgain, this, &FileListModel::rAddDownAgain, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rFileRename, this, &FileListModel::rFileRename, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rDirRename, this, &FileListModel::rDirRename, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rFileDelete, this, &FileListModel::rFileDelete, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rFileMove, this, &FileListModel::rFileMove, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rFileMoveToSafeBox, this, &FileListModel::rFileMoveToSafeBox,
                Qt::UniqueConnection);
        connect(d, &TidewellDevice::rFileCollect, this, &FileListModel::rFileCollect, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rLabelRelate, this, &FileListModel::rLabelRelate, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rDiskCopyToUsb, this, &FileListModel::rDiskCopyToUsb, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rDiskCopyToSamb, this, &FileListModel::rDiskCopyToSamb, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rFileCopy, this, &FileListModel::rFileCopy, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rShareFileToAll, this, &FileListModel::rShareFileToAll, Qt::UniqueConnection);
        connect(d, &TidewellDevice::rShareFileToUsers, this, &FileListModel::rShareFileToUsers,
                Qt::UniqueConnection);
        connect(d, &TidewellDevice::rShareFileToCancel, this, &FileListModel::rShareFileToCancel,
                Qt::UniqueConnection);
        connect(d, &TidewellDevice::rCreateExternalLink, this, &FileListModel::rCreateExternalLink,
                Qt::UniqueConnection);
        return;
    }
    if (!m_thumb)
        return;
    // By name: any service with this signal will do.
    connect(m_thumb, SIGNAL(sFinished(ThumbInfo,int,QString)), this,
            SLOT(rThumbFinished(ThumbInfo,int,QString)), Qt::UniqueConnection);
}

void FileListModel::rThumbFinished(ThumbInfo info, int code, QString msg)
{
    Q_UNUSED(msg)
    if (code != 100310 && code != 1)
        return;
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).id == info.fileId)
            emit dataChanged(index(i), index(i), {FileThumbUrlRole});
    }
}

int FileListModel::rowOfId(qint64 fileId) const
{
    for (int i = 0; i < m_items.size(); ++i) {
        if (m_items.at(i).id == fileId)
            return i;
    }
    return -1;
}

template <class Fn>
void FileListModel::forSelected(const QMap<int, qint64>& selection, int role, Fn fn)
{
    for (qint64 id : selection.values()) {
        const int row = rowOfId(id);
        if (row < 0)
            continue;
        fn(m_items[row]);
        emit dataChanged(index(row), index(row), {role});
    }
}

template <class Pred>
bool FileListModel::selectionIs(Pred pred)
{
    const QList<TwFileInfo> sel = selectedItems();
    return !sel.isEmpty() && std::all_of(sel.cbegin(), sel.cend(), pred);
}
