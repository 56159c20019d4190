#include "sharing/shareuserfilemodel.h"

#include "device/tidewelldevice.h"

ShareUserFileModel::ShareUserFileModel(QObject* parent) : ShareBaseModel(parent) {}

void ShareUserFileModel::setAccessId(const QString& accessId)
{
    const bool other = m_accessIdSet && accessId != m_accessId;
    m_accessId = accessId;
    m_accessIdSet = true;
    emit isSelfChanged();
    // Another user's shares are another list.
    if (other)
        restart();
}

bool ShareUserFileModel::isSelf() const
{
    return m_accessIdSet && m_accessId == myAccessId();
}

bool ShareUserFileModel::canFetchMore(const QModelIndex& parent) const
{
    return m_accessIdSet && ShareBaseModel::canFetchMore(parent);
}

bool ShareUserFileModel::canRequest() const
{
    return m_accessIdSet;
}

bool ShareUserFileModel::requestPage(TW_HANDLE page)
{
    TidewellDevice* d = device();
    return m_accessIdSet && d && d->getUserShareFile(page, m_page, 5, m_isSort, m_accessId);
}

void ShareUserFileModel::onGetUserShareFile(TW_HANDLE handle, GetUserShareFileResp dataRsp)
{
    pageArrived(handle, dataRsp, "-----ShareUserFileModel::onGetUserShareFile:");
}

void ShareUserFileModel::initConnect(bool isTw)
{
    ShareBaseModel::initConnect(isTw);
    if (TidewellDevice* d = isTw ? device() : nullptr)
        track(connect(d, &TidewellDevice::rGetUserShareFile, this, &ShareUserFileModel::onGetUserShareFile));
}
