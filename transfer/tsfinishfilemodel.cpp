#include "transfer/tsfinishfilemodel.h"

#include <QDebug>
#include <QFileInfo>
#include <QSet>
#include <QUrl>

#include "core/common.h"
#include "core/utils.h"
#include "transfer/lvfinishmanager.h"

TSFinishFileModel::TSFinishFileModel(QObject* parent) : PagedListModel(parent) {}

TSFinishFileModel::~TSFinishFileModel()
{
    qInfo() << "~~~~~TSFinishFileModel";
}

int TSFinishFileModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant TSFinishFileModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || !isValidRow(index.row()))
        return QVariant();
    const FinishFileInfo& f = m_rows.at(index.row());
    switch (role) {
    case FileTypeRole:
        return f.isFolder ? int(Common::MT_Folder) : getMediaType(QFileInfo(f.fileName).suffix());
    case FileNameRole:
        return shownName(f.fileName);
    case FileSizeRole:
        return f.isFolder ? QStringLiteral("--") : formatFileSize(f.fileSize);
    case StatusRole:
        return f.isUp;
    case DTimeRole:
        return formatMSecs(f.createTime, "yyyy-MM-dd HH:mm");
    case SavePathRole:
        return f.savePath;
    case SelectedRole:
        return isSelected(index.row());
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> TSFinishFileModel::roleNames() const
{
    return withRoles(QAbstractListModel::roleNames(), {
        {FileTypeRole, "$FileType"},
        {FileNameRole, "$FileName"},
        {FileSizeRole, "$FileSize"},
        {StatusRole, "$Status"},
        {DTimeRole, "$DTime"},
        {SavePathRole, "$SavePath"},
        {SelectedRole, "$Selected"},
    });
}

LVFinishManager* TSFinishFileModel::manager() const
{
    return m_tw.data();
}

QObject* TSFinishFileModel::tw() const
{
    return m_tw.data();
}

void TSFinishFileModel::setTw(QObject* obj)
{
    if (!m_tw.rebind(obj, "TSFinishFileModel - tw"))
        return;
    // Answers of the previous manager will not come any more.
    m_req.clear(this);
    m_pendingDeletes.clear();
    m_isRefreshing = false;
    if (LVFinishManager* fm = manager()) {
        m_tw.add(connect(fm, &LVFinishManager::rGetTotalNum, this, &TSFinishFileModel::rGetTotalNum));
        m_tw.add(connect(fm, &LVFinishManager::rGetFinishFileList, this, &TSFinishFileModel::rGetFinishFileList));
        m_tw.add(connect(fm, &LVFinishManager::rDeleteAll, this, &TSFinishFileModel::rDeleteAll));
        m_tw.add(connect(fm, &LVFinishManager::rDeleteFinishFiles, this, &TSFinishFileModel::rDeleteFinishFiles));
    }
    emit twChanged();
}

bool TSFinishFileModel::isSelected(int row) const
{
    return isValidRow(row) && m_selected.contains(m_rows.at(row).fId);
}

bool TSFinishFileModel::isAll() const
{
    if (m_rows.isEmpty() || m_selected.size() < m_rows.size())
        return false;
    for (const FinishFileInfo& f : m_rows) {
        if (!m_selected.contains(f.fId))
            return false;
    }
    return true;
}

void TSFinishFileModel::loadData()
{
    if (m_req.busy())
        return;
    LVFinishManager* fm = manager();
    if (!fm) {
        qDebug() << "TSFinishFileModel::loadData - no finish manager yet.";
        m_isRefreshing = false;
        return;
    }
    qInfo() << "TSFinishFileModel::loadData";
    const int serial = m_req.begin();
    emit fm->sGetFinishFileList(m_page, kPageSize, serial);
    emit fm->sGetTotalNum();
    qInfo() << "TSFinishFileModel::loadData end.";
}

void TSFinishFileModel::reset()
{
    if (m_isRefreshing)
        return;
    m_isRefreshing = true;
    m_hasMore = true;
    m_page = 1;
    // An answer under way belongs to the old list: drop it, then load.
    m_req.invalidate(true);
    beginResetModel();
    m_rows.clear();
    endResetModel();
    // A view usually asks for more after the reset; without one, load anyway.
    if (!m_req.busy())
        loadData();
    emit loadNumChanged();
    emit isAllChanged();
}

void TSFinishFileModel::refershData()
{
    qInfo() << "TSFinishFileModel::refershData";
    reset();
}

void TSFinishFileModel::setDefaultState()
{
    if (!m_rows.isEmpty())
        defaultStateChange(DS_None, QString());
    else
        defaultStateChange(DS_Empty, tr("No Data"));
}

void TSFinishFileModel::emitSelectionSignals()
{
    emit isAllChanged();
    emit selectNumChanged();
    emit isCheckChanged();
}

void TSFinishFileModel::notifyAllSelected()
{
    if (!m_rows.isEmpty())
        emit dataChanged(index(0, 0), index(m_rows.size() - 1, 0), {SelectedRole});
}

void TSFinishFileModel::rGetTotalNum(bool rs, int num)
{
    if (!rs)
        return;
    m_totalNum = num;
    emit totalNumChanged();
}

void TSFinishFileModel::rGetFinishFileList(bool rs, QList<FinishFileInfo> listData, int serial)
{
    if (!takeAnswer(serial))
        return;
    qInfo() << "TSFinishFileModel::rGetFinishFileList - " << listData.size();
    if (!pageReadable(rs))
        return;
    const int n = listData.size();
    const bool first = m_page == 1;
    // Paging state first: a view may ask for more from inside the
    // notifications below.
    if (n > 0)
        ++m_page;
    if (n < kPageSize)
        m_hasMore = false;
    // Newer finishes push older records down, so a later page can repeat a
    // record already shown.
    if (n > 0)
        mergePage(m_rows, listData, first);
    emit loadNumChanged();
    setDefaultState();
    if (n > 0)
        emit isAllChanged();
}

void TSFinishFileModel::clearAll()
{
    if (LVFinishManager* fm = manager())
        emit fm->sDeleteAll();
}

void TSFinishFileModel::rDeleteAll(bool rs)
{
    if (!rs) {
        qWarning() << "TSFinishFileModel::rDeleteAll - failed.";
        notifyStatus(-1, tr("Delete failed"), TL_Error);
        return;
    }
    // The selected records are gone with the rest.
    if (!m_selected.isEmpty()) {
        m_selected.clear();
        notifyAllSelected();
        emitSelectionSignals();
    }
    reset();
}

void TSFinishFileModel::sendDelete(const QList<FinishFileInfo>& list)
{
    LVFinishManager* fm = manager();
    if (!fm || list.isEmpty())
        return;
    const int serial = PageRequest::nextSerial();
    QList<int> ids;
    for (const FinishFileInfo& f : list)
        ids.append(f.fId);
    m_pendingDeletes.insert(serial, ids);
    emit fm->sDeleteFinishFiles(list, serial);
}

void TSFinishFileModel::deleteItem(int itemIndex)
{
    if (!isValidRow(itemIndex))
        return;
    sendDelete({m_rows.at(itemIndex)});
}

void TSFinishFileModel::deleteSelect()
{
    QList<FinishFileInfo> list;
    QSet<int> taken;
    for (int i = m_rows.size() - 1; i >= 0; --i) {
        const FinishFileInfo& f = m_rows.at(i);
        if (m_selected.contains(f.fId)) {
            qInfo() << "listIndex:" << i;
            list.append(f);
            taken.insert(f.fId);
        }
    }
    // Selected before a reload and not loaded again yet: still the user's pick.
    for (auto it = m_selected.cbegin(); it != m_selected.cend(); ++it) {
        if (!taken.contains(it.key()))
            list.append(it.value());
    }
    sendDelete(list);
}

void TSFinishFileModel::rDeleteFinishFiles(bool rs, int serial)
{
    auto it = m_pendingDeletes.find(serial);
    if (it == m_pendingDeletes.end())
        return;  // another model's deletion
    const QList<int> ids = it.value();
    m_pendingDeletes.erase(it);
    LVFinishManager* fm = manager();
    if (!rs) {
        // The store may still hold some of them: show what it holds.
        qWarning() << "TSFinishFileModel::rDeleteFinishFiles - failed for" << ids.size()
                   << "records.";
        notifyStatus(-1, tr("Delete failed"), TL_Error);
        reset();
        return;
    }
    const QSet<int> gone(ids.cbegin(), ids.cend());
    for (int i = m_rows.size() - 1; i >= 0; --i) {
        if (gone.contains(m_rows.at(i).fId)) {
            beginRemoveRows(QModelIndex(), i, i);
            m_rows.removeAt(i);
            endRemoveRows();
        }
    }
    for (int id : ids)
        m_selected.remove(id);
    setDefaultState();
    if (fm)
        emit fm->sGetTotalNum();
    emit loadNumChanged();
    emitSelectionSignals();
}

void TSFinishFileModel::allSelect()
{
    if (isAll()) {
        m_selected.clear();
    } else {
        for (const FinishFileInfo& f : qAsConst(m_rows))
            m_selected.insert(f.fId, f);
    }
    notifyAllSelected();
    emitSelectionSignals();
}

void TSFinishFileModel::singleSelect(int itemIndex)
{
    if (!isValidRow(itemIndex))
        return;
    const FinishFileInfo& f = m_rows.at(itemIndex);
    const bool was = m_selected.contains(f.fId);
    m_selected.clear();
    if (!was)
        m_selected.insert(f.fId, f);
    notifyAllSelected();
    emitSelectionSignals();
}

void TSFinishFileModel::multiSelect(int itemIndex)
{
    if (!isValidRow(itemIndex))
        return;
    const FinishFileInfo& f = m_rows.at(itemIndex);
    if (!m_selected.remove(f.fId))
        m_selected.insert(f.fId, f);
    const QModelIndex idx = index(itemIndex, 0);
    emit dataChanged(idx, idx, {SelectedRole});
    emitSelectionSignals();
}

QString TSFinishFileModel::localPath(const FinishFileInfo& f)
{
    return f.isUp ? f.filePath : f.savePath;
}

void TSFinishFileModel::openFile(int itemIndex)
{
    if (!isValidRow(itemIndex))
        return;
    const QString path = localPath(m_rows.at(itemIndex));
    if (path.isEmpty()) {
        qWarning() << "TSFinishFileModel::openFile - record without a local path.";
        return;
    }
    openUrl(QUrl::fromLocalFile(path));
}

void TSFinishFileModel::openLocation(int itemIndex)
{
    if (!isValidRow(itemIndex))
        return;
    const FinishFileInfo& f = m_rows.at(itemIndex);
    const QString path = localPath(f);
    if (path.isEmpty()) {
        qWarning() << "TSFinishFileModel::openLocation - record without a local path.";
        return;
    }
    const QString dir = f.isFolder ? path : QFileInfo(path).absolutePath();
    openUrl(QUrl::fromLocalFile(dir));
}
