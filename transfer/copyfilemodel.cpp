#include "transfer/copyfilemodel.h"

#include <QDebug>

CopyFileModel::CopyFileModel(QObject* parent) : QObject(parent) {}

void CopyFileModel::setTw(QObject* tw)
{
    if (!m_tw.rebind(tw) || !tw)
        return;
    // The facade sits above this library: its signals are joined by name.
    m_tw.add(connect(this, SIGNAL(sCopyFileLists(TW_HANDLE,int,int)), tw,
                     SIGNAL(sCopyFileLists(TW_HANDLE,int,int)), Qt::DirectConnection));
    m_tw.add(connect(this, SIGNAL(sCleanCopyFileLists(TW_HANDLE,int)), tw,
                     SIGNAL(sCleanCopyFileLists(TW_HANDLE,int)), Qt::DirectConnection));
    m_tw.add(connect(tw, SIGNAL(rCopyFileLists(TW_HANDLE,CopyFileListsResp)), this,
                     SLOT(onCopyFileLists(TW_HANDLE,CopyFileListsResp))));
    m_tw.add(connect(tw, SIGNAL(rCleanCopyFileLists(TW_HANDLE,APIBase)), this,
                     SLOT(onCleanCopyFileLists(TW_HANDLE,APIBase))));
    m_tw.add(connect(tw, SIGNAL(rFileCopy(TW_HANDLE,APIBase)), this, SLOT(onFileCopy(TW_HANDLE,APIBase))));
    m_tw.add(connect(tw, SIGNAL(rRetryCopyTask(TW_HANDLE,APIBase,QMap<int,qint64>)), this,
                     SLOT(onRetryCopyTask(TW_HANDLE,APIBase,QMap<int,qint64>))));
}

void CopyFileModel::requestList()
{
    // Nothing answers a poll sent before the facade is set.
    if (!m_tw)
        return;
    m_loading = true;
    // One entry is enough: its state tells whether the latest job failed.
    emit sCopyFileLists(m_handle, 1, 1);
}

void CopyFileModel::loadData()
{
    if (m_loading)
        return;
    requestList();
}

void CopyFileModel::stopAllCopyFile()
{
    emit sCleanCopyFileLists(m_handle, 0);
}

void CopyFileModel::onCopyFileLists(TW_HANDLE handle, CopyFileListsResp respData)
{
    if (handle != m_handle) {
        qDebug() << handle << " TW_MYSELF is not me";
        return;
    }
    m_loading = false;
    if (!respData.ok()) {
        // An unanswered poll says nothing about the jobs: keep what is shown
        // and let the status box's timer ask again.
        qWarning() << "CopyFileModel::onCopyFileLists -" << respData.code() << respData.message;
        emit hasFileChanged();
        return;
    }
    m_isError = respData.copyFailed;
    emit isErrorChanged();
    m_hasFile = respData.fileNum > 0;
    emit hasFileChanged();
    m_fileNum = respData.fileNum;
    emit fileNumChanged();
}

void CopyFileModel::onCleanCopyFileLists(TW_HANDLE handle, APIBase respData)
{
    if (handle != m_handle) {
        qDebug() << handle << " TW_MYSELF is not me";
        return;
    }
    qInfo() << "ClearCopyfile:" << respData.code() << respData.message << "------";
    if (respData.ok())
        return;
    // The box was hidden when the user confirmed; the jobs still run, so
    // say so and show them again.
    emit sg_notifyStatus(respData.code(), respData.message, 2);
    if (!m_loading)
        requestList();
}

void CopyFileModel::onFileCopy(TW_HANDLE, APIBase resp)
{
    if (resp.ok() && !m_loading)
        requestList();
}

void CopyFileModel::onRetryCopyTask(TW_HANDLE, APIBase respData, QMap<int, qint64>)
{
    if (respData.ok() && !m_loading)
        requestList();
}
