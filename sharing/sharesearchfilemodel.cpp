#include "sharing/sharesearchfilemodel.h"

#include <QDebug>

#include "device/tidewelldevice.h"

ShareSearchFileModel::ShareSearchFileModel(QObject* parent) : ShareBaseModel(parent) {}

ShareSearchFileModel::~ShareSearchFileModel()
{
    qDebug() << "~~~~~~~~~~ShareAllUserFileModel";
}

void ShareSearchFileModel::setKeyValue(const QString& keyValue)
{
    if (keyValue == m_keyValue)
        return;
    m_keyValue = keyValue;
    emit keyValueChanged();
    // A new keyword is a new search.
    restart();
}

bool ShareSearchFileModel::canFetchMore(const QModelIndex& parent) const
{
    return !m_keyValue.isEmpty() && ShareBaseModel::canFetchMore(parent);
}

bool ShareSearchFileModel::canRequest() const
{
    return !m_keyValue.isEmpty();
}

bool ShareSearchFileModel::requestPage(TW_HANDLE page)
{
    TidewellDevice* d = device();
    return !m_keyValue.isEmpty() && d && d->findShareFile(page, m_keyValue, m_page);
}

void ShareSearchFileModel::onFindShareFile(TW_HANDLE handle, FindShareFileResp dataRsp)
{
    pageArrived(handle, dataRsp, "-----ShareSearchFileModel::onFindShareFile:");
}

void ShareSearchFileModel::initConnect(bool isTw)
{
    ShareBaseModel::initConnect(isTw);
    if (TidewellDevice* d = isTw ? device() : nullptr)
        track(connect(d, &TidewellDevice::rFindShareFile, this, &ShareSearchFileModel::onFindShareFile));
}
