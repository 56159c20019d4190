#include "sharing/shareuserdirmodel.h"

#include "device/tidewelldevice.h"

ShareUserDirModel::ShareUserDirModel(QObject* parent) : ShareBaseModel(parent) {}

void ShareUserDirModel::setMy(const QVariantMap& my)
{
    m_my = TwFileInfo::fromVariantMap(my);
    emit isSelfChanged();
}

bool ShareUserDirModel::isSelf() const
{
    return !m_my.ower.isEmpty() && m_my.ower == myAccessId();
}

bool ShareUserDirModel::requestPage(TW_HANDLE page)
{
    TidewellDevice* d = device();
    return d && d->getUserShareFilesForDir(page, m_page, 60, m_my.id);
}

void ShareUserDirModel::onGetUserShareFilesForDir(TW_HANDLE handle, GetUserShareFilesForDirResp dataRsp)
{
    pageArrived(handle, dataRsp, "-----ShareUserDirModel::onGetUserShareFilesForDir:");
}

void ShareUserDirModel::initConnect(bool isTw)
{
    ShareBaseModel::initConnect(isTw);
    if (TidewellDevice* d = isTw ? device() : nullptr)
        track(connect(d, &TidewellDevice::rGetUserShareFilesForDir, this,
                      &ShareUserDirModel::onGetUserShareFilesForDir));
}
