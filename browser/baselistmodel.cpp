#include "browser/baselistmodel.h"

#include <QDebug>
#include <QSet>

#include "core/common.h"
#include "core/utils.h"
#include "device/tidewelldevice.h"
#include "transfer/thumbi.h"

BaseListModel::BaseListModel(QObject* parent) : BaseModel(parent), m_handle(twNewHandle())
{
    // Every model announces a change of its ticked rows with this signal.
    connect(this, &BaseListModel::selectNumChanged, this, [this] { followSelection(); });
}

BaseListModel::~BaseListModel() = default;

bool BaseListModel::canFetchMore(const QModelIndex& parent) const
{
    if (parent.isValid())
        return false;
    return m_hasMore;
}

void BaseListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    if (m_hasMore && !m_isLoading)
        loadData();
}

TidewellDevice* BaseListModel::device() const
{
    return qobject_cast<TidewellDevice*>(m_tw.data());
}

ThumbI* BaseListModel::thumbI() const
{
    return dynamic_cast<ThumbI*>(m_thumb.data());
}

void BaseListModel::resetPaging()
{
    restartPaging();
    m_page = 1;
    m_loadFileNum = 0;
    m_pageSize = 60;
    m_fileNum = 0;
    m_selectMap.clear();
}

bool BaseListModel::isSearch()
{
    return !m_keyword.isEmpty();
}

void BaseListModel::refreshData()
{
    resetData();
}

void BaseListModel::allSelect() {}
void BaseListModel::singleSelect(int, bool) {}
void BaseListModel::multiSelect(int) {}
void BaseListModel::newFolder(QString) {}

void BaseListModel::search(QString keyword)
{
    setKeyword(keyword);
    refreshData();
}

void BaseListModel::switchView(int) {}
void BaseListModel::newLabel(QString) {}
void BaseListModel::renameLabel(int, QString) {}
void BaseListModel::deleteLabel(int) {}
void BaseListModel::back() {}
void BaseListModel::switchDisk(QVariantMap) {}

QVariantMap BaseListModel::get(int)
{
    return QVariantMap();
}

void BaseListModel::sortRow(int, bool) {}
void BaseListModel::selectedChanged(int) {}
void BaseListModel::fileOpen() {}
void BaseListModel::fileDownload(QString) {}
void BaseListModel::fileRename(QString) {}
void BaseListModel::fileRename(int, QString) {}
void BaseListModel::fileDelete() {}
void BaseListModel::fileMove(QVariantMap) {}
void BaseListModel::fileMove(qlonglong, QString) {}

QVariantList BaseListModel::getSelectFolderIds()
{
    return QVariantList();
}

void BaseListModel::fileCopyTo2(qlonglong, QString) {}
void BaseListModel::fileCopyTo(QVariantMap) {}
void BaseListModel::fileSharing(QJSValue) {}
void BaseListModel::fileCancelShare() {}
void BaseListModel::fileCollect() {}
void BaseListModel::fileCancelCollect() {}
void BaseListModel::fileAddToLabel(QList<int>) {}
void BaseListModel::fileMoveToSafeBox() {}
void BaseListModel::fileClearUp() {}
void BaseListModel::fileDeletePermanently() {}
void BaseListModel::fileRestore() {}
void BaseListModel::fileCreateExtlink(QString, QString) {}

int BaseListModel::itemsOfKind(QList<TwFileInfo>& out, int)
{
    return out.size();
}

void BaseListModel::setTw(QObject* tw)
{
    if (!m_tw.rebind(tw))
        return;
    initConnect(true);
    emit twChanged();
}

void BaseListModel::setThumb(QObject* thumb)
{
    if (m_thumb == thumb)
        return;
    m_thumb = thumb;
    initConnect(false);
    emit thumbChanged();
}

void BaseListModel::setFileNum(int num)
{
    m_fileNum = num;
    emit fileNumChanged();
    updateDefaultState();
}

int BaseListModel::selectNum()
{
    return m_selectMap.size();
}

QList<TwFileInfo> BaseListModel::selectedItems()
{
    return QList<TwFileInfo>();
}

bool BaseListModel::isAll()
{
    return false;
}

int BaseListModel::loadFileNum()
{
    return m_loadFileNum;
}

bool BaseListModel::isCheck()
{
    return selectNum() > 0;
}

bool BaseListModel::isExtlinkList()
{
    return false;
}

bool BaseListModel::deviceMode()
{
    return true;
}

void BaseListModel::setCurrentSelected(int index)
{
    if (m_currentSelected == index)
        return;
    m_currentSelected = index;
    emit currentSelectedChanged();
}

void BaseListModel::followSelection()
{
    if (m_selectMap.contains(m_currentSelected))
        return;
    const int row = m_selectMap.isEmpty() ? -1 : m_selectMap.firstKey();
    if (m_currentSelected == row)
        return;
    m_currentSelected = row;
    emit currentSelectedChanged();
}

void BaseListModel::setKeyword(QString keyword)
{
    if (m_keyword == keyword)
        return;
    m_keyword = keyword;
    emit keywordChanged();
}

void BaseListModel::setModelType(int type)
{
    if (m_modelType == type)
        return;
    m_modelType = type;
    emit modelTypeChanged();
}

void BaseListModel::setDocType(int type)
{
    if (m_docType == type)
        return;
    m_docType = type;
    emit docTypeChanged();
}

void BaseListModel::setMenuType(int type)
{
    if (m_menuType == type)
        return;
    m_menuType = type;
    emit menuTypeChanged();
}

bool BaseListModel::selectIsFiles()
{
    return false;
}

bool BaseListModel::selectIsLoves()
{
    return false;
}

void BaseListModel::updateViewState(int) {}

bool BaseListModel::removeItems(QMap<int, qint64>)
{
    return false;
}

bool BaseListModel::removeItem(qint64)
{
    return false;
}

void BaseListModel::initConnect(bool) {}
void BaseListModel::loadData() {}

int BaseListModel::pageNo()
{
    return m_page;
}

QUrl BaseListModel::fileIconUrl(const TwFileInfo& item)
{
    if (item.type == Common::MT_Image || item.type == Common::MT_Video) {
        if (ThumbI* t = thumbI())
            return t->small(thumbShare(item), item.type, item.id, item.ower, item.fileMd5,
                            item.fileCatetory);
    }
    return getFileTypeIcon(item.type);
}

void BaseListModel::resetData() {}

void BaseListModel::updateDefaultState()
{
    if (rowCount() > 0)
        defaultStateChange(DS_None, QString());
    else
        defaultStateChange(DS_Empty, tr("No File"));
}

void BaseListModel::rThumbFinished(ThumbInfo, int, QString) {}

NetworkShare BaseListModel::thumbShare(const TwFileInfo&)
{
    return NetworkShare();
}

bool BaseListModel::isMine(TW_HANDLE handle, const char* where) const
{
    if (handle == m_handle)
        return true;
    qDebug() << where << handle << " TW_MYSELF is not me";
    return false;
}

bool BaseListModel::succeeded(int result, const QString& message)
{
    if (result == 1)
        return true;
    notifyStatus(result, message, TL_Error);
    return false;
}

QList<qint64> BaseListModel::selectedIds() const
{
    return m_selectMap.values();
}

QList<TwFileInfo> BaseListModel::unseen(const QList<TwFileInfo>& shown, const QList<TwFileInfo>& page)
{
    QSet<qint64> ids;
    for (const TwFileInfo& f : shown)
        ids.insert(f.id);
    QList<TwFileInfo> out;
    for (const TwFileInfo& f : page) {
        // Id 0 names no stored item: such rows cannot be told apart.
        if (f.id != 0 && ids.contains(f.id))
            continue;
        ids.insert(f.id);
        out.append(f);
    }
    return out;
}

TW_HANDLE BaseListModel::beginPage(bool overlay)
{
    m_isLoading = true;
    const TW_HANDLE page = TW_HANDLE(m_pages.begin(overlay));
    if (overlay)
        showLoading();
    return page;
}

void BaseListModel::pageNotSent(TW_HANDLE page)
{
    m_pages.take(int(page), this);
    m_isLoading = m_pages.loading();
}

bool BaseListModel::takePage(TW_HANDLE page, const char* where)
{
    return m_pages.takeCurrent(int(page), this, where);
}

void BaseListModel::restartPaging()
{
    m_pages.invalidate(false);
    m_hasMore = true;
    m_isLoading = false;
}

void BaseListModel::stopPaging(const char* where)
{
    qDebug() << where << "paging stops until the list is loaded again.";
    m_hasMore = false;
    m_isLoading = false;
}

void BaseListModel::endIfRepeated(int received, int added, const char* where)
{
    if (received > 0 && added == 0 && m_hasMore) {
        qWarning() << where << "a page of" << received << "items held none not shown yet; paging ends.";
        m_hasMore = false;
    }
}

void BaseListModel::listShifted()
{
    if (!m_isLoading)
        return;
    qDebug() << metaObject()->className() << "- rows left the list while a page was on its way; it is asked again.";
    m_pages.invalidate(false);
    m_isLoading = false;
}
