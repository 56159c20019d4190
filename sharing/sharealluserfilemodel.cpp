#include "sharing/sharealluserfilemodel.h"

#include <QDebug>

#include "device/tidewelldevice.h"

ShareAllUserFileModel::ShareAllUserFileModel(QObject* parent) : ShareBaseModel(parent) {}

ShareAllUserFileModel::~ShareAllUserFileModel()
{
    qDebug() << "~~~~~~~~~~ShareAllUserFileModel";
}

bool ShareAllUserFileModel::requestPage(TW_HANDLE page)
{
    TidewellDevice* d = device();
    return d && d->getShareFile(page, m_page, 5, m_isSort);
}

void ShareAllUserFileModel::onGetShareFile(TW_HANDLE handle, GetShareFileResp dataRsp)
{
    pageArrived(handle, dataRsp, "-----ShareAllUserFileModel::onGetShareFile:");
}

void ShareAllUserFileModel::initConnect(bool isTw)
{
    ShareBaseModel::initConnect(isTw);
    if (TidewellDevice* d = isTw ? device() : nullptr)
        track(connect(d, &TidewellDevice::rGetShareFile, this, &ShareAllUserFileModel::onGetShareFile));
}
