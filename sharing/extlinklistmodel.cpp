#include "sharing/extlinklistmodel.h"

#include <algorithm>

#include <QDebug>
#include <QSet>

#include "core/utils.h"
#include "device/tidewelldevice.h"
#include "device/tidewellextlink.h"

ExtlinkListModel::ExtlinkListModel(QObject* parent) : BaseModel(parent), m_handle(twNewHandle())
{
}

int ExtlinkListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

QVariant ExtlinkListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_rows.size())
        return QVariant();
    const Extlink& l = m_rows.at(index.row());
    switch (role) {
    case NameRole:
        return shownName(l.title);
    case UrlRole:
        return shownName(urlWithoutCode(l.url));
    case OwnerRole:
        if (m_deviceMode) {
            const TidewellDevice* d = device();
            return d ? shownName(d->deviceInfo().deviceOwnerName) : QString();
        }
        return shownName(l.userNickname);
    case CreateTimeRole:
        return formatMSecs(l.createdDate, "yyyy-MM-dd HH:mm");
    case SelectedRole:
        return index.row() == m_selected;
    case UserVisitTimeRole:
        return tr("Visit Time: %1").arg(l.userVisitTime);
    case ResVisitTimeRole:
        return l.resVisitTime;
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> ExtlinkListModel::roleNames() const
{
    return {{NameRole, "$Name"},
            {UrlRole, "$Url"},
            {OwnerRole, "$Owner"},
            {CreateTimeRole, "$CreateTime"},
            {SelectedRole, "$Selected"},
            {UserVisitTimeRole, "$UserVisitTime"},
            {ResVisitTimeRole, "$ResVisitTime"}};
}

TidewellDevice* ExtlinkListModel::device() const
{
    return m_deviceMode ? qobject_cast<TidewellDevice*>(m_tw.data()) : nullptr;
}

TidewellExtlink* ExtlinkListModel::extlink() const
{
    return m_deviceMode ? nullptr : qobject_cast<TidewellExtlink*>(m_tw.data());
}

bool ExtlinkListModel::mine(TW_HANDLE handle, const char* where) const
{
    if (handle == m_handle)
        return true;
    qDebug() << "ExtlinkListModel::" << where << handle << " TW_MYSELF is not me";
    return false;
}

void ExtlinkListModel::setTw(QObject* tw)
{
    if (!m_tw.rebind(tw))
        return;
    qDebug() << "ExtlinkListModel::setTw - deviceMode " << m_deviceMode;
    if (TidewellDevice* d = device()) {
        m_tw.add(connect(d, &TidewellDevice::rGetExtlinkList, this, &ExtlinkListModel::rGetExtlinkList2));
        m_tw.add(connect(d, &TidewellDevice::rDelExternalLink, this, &ExtlinkListModel::rDelExternalLink));
    } else if (TidewellExtlink* e = extlink()) {
        m_tw.add(connect(e, &TidewellExtlink::rDeviceShareGetInfo, this, &ExtlinkListModel::rDeviceShareGetInfo));
        m_tw.add(connect(e, &TidewellExtlink::rDeviceShareGetToken, this, &ExtlinkListModel::rDeviceShareGetToken));
        m_tw.add(connect(e, &TidewellExtlink::rGetExtlinkList, this, &ExtlinkListModel::rGetExtlinkList));
        m_tw.add(connect(e, &TidewellExtlink::rAddExtlink, this, &ExtlinkListModel::rAddExtlink));
        m_tw.add(connect(e, &TidewellExtlink::rRemoveExtlink, this, &ExtlinkListModel::rRemoveExtlink));
    }
    emit twChanged();
}

void ExtlinkListModel::setDeviceMode(bool on)
{
    if (m_deviceMode == on)
        return;
    m_deviceMode = on;
    emit deviceModeChanged();
}

void ExtlinkListModel::setTotalNum(qlonglong n)
{
    if (m_totalNum == n)
        return;
    m_totalNum = n;
    emit totalNumChanged();
}

void ExtlinkListModel::setIsSort(bool on)
{
    if (m_isSort == on)
        return;
    m_isSort = on;
    emit isSortChanged();
}

void ExtlinkListModel::setSortType(int type)
{
    if (m_sortType == type)
        return;
    m_sortType = type;
    emit sortTypeChanged();
}

// Paging ---------------------------------------------------------------------

bool ExtlinkListModel::canFetchMore(const QModelIndex& parent) const
{
    if (parent.isValid())
        return false;
    qDebug() << "ExtlinkListModel::canFetchMore - m_hasMore " << m_hasMore;
    return m_hasMore;
}

void ExtlinkListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    qDebug() << "ExtlinkListModel::fetchMore - m_hasMore " << m_hasMore << ", m_isLoading "
             << m_isLoading;
    if (!m_isLoading && m_hasMore)
        loadPage();
}

void ExtlinkListModel::loadPage()
{
    m_isLoading = true;
    const bool overlay = m_rows.isEmpty();
    if (overlay)
        showLoading();
    if (m_offset != 0)
        m_offset = m_rows.size();
    const TW_HANDLE page = TW_HANDLE(m_pages.begin(overlay));
    bool sent = false;
    if (TidewellDevice* d = device())
        sent = d->getExtlinkList(page, m_offset, m_pageSize, m_isSort, m_sortType, m_queryType);
    else if (TidewellExtlink* e = extlink())
        sent = e->getExtlinkList(page, m_offset, m_pageSize, m_isSort, m_sortType, m_queryType);
    if (!sent) {
        // Nothing will answer: paging waits for the next reset instead of
        // staying busy for ever.
        qWarning() << "ExtlinkListModel::loadPage - no facade took the request.";
        m_pages.take(int(page), this);
        m_isLoading = false;
        m_refreshing = false;
        m_hasMore = false;
    }
}

void ExtlinkListModel::rGetExtlinkList(TW_HANDLE handle, Extlinks links)
{
    if (!m_pages.takeCurrent(int(handle), this, "ExtlinkListModel::rGetExtlinkList"))
        return;
    takePage(links);
}

void ExtlinkListModel::rGetExtlinkList2(TW_HANDLE handle, GetExternalLinkListResp resp)
{
    if (!m_pages.takeCurrent(int(handle), this, "ExtlinkListModel::rGetExtlinkList2"))
        return;
    if (!resp.ok()) {
        // The reason stays on the page while no link is shown.
        if (m_rows.isEmpty())
            defaultStateChange(DS_Error, resp.message);
        notifyStatus(resp.code(), resp.message, TL_Error);
        // No more pages until a reset: a view that keeps asking would flood
        // a failing device.
        m_hasMore = false;
        m_isLoading = false;
        m_refreshing = false;
        return;
    }
    Extlinks page(resp.offset, resp.pageSize, resp.isSort, resp.condition, resp.queryType);
    page.links = resp.links;
    takePage(page);
}

// Links are told apart by their share id, else by the device's link id.
static QString linkKey(const Extlink& l)
{
    if (!l.shareId.isEmpty())
        return "s" + l.shareId;
    return l.fileId != 0 ? "f" + QString::number(l.fileId) : QString();
}

void ExtlinkListModel::takePage(const Extlinks& page)
{
    qDebug() << "ExtlinkListModel::rGetExtlinkList - " << page.links.size();
    const bool first = page.offset == 0;
    QSet<QString> keys;
    if (!first) {
        for (const Extlink& l : qAsConst(m_rows))
            keys.insert(linkKey(l));
    }
    QList<Extlink> fresh;
    for (const Extlink& l : page.links) {
        const QString key = linkKey(l);
        if (!key.isEmpty() && keys.contains(key))
            continue;
        keys.insert(key);
        fresh.append(l);
    }
    m_refreshing = false;
    // Settled before views hear of the rows: a view may ask for the next
    // page right away. A full page that only repeats shown links ends it too.
    if (page.links.size() < m_pageSize || fresh.isEmpty())
        m_hasMore = false;
    if (first) {
        // The first page stands for the whole list: a refresh replaces what
        // was shown instead of adding it again.
        if (m_selected >= 0)
            setSelected(-1);
        beginResetModel();
        m_rows = fresh;
        m_offset = m_rows.size();
        m_isLoading = false;
        endResetModel();
    } else {
        if (!fresh.isEmpty()) {
            beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size() + fresh.size() - 1);
            m_rows += fresh;
            m_offset = m_rows.size();
            endInsertRows();
        }
        m_isLoading = false;
    }
    m_totalNum = m_rows.size();
    emit totalNumChanged();
    emit loadNumChanged();
    updateDefaultState();
}

void ExtlinkListModel::updateDefaultState()
{
    if (m_rows.isEmpty())
        defaultStateChange(DS_Empty, tr("No Extlink Can Add"));
    else
        defaultStateChange(DS_None, QString());
}

void ExtlinkListModel::resetData()
{
    if (m_refreshing)
        return;
    qDebug() << "ExtlinkListModel::resetData - ";
    m_refreshing = true;
    m_selected = -1;
    emit selectNumChanged();
    beginResetModel();
    m_hasMore = true;
    // Pages asked for before belong to the old list.
    m_pages.invalidate(false);
    m_isLoading = false;
    m_offset = 0;
    m_rows.clear();
    endResetModel();
    emit loadNumChanged();
}

void ExtlinkListModel::refershData()
{
    if (m_refreshing || m_offset > m_pageSize)
        return;
    m_refreshing = true;
    setSelected(-1);
    m_hasMore = true;
    m_pages.invalidate(false);
    m_isLoading = false;
    m_offset = 0;
    loadPage();
}

// Adding a received link -------------------------------------------------------

void ExtlinkListModel::addExtlink(QString url)
{
    const QString shareId = getShareIdFromUrl(url);
    qDebug() << "ExtlinkListModel::addExtlink - add url " << url << " => " << shareId;
    TidewellExtlink* e = extlink();
    if (!e)
        return;
    if (shareId.isEmpty()) {
        notifyStatus(2054, tr("input extlink"), TL_Info);
        return;
    }
    // The same link in another form (with its code, another scheme) is
    // still the same link; one just added is listed before the store has it.
    const auto sameLink = [&](const Extlink& l) { return l.shareId == shareId; };
    const bool held = std::any_of(m_rows.cbegin(), m_rows.cend(), sameLink)
        || std::any_of(m_adds.cbegin(), m_adds.cend(), sameLink);
    if (held || e->localExtlink(url)) {
        notifyStatus(1, tr("existed extlink"), TL_Success);
        return;
    }
    e->deviceShareGetInfo(m_handle, shareId, url);
}

void ExtlinkListModel::rDeviceShareGetInfo(TW_HANDLE handle, DeviceShareGetInfoResp resp,
                                           QString url)
{
    if (!mine(handle, "rDeviceShareGetInfo"))
        return;
    if (!resp.ok()) {
        notifyStatus(resp.code(), resp.message, TL_Info);
        return;
    }
    Extlink link = resp.toExtlink();
    link.url = url;
    if (link.extractedCode) {
        m_pending = link;
        emit extractedCodeExtlink(m_pending.toVariantMap());
        return;
    }
    insertLinkAt(sortedRow(link), link);
    storeLink(link);
}

void ExtlinkListModel::checkExtlink(QString url, QString code)
{
    const QString shareId = getShareIdFromUrl(url);
    TidewellExtlink* e = extlink();
    if (e && !shareId.isEmpty() && !code.isEmpty() && m_pending.shareId == shareId) {
        e->deviceShareGetToken(m_handle, shareId, code);
        return;
    }
    notifyStatus(1, tr("shareId or Code is null"), TL_Info);
}

void ExtlinkListModel::rDeviceShareGetToken(TW_HANDLE handle, DeviceShareGetTokenResp resp,
                                            QString extractedCode)
{
    if (!mine(handle, "rDeviceShareGetToken"))
        return;
    qDebug() << "ExtlinkListModel::rDeviceShareGetToken - " << resp.ok() << resp.message
             << extractedCode << resp.shareId;
    if (!resp.ok()) {
        notifyStatus(resp.code(), resp.message, TL_Info);
        return;
    }
    if (m_pending.shareId.isEmpty() || resp.shareId != m_pending.shareId)
        return;
    Extlink link = m_pending;
    // Done with: a second confirmation must not add the link again.
    m_pending = Extlink();
    link.deviceId = resp.deviceId;
    link.deviceToken = resp.deviceToken;
    link.userId = resp.userId;
    link.dcsCookie = resp.dcsCookie;
    link.code = extractedCode;
    insertLinkAt(sortedRow(link), link);
    storeLink(link);
    notifyStatus(1, tr("add extlink url ok"), TL_Success);
}

int ExtlinkListModel::sortedRow(const Extlink& link) const
{
    // The list is ordered by creation time, as its pages come.
    const auto before = [this](const Extlink& a, const Extlink& b) {
        return m_isSort ? a.createdDate < b.createdDate : a.createdDate > b.createdDate;
    };
    return int(std::lower_bound(m_rows.cbegin(), m_rows.cend(), link, before) - m_rows.cbegin());
}

void ExtlinkListModel::insertLinkAt(int row, const Extlink& link)
{
    beginInsertRows(QModelIndex(), row, row);
    m_rows.insert(row, link);
    endInsertRows();
    if (m_selected >= row)
        ++m_selected;
    m_offset = m_rows.size();
    emit loadNumChanged();
    updateDefaultState();
}

void ExtlinkListModel::removeLinkAt(int row)
{
    if (m_selected == row)
        setSelected(-1);
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.removeAt(row);
    endRemoveRows();
    if (m_selected > row)
        --m_selected;
    m_offset = m_rows.size();
    emit loadNumChanged();
    updateDefaultState();
}

void ExtlinkListModel::storeLink(const Extlink& link)
{
    TidewellExtlink* e = extlink();
    if (!e)
        return;
    const TW_HANDLE h = twNewHandle();
    m_adds.insert(h, link);
    e->addExtlink(h, link);
}

void ExtlinkListModel::rAddExtlink(TW_HANDLE handle, APIBase resp)
{
    if (!m_adds.contains(handle))
        return;
    const Extlink link = m_adds.take(handle);
    if (resp.ok())
        return;
    // Not stored: showing it would promise a link that is gone next start.
    const int row = m_rows.indexOf(link);
    if (row >= 0)
        removeLinkAt(row);
    notifyStatus(resp.code(), resp.message, TL_Error);
}

// Removing, copying, sharing ---------------------------------------------------

void ExtlinkListModel::operateRemove(int index)
{
    if (index < 0 || index >= m_rows.size())
        return;
    const Extlink link = m_rows.at(index);
    const TW_HANDLE h = twNewHandle();
    bool sent = false;
    if (TidewellDevice* d = device())
        sent = d->delExternalLink(h, {link.fileId});
    else if (TidewellExtlink* e = extlink())
        sent = e->removeExtlink(h, link);
    if (!sent)
        return;
    m_removals.insert(h, {link, index});
    removeLinkAt(index);
}

void ExtlinkListModel::rDelExternalLink(TW_HANDLE handle, DelExternalLinkResp resp)
{
    removalAnswered(handle, resp);
}

void ExtlinkListModel::rRemoveExtlink(TW_HANDLE handle, APIBase resp)
{
    removalAnswered(handle, resp);
}

void ExtlinkListModel::removalAnswered(TW_HANDLE handle, const APIBase& resp)
{
    if (!m_removals.contains(handle)) {
        mine(handle, "removalAnswered");
        return;
    }
    const Removal r = m_removals.take(handle);
    if (resp.ok()) {
        notifyStatus(1, tr("Delete Extlink Successful."), TL_Success);
        return;
    }
    // Still there on the device or in the store: show it again.
    if (!m_rows.contains(r.link))
        insertLinkAt(qBound(0, r.row, m_rows.size()), r.link);
    notifyStatus(resp.code(), resp.message, TL_Error);
}

void ExtlinkListModel::operateCopy(int index)
{
    if (index < 0 || index >= m_rows.size())
        return;
    const QString text = m_rows.at(index).linkWithCode();
    setClipboardText(text);
    notifyStatus(1, tr("copy:%1").arg(text), TL_Success);
}

void ExtlinkListModel::operateShare(int index)
{
    if (index < 0 || index >= m_rows.size())
        return;
    const Extlink& l = m_rows.at(index);
    QImage img;
    if (!createQRCode(l.url, img, 1))
        qWarning() << "ExtlinkListModel::operateShare - no QR image for" << l.shareId;
    emit showShareAlert(l.toVariantMap(), img);
}

void ExtlinkListModel::shareExtlink(QString type)
{
    if (m_selected < 0 || m_selected >= m_rows.size())
        return;
    const Extlink& l = m_rows.at(m_selected);
    if (type == "url") {
        setClipboardText(l.url);
        notifyStatus(1, tr("copyed url"), TL_Success);
    } else if (type == "code") {
        setClipboardText(l.code);
        notifyStatus(1, tr("copyed code"), TL_Success);
    } else if (type == "all") {
        setClipboardText(l.shareText());
        notifyStatus(1, tr("copyed all"), TL_Success);
    } else {
        const QUrl page = l.shareServiceUrl(type);
        if (page.isValid() && !page.isEmpty() && !openUrl(page)) {
            qWarning() << "ExtlinkListModel::shareExtlink - no browser opened" << page.toString();
            notifyStatus(100102, tr("No browser could be opened for the share page."), TL_Error);
        }
    }
}

// Selection ------------------------------------------------------------------

void ExtlinkListModel::setSelected(int row)
{
    const int old = m_selected;
    m_selected = row;
    const QVector<int> roles{SelectedRole};
    if (old >= 0 && old < m_rows.size())
        emit dataChanged(index(old), index(old), roles);
    if (row >= 0 && row < m_rows.size())
        emit dataChanged(index(row), index(row), roles);
    emit selectNumChanged();
}

void ExtlinkListModel::singleSelect(int itemIndex, bool isFocus)
{
    if (itemIndex == -1 && m_selected == -1)
        return;
    if (itemIndex < -1 || itemIndex >= m_rows.size())
        return;
    if (itemIndex != m_selected) {
        setSelected(itemIndex);
        return;
    }
    if (!isFocus)
        setSelected(-1);
}

QVariantMap ExtlinkListModel::get()
{
    if (m_selected < 0 || m_selected >= m_rows.size())
        return QVariantMap();
    return m_rows.at(m_selected).toVariantMap();
}
