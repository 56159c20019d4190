#include "browser/dirlistmodel.h"

#include <QDebug>

#include "device/tidewelldevice.h"
#include "core/utils.h"

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
        out << shownName(f.name);
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
    emit folderChanged();
    // A page still under way belongs to the listing left: it is dropped
    // when it comes (refreshData starts a new listing) and closes its own
    // overlay then.
    refreshData();
    emit loadingChanged();
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
    const TW_HANDLE page = beginPage();
    emit loadingChanged();
    const TwFolderInfo& f = m_path.last();
    if (!d->filelist(page, f.fid, f.serialNo, m_items.size(), m_pageSize, false, 2)) {
        pageNotSent(page);
        emit loadingChanged();
        notifyStatus(100101, tr("Network Error"), TL_Error);
    }
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
    if (!takePage(handle, "DirListModel::rFilelist -"))
        return;
    qDebug() << "DirListModel::rFilelist - result" << resp.result << resp.message << "count"
             << resp.fileList.size();
    if (resp.result != 1) {
        stopPaging("DirListModel::rFilelist -");
        emit loadingChanged();
        if (!m_items.isEmpty())
            notifyStatus(resp.result, resp.message, TL_Error);
        else
            defaultStateChange(DS_Error, resp.message);
        return;
    }
    const QList<TwFileInfo> fresh = unseen(m_items, resp.fileList);
    // Settled before the rows are shown. A short page ends the folder, and
    // so does a total reached.
    if (resp.fileList.size() < m_pageSize
        || (resp.totalNum > 0 && m_items.size() + fresh.size() >= resp.totalNum))
        m_hasMore = false;
    endIfRepeated(resp.fileList.size(), fresh.size(), "DirListModel::rFilelist -");
    appendItems(fresh);
    m_isLoading = false;
    emit loadingChanged();
    if (resp.totalNum > 0)
        setFileNum(resp.totalNum);
    else
        setFileNum(m_items.size());
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
