#include "transfer/bttaskmodel.h"

#include <QDebug>
#include <QFileInfo>

#include "core/twfolderinfo.h"
#include "core/utils.h"

BtTaskModel::BtTaskModel(int selectedRole, QObject* parent)
    : BaseModel(parent), m_selectedRole(selectedRole)
{
}

int BtTaskModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

void BtTaskModel::setTw(QObject* tw)
{
    if (!m_tw.rebind(tw) || !tw)
        return;
    // The facade sits above this library: its signals are joined by name.
    m_tw.add(connect(this, SIGNAL(sBtGetTaskList(TW_HANDLE,int,int,int)), tw,
                     SIGNAL(sBtGetTaskList(TW_HANDLE,int,int,int)), Qt::DirectConnection));
    m_tw.add(connect(this, SIGNAL(sBtAddTask(TW_HANDLE,QString,int,QString,int,QString)), tw,
                     SIGNAL(sBtAddTask(TW_HANDLE,QString,int,QString,int,QString)), Qt::DirectConnection));
    m_tw.add(connect(this, SIGNAL(sBtOperateTask(TW_HANDLE,int,int,QString,bool)), tw,
                     SIGNAL(sBtOperateTask(TW_HANDLE,int,int,QString,bool)), Qt::DirectConnection));
    m_tw.add(connect(this, SIGNAL(sBtDeleteTask(TW_HANDLE,QStringList,bool)), tw,
                     SIGNAL(sBtDeleteTask(TW_HANDLE,QStringList,bool)), Qt::DirectConnection));
    m_tw.add(connect(tw, SIGNAL(rBtGetTaskList(TW_HANDLE,BTGetTaskListResp)), this,
                     SLOT(onBtGetTaskList(TW_HANDLE,BTGetTaskListResp))));
    m_tw.add(connect(tw, SIGNAL(rBtAddTask(TW_HANDLE,APIBase)), this, SLOT(onBtAddTask(TW_HANDLE,APIBase))));
    m_tw.add(connect(tw, SIGNAL(rBtOperateTask(TW_HANDLE,APIBase)), this,
                     SLOT(onBtOperateTask(TW_HANDLE,APIBase))));
    m_tw.add(connect(tw, SIGNAL(rBtDeleteTask(TW_HANDLE,APIBase)), this,
                     SLOT(onBtDeleteTask(TW_HANDLE,APIBase))));
}

QString BtTaskModel::exceptionText(int exception)
{
    switch (exception) {
    case 1: return tr("Network exception");
    case 2: return tr("Download BT Failed");
    case 3: return tr("Capacity is not enough");
    case 4: return tr("Download failed");
    case 5: return tr("Move failed");
    case 6: return tr("Path failed");
    case 7: return tr("No copyright");
    case 8: return tr("No resources");
    case 9: return tr("Connect failed");
    default: return tr("Finish");
    }
}

QString BtTaskModel::statusText(const BtTaskInfo& task)
{
    switch (task.status) {
    case 0: return tr("Waiting");
    case 1: return tr("Download BT");
    case 2: return formatFileSize(task.speed) + "/s";
    case 3: return tr("Pause");
    case 4: return tr("Moving");
    case 5: return exceptionText(task.exception);
    default: return tr("Finish");
    }
}

QVariant BtTaskModel::commonData(const BtTaskInfo& task, int role, bool& known) const
{
    known = true;
    switch (role) {
    case Qt::UserRole + 1:   // $FileIcon
        return task.isFile != 0 ? getMediaType(QFileInfo(task.fileName).suffix()) : 5;
    case Qt::UserRole + 2:   // $FileName
        return task.fileName;
    default:
        known = false;
        return QVariant();
    }
}

bool BtTaskModel::mine(TW_HANDLE handle) const
{
    if (handle == m_handle)
        return true;
    qDebug() << handle << " TW_MYSELF is not me";
    return false;
}

void BtTaskModel::emitCounts()
{
    emit fileNumChanged();
    emit isAllChanged();
    emit selectNumChanged();
    emit isCheckChanged();
}

void BtTaskModel::emitSelection(int row)
{
    if (!m_rows.isEmpty()) {
        const int first = row < 0 ? 0 : row;
        const int last = row < 0 ? m_rows.size() - 1 : row;
        emit dataChanged(index(first), index(last), {m_selectedRole});
    }
    emit isAllChanged();
    emit selectNumChanged();
    emit isCheckChanged();
}

void BtTaskModel::showListState()
{
    if (m_rows.isEmpty())
        defaultStateChange(DS_Empty, tr("No File"));
    else
        defaultStateChange(DS_None, QString());
}

void BtTaskModel::allSelect()
{
    if (m_selection.size() < m_rows.size()) {
        for (int i = 0; i < m_rows.size(); ++i)
            m_selection.insert(i, m_rows.at(i).downId);
    } else {
        m_selection.clear();
    }
    emitSelection(-1);
}

void BtTaskModel::singleSelect(int itemIndex)
{
    if (itemIndex == -1) {
        m_selection.clear();
    } else if (!validRow(itemIndex)) {
        return;
    } else if (m_selection.contains(itemIndex)) {
        m_selection.clear();
    } else {
        m_selection.clear();
        m_selection.insert(itemIndex, m_rows.at(itemIndex).downId);
    }
    emitSelection(-1);
}

void BtTaskModel::multiSelect(int itemIndex)
{
    if (!validRow(itemIndex))
        return;
    if (m_selection.contains(itemIndex))
        m_selection.remove(itemIndex);
    else
        m_selection.insert(itemIndex, m_rows.at(itemIndex).downId);
    emitSelection(itemIndex);
}

void BtTaskModel::addTaskSource(QVariantMap value, QString source)
{
    const TwFolderInfo folder = TwFolderInfo::fromVariantMap(value);
    showLoading();
    emit sBtAddTask(m_handle, source, 0, folder.serialNo, folder.fid, folder.filePath);
}

void BtTaskModel::addTaskFile(QVariantMap value, int fileId)
{
    if (fileId <= 0)
        return;
    const TwFolderInfo folder = TwFolderInfo::fromVariantMap(value);
    showLoading();
    emit sBtAddTask(m_handle, QString(), fileId, folder.serialNo, folder.fid, folder.filePath);
}

void BtTaskModel::deleteSelect(bool isDeleteFile)
{
    if (m_selection.isEmpty())
        return;
    QStringList ids;
    for (const QString& id : m_selection)   // row order: the map is sorted by row
        ids << id;
    showLoading();
    emit sBtDeleteTask(m_handle, ids, isDeleteFile);
}

void BtTaskModel::operate(int op, int vType, const QString& downId, bool isDeleteFile)
{
    showLoading();
    emit sBtOperateTask(m_handle, op, vType, downId, isDeleteFile);
}

void BtTaskModel::answered(TW_HANDLE handle, const APIBase& resp)
{
    if (!mine(handle))
        return;
    cancelLading();
    if (resp.ok())
        refershData();
    else
        notifyStatus(resp.code(), resp.message, TL_Error);
}

void BtTaskModel::onBtAddTask(TW_HANDLE handle, APIBase dataRsp)
{
    answered(handle, dataRsp);
}

void BtTaskModel::onBtOperateTask(TW_HANDLE handle, APIBase respData)
{
    answered(handle, respData);
}

void BtTaskModel::onBtDeleteTask(TW_HANDLE handle, APIBase dataRsp)
{
    answered(handle, dataRsp);
}
