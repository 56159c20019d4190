#include "transfer/tsfaillistmodel.h"

#include <QDebug>
#include <QFileInfo>

#include "core/utils.h"
#include "transfer/lvfinishmanager.h"

TSFailListModel::TSFailListModel(QObject* parent) : PagedListModel(parent) {}

TSFailListModel::~TSFailListModel()
{
    qInfo() << "~~~~~TSFailListModel";
}

int TSFailListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant TSFailListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_rows.size())
        return QVariant();
    const FailRow& r = m_rows.at(index.row());
    switch (role) {
    case FileTypeRole:
        return getMediaType(QFileInfo(r.fileName).suffix());
    case FileNameRole:
        return shownName(r.fileName);
    case FileSizeRole:
        return formatFileSize(r.fileSize);
    case ErrorMsgRole:
        return shownName(r.msg);
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> TSFailListModel::roleNames() const
{
    return withRoles(QAbstractListModel::roleNames(), {
        {FileTypeRole, "$FileType"},
        {FileNameRole, "$FileName"},
        {FileSizeRole, "$FileSize"},
        {ErrorMsgRole, "$ErrorMsg"},
    });
}

LVFinishManager* TSFailListModel::manager() const
{
    return m_tw.data();
}

QObject* TSFailListModel::tw() const
{
    return m_tw.data();
}

void TSFailListModel::setTw(QObject* obj)
{
    if (!m_tw.rebind(obj, "TSFailListModel - tw"))
        return;
    m_req.clear(this);
    if (LVFinishManager* fm = manager()) {
        m_tw.add(connect(fm, &LVFinishManager::rGetUploadFailFiles, this, &TSFailListModel::rGetUploadFailFiles));
        m_tw.add(connect(fm, &LVFinishManager::rGetDownloadFailFiles, this, &TSFailListModel::rGetDownloadFailFiles));
    }
    emit twChanged();
}

void TSFailListModel::setIsDown(bool down)
{
    m_isDown = down;
    emit isDownChanged();
}

QVariantMap TSFailListModel::task() const
{
    return m_isDown ? m_downParent.toVariantMap() : m_upParent.toVariantMap();
}

void TSFailListModel::setTask(const QVariantMap& map)
{
    if (m_isDown)
        m_downParent.fromVariantMap(map);
    else
        m_upParent.fromVariantMap(map);
    emit taskChanged();
}

void TSFailListModel::resetData()
{
    // Always re-targets: an answer under way belongs to the folder shown
    // before and is dropped; page 1 of the current folder follows it.
    m_req.invalidate(true);
    beginResetModel();
    m_hasMore = true;
    m_page = 1;
    m_rows.clear();
    endResetModel();
    if (!m_req.busy())
        loadData();
}

void TSFailListModel::loadData()
{
    if (m_req.busy() || !m_hasMore)
        return;
    LVFinishManager* fm = manager();
    if (!fm) {
        qDebug() << "TSFailListModel::loadData - no finish manager yet.";
        return;
    }
    const int serial = beginRequest(true);
    if (m_isDown)
        emit fm->sGetDownloadFailFiles(m_page, kPageSize, m_downParent, serial);
    else
        emit fm->sGetUploadFailFiles(m_page, kPageSize, m_upParent, serial);
}

template <class Rec>
void TSFailListModel::takePage(bool rs, int serial, const QList<Rec>& files)
{
    if (!takeAnswer(serial) || !pageReadable(rs))
        return;
    QList<FailRow> page;
    page.reserve(files.size());
    for (const Rec& f : files)
        page.append({f.fId, f.fileName, f.fileSize, f.msg});
    const int n = page.size();
    const bool first = m_page == 1;
    // Paging state first: a view may ask for more from inside the
    // notifications below.
    if (n < kPageSize)
        m_hasMore = false;
    if (n > 0)
        ++m_page;
    mergePage(m_rows, page, first);
    if (!m_rows.isEmpty())
        defaultStateChange(DS_None, QString());
    else
        defaultStateChange(DS_Empty, tr("No Data"));
}

void TSFailListModel::rGetUploadFailFiles(bool rs, QList<UploadFileInfo> listData, int serial)
{
    takePage(rs, serial, listData);
}

void TSFailListModel::rGetDownloadFailFiles(bool rs, QList<DownFileInfo> listData, int serial)
{
    takePage(rs, serial, listData);
}
