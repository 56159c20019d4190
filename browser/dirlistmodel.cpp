#include "browser/dirlistmodel.h"

#include <QDebug>

#include "device/tidewelldevice.h"

DirListModel::DirListModel(QObject* parent) : FileListModel(parent)
{
    TwFolderInfo root;
    root.isDevice = true;
    root.name = tr("My files");
    m_path.append(root);
}

QStringList DirListModel::pathNames() const
{
    QStringList out;
    for (const TwFolderInfo& f : m_path)
        out << f.name;
    return out;
}

bool DirListModel::openFolder(int row)
{
    if (row < 0 || row >= m_items.size() || m_items.at(row).isFile)
        return false;
    const TwFileInfo& item = m_items.at(row);
    TwFolderInfo f;
    f.fid = int(item.id);
    f.name = item.name;
    f.isDevice = true;
    f.lastModified = item.lastModified;
    m_path.append(f);
    reload();
    return true;
}

void DirListModel::goTo(int depth)
{
    if (depth < 0 || depth >= m_path.size() - 1)
        return;
    m_path.erase(m_path.begin() + depth + 1, m_path.end());
    reload();
}

void DirListModel::back()
{
    goTo(m_path.size() - 2);
}

void DirListModel::reload()
{
    ++m_generation;
    emit folderChanged();
    // A page still under way belongs to the folder left: forget it.
    if (m_isLoading) {
        m_isLoading = false;
        cancelLading();
        emit loadingChanged();
    }
    refreshData();
    loadData();
}

void DirListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    loadData();
}

void DirListModel::loadData()
{
    if (m_isLoading || !m_hasMore)
        return;
    TidewellDevice* d = device();
    if (!d)
        return;
    m_isLoading = true;
    m_askedGeneration = m_generation;
    emit loadingChanged();
    const TwFolderInfo& f = m_path.last();
    if (!d->filelist(m_handle, f.fid, f.serialNo, m_items.size(), m_pageSize, false, 2)) {
        m_isLoading = false;
        emit loadingChanged();
        notifyStatus(100101, tr("Network Error"), TL_Error);
        return;
    }
    showLoading();
}

void DirListModel::initConnect(bool isTw)
{
    if (isTw && !device())
        return;
    if (!isTw && !m_thumb)
        return;
    FileListModel::initConnect(isTw);
    if (isTw) {
        connect(device(), &TidewellDevice::rFilelist, this, &DirListModel::rFilelist,
                Qt::UniqueConnection);
        connect(device(), &TidewellDevice::rCreateDir, this, &DirListModel::rCreateDir,
                Qt::UniqueConnection);
    }
}

void DirListModel::rFilelist(TW_HANDLE handle, DirPathResp resp)
{
    if (!isMine(handle, "DirListModel::rFilelist -"))
        return;
    if (!m_isLoading || m_askedGeneration != m_generation || resp.offset != m_items.size()) {
        qDebug() << "DirListModel::rFilelist - a page of an earlier listing, dropped.";
        return;
    }
    cancelLading();
    m_isLoading = false;
    emit loadingChanged();
    qDebug() << "DirListModel::rFilelist - result" << resp.result << resp.message << "count"
             << resp.fileList.size();
    if (resp.result != 1) {
        // Paging stops until the user refreshes, so a failing device is not
        // asked again and again by a view that keeps scrolling.
        m_hasMore = false;
        if (!m_items.isEmpty())
            notifyStatus(resp.result, resp.message, TL_Error);
        else
            defaultStateChange(DS_Error, resp.message);
        return;
    }
    QList<TwFileInfo> fresh;
    for (const TwFileInfo& item : resp.fileList) {
        bool known = false;
        for (const TwFileInfo& have : m_items)
            if (have.id == item.id) {
                known = true;
                break;
            }
        if (!known)
            fresh.append(item);
    }
    appendItems(fresh);
    if (resp.totalNum > 0)
        setFileNum(resp.totalNum);
    else
        setFileNum(m_items.size());
    // A short page, or one that adds nothing new, ends the folder.
    if (resp.fileList.size() < m_pageSize || fresh.isEmpty()
        || (resp.totalNum > 0 && m_items.size() >= resp.totalNum))
        m_hasMore = false;
    updateViewState(0);
}

void DirListModel::newFolder(QString name)
{
    name = name.trimmed();
    if (name.isEmpty()) {
        notifyStatus(-1, tr("Enter a folder name"), TL_Error);
        return;
    }
    TidewellDevice* d = device();
    if (!d) {
        notifyStatus(100101, tr("Device is not connected"), TL_Error);
        return;
    }
    const TwFolderInfo& f = m_path.last();
    d->createDir(m_handle, f.fid, f.serialNo, name);
}

void DirListModel::rCreateDir(TW_HANDLE handle, CreateDirResp resp, QString dirName)
{
    if (!isMine(handle, "DirListModel::rCreateDir -"))
        return;
    if (resp.result != 1) {
        notifyStatus(resp.result, resp.message, TL_Error);
        return;
    }
    notifyStatus(resp.result, tr("Folder %1 created").arg(resp.backNewName.isEmpty() ? dirName : resp.backNewName),
                 TL_Success);
    reload();
}
