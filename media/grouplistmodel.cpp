#include "media/grouplistmodel.h"

#include <QDateTime>
#include <QDebug>

#include "core/common.h"
#include "core/twfolderinfo.h"
#include "device/tidewelldevice.h"
#include "media/medialistmodel.h"

namespace {
constexpr quint32 kRowBits = 24;
constexpr quint32 kRowMask = (1u << kRowBits) - 1;
constexpr int kPageSize = 60;
}

// Unsigned arithmetic: sections from 128 up set the sign bit of the key.
int GroupListModel::selectionKey(int section, int row)
{
    return static_cast<int>((static_cast<quint32>(section) << kRowBits) | (static_cast<quint32>(row) & kRowMask));
}

int GroupListModel::keySection(int key)
{
    return static_cast<int>(static_cast<quint32>(key) >> kRowBits);
}

int GroupListModel::keyRow(int key)
{
    return static_cast<int>(static_cast<quint32>(key) & kRowMask);
}

// startOfDay: a day whose midnight falls in a DST gap starts at the first
// valid time, so every time of that day gives the same key.
QString GroupListModel::dayKeyOf(qint64 msecs)
{
    const QDate day = QDateTime::fromMSecsSinceEpoch(msecs, Qt::LocalTime).date();
    return QString::number(day.startOfDay(Qt::LocalTime).toMSecsSinceEpoch());
}

GroupListModel::GroupListModel(QObject* parent) : FileListModel(parent)
{
    qDebug() << "GroupListModel::GroupListModel - ";
}

GroupListModel::~GroupListModel()
{
    qDebug() << "GroupListModel::~GroupListModel - " << m_sections.size();
    qDeleteAll(m_sections);
}

MediaListModel* GroupListModel::section(int row) const
{
    return row >= 0 && row < m_sections.size() ? m_sections.at(row) : nullptr;
}

int GroupListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_sections.size();
}

QVariant GroupListModel::data(const QModelIndex& index, int role) const
{
    MediaListModel* s = index.isValid() ? section(index.row()) : nullptr;
    if (!s)
        return QVariant();
    switch (role) {
    case SectionCountRole: return s->rowCount();
    case FileItemModelRole: return QVariant::fromValue<QObject*>(s);
    case SectionTypeRole: {
        const int cur = s->currentSelected();
        return cur >= 0 && cur < s->items().size() ? s->items().at(cur).type : 0;
    }
    case SectionNameRole:
        return QStringLiteral("%1_%2_%3_%4")
            .arg(s->sectionName())
            .arg(index.row())
            .arg(s->rowCount())
            .arg(s->isAll() ? 1 : 0);
    default: return QVariant();
    }
}

QHash<int, QByteArray> GroupListModel::roleNames() const
{
    return {
        {FileItemModelRole, "$FileItemModel"},
        {SectionTypeRole, "$FileType"},
        {SectionNameRole, "$SectionName"},
    };
}

bool GroupListModel::canFetchMore(const QModelIndex& parent) const
{
    return FileListModel::canFetchMore(parent);
}

void GroupListModel::fetchMore(const QModelIndex& parent)
{
    if (parent.isValid())
        return;
    loadData();
}

void GroupListModel::fetchGroup()
{
    fetchMore(QModelIndex());
}

void GroupListModel::loadData()
{
    // Without a device nothing can be asked yet (a view asks as soon as it
    // has the model): the first page is asked when the facade is set.
    TidewellDevice* d = device();
    if (m_isLoading || !m_hasMore || !d)
        return;
    const TW_HANDLE page = beginPage();
    if (!d->mediaFilelist(page, Common::FileType(m_modelType), m_offset, kPageSize, 1, false)) {
        pageNotSent(page);
        notifyStatus(100101, tr("Network Error"), 2);
    }
}

void GroupListModel::search(QString keyword)
{
    qDebug() << "GroupListModel::search - " << keyword;
    setKeyword(keyword);
    refreshData();
}

// Not blocked by a running request: that request's answer is dropped.
void GroupListModel::refreshData()
{
    resetData();
}

void GroupListModel::resetData()
{
    beginResetModel();
    clearSections();
    resetPaging();
    m_offset = 0;
    endResetModel();
    emit selectNumChanged();
    emit loadFileNumChanged();
}

void GroupListModel::clearSections()
{
    qDeleteAll(m_sections);
    m_sections.clear();
}

void GroupListModel::rMediaFilelist(TW_HANDLE handle, GetMediaFileGroupResp resp)
{
    if (!takePage(handle, "GroupListModel::rMediaFilelist -"))
        return;
    if (resp.result != 1) {
        stopPaging("GroupListModel::rMediaFilelist -");
        // The device's words, or what became of its answer; an empty list
        // keeps them in its place.
        if (m_sections.isEmpty())
            defaultStateChange(DS_Error, resp.message);
        notifyStatus(100202, resp.message, TL_Error);
        return;
    }
    QList<TwFileInfo> shown;
    for (MediaListModel* s : qAsConst(m_sections))
        shown += s->items();
    const QList<TwFileInfo> fresh = unseen(shown, resp.fileList);
    // Settled before the sections change: a view may ask for more at once.
    const int n = resp.fileList.size();
    if (n < kPageSize)
        m_hasMore = false;
    endIfRepeated(n, fresh.size(), "GroupListModel::rMediaFilelist -");
    // The device's position: the next page starts behind this one.
    m_offset += n;
    QStringList keys;
    QMap<QString, QList<TwFileInfo>> byDay;
    for (TwFileInfo item : fresh) {
        if (item.dayKey.isEmpty())
            item.dayKey = dayKeyOf(item.lastModified);
        if (!byDay.contains(item.dayKey))
            keys << item.dayKey;
        byDay[item.dayKey].append(item);
    }
    for (const QString& key : keys) {
        int row = -1;
        for (int i = 0; i < m_sections.size(); ++i) {
            if (m_sections.at(i)->sectionName() == key) {
                row = i;
                break;
            }
        }
        if (row >= 0) {
            m_sections.at(row)->appendItems(byDay.value(key));
            emit dataChanged(index(row), index(row), {SectionCountRole, FileItemModelRole, SectionNameRole});
            continue;
        }
        row = m_sections.size();
        beginInsertRows(QModelIndex(), row, row);
        // Parented, so a script that reads a section never owns it.
        auto* s = new MediaListModel(this);
        s->setTw(this);
        s->setGroup(this, [this] { return m_clearing; });
        s->setThumb(m_thumb);
        s->setModelType(m_modelType);
        s->setSectionName(key);
        s->setGroupIndex(row);
        s->appendItems(byDay.value(key));
        m_sections.append(s);
        endInsertRows();
    }
    m_isLoading = false;
    setFileNum(m_fileNum + fresh.size());
    emit loadFileNumChanged();
    emit isAllChanged();
    emit isCheckChanged();
    updateViewState(0);
}

QObject* GroupListModel::getItem(int row)
{
    return section(row);
}

QVariantMap GroupListModel::get(int row)
{
    qDebug() << "GroupListModel::get - call row." << row;
    if (row == -1 || row == -2)
        row = m_currentSelected;
    MediaListModel* s = section(row);
    return s ? s->get(-1) : QVariantMap();
}

MediaListModel* GroupListModel::currentSection() const
{
    return section(m_currentSelected);
}

void GroupListModel::sectionHeadersChanged(int first, int last)
{
    if (!m_sections.isEmpty() && first <= last)
        emit dataChanged(index(first), index(last), {SectionNameRole});
}

void GroupListModel::selectionNotices()
{
    emit selectNumChanged();
    emit isAllChanged();
    emit isCheckChanged();
}

void GroupListModel::singleSelect(int itemIndex, bool)
{
    if (itemIndex == -1) {
        m_clearing = true;
        for (MediaListModel* s : qAsConst(m_sections))
            s->singleSelect(-1, false);
        m_clearing = false;
    }
    sectionHeadersChanged(0, m_sections.size() - 1);
    selectionNotices();
}

void GroupListModel::multiSelect(int itemIndex)
{
    MediaListModel* s = section(itemIndex);
    if (!s)
        return;
    s->allSelect();
    sectionHeadersChanged(itemIndex, itemIndex);
    selectionNotices();
}

void GroupListModel::allSelect()
{
    const bool all = isAll();
    for (MediaListModel* s : qAsConst(m_sections)) {
        if (s->isAll() == all)
            s->allSelect();
    }
    sectionHeadersChanged(0, m_sections.size() - 1);
    emit isAllChanged();
    emit selectNumChanged();
    emit isCheckChanged();
}

void GroupListModel::selectedChanged(int)
{
    sectionHeadersChanged(0, m_sections.size() - 1);
    selectionNotices();
}

void GroupListModel::followSelection()
{
    if (MediaListModel* s = currentSection(); s && s->selectNum() > 0)
        return;
    int row = -1;
    for (int i = 0; i < m_sections.size() && row < 0; ++i)
        if (m_sections.at(i)->selectNum() > 0)
            row = i;
    setCurrentSelected(row);
}

QMap<int, qint64> GroupListModel::selectedMap() const
{
    QMap<int, qint64> out;
    for (int g = 0; g < m_sections.size(); ++g) {
        const QMap<int, qint64>& sel = m_sections.at(g)->selection();
        for (auto it = sel.cbegin(); it != sel.cend(); ++it) {
            int key = selectionKey(g, it.key());
            // More than 256 sections wrap: keep every entry under a free key;
            // answers find their rows by file id.
            while (out.contains(key))
                key = static_cast<int>(static_cast<quint32>(key) + 1);
            out.insert(key, it.value());
            qDebug() << "GroupListModel::selectedItems - group r " << key << g << it.key() << it.value();
        }
    }
    return out;
}

QMap<int, QMap<int, qint64>> GroupListModel::groupItems(const QMap<int, qint64>& selection) const
{
    QMap<int, QMap<int, qint64>> out;
    for (auto it = selection.cbegin(); it != selection.cend(); ++it) {
        const int g = keySection(it.key());
        const int row = keyRow(it.key());
        qDebug() << "GroupListModel::groupItems - group r " << it.key() << g << row << it.value();
        out[g].insert(row, it.value());
    }
    return out;
}

QMap<MediaListModel*, QMap<int, qint64>> GroupListModel::byFileId(const QMap<int, qint64>& selection) const
{
    QMap<MediaListModel*, QMap<int, qint64>> out;
    for (auto it = selection.cbegin(); it != selection.cend(); ++it) {
        // The section named by the key first, then any holding the id.
        MediaListModel* hint = section(keySection(it.key()));
        MediaListModel* found = nullptr;
        if (hint && hint->rowOfId(it.value()) >= 0) {
            found = hint;
        } else {
            for (MediaListModel* s : m_sections) {
                if (s->rowOfId(it.value()) >= 0) {
                    found = s;
                    break;
                }
            }
        }
        if (found)
            out[found].insert(found->rowOfId(it.value()), it.value());
    }
    return out;
}

int GroupListModel::itemsOfKind(QList<TwFileInfo>& out, int kind)
{
    for (MediaListModel* s : qAsConst(m_sections))
        s->itemsOfKind(out, kind);
    return out.size();
}

QList<TwFileInfo> GroupListModel::selectedItems()
{
    QList<TwFileInfo> out;
    for (MediaListModel* s : qAsConst(m_sections))
        out << s->selectedItems();
    return out;
}

int GroupListModel::selectNum()
{
    int n = 0;
    for (MediaListModel* s : qAsConst(m_sections))
        n += s->selectNum();
    return n;
}

bool GroupListModel::isAll()
{
    if (m_sections.isEmpty())
        return false;
    for (MediaListModel* s : qAsConst(m_sections)) {
        if (!s->isAll())
            return false;
    }
    return true;
}

bool GroupListModel::isCheck()
{
    return selectNum() > 0;
}

int GroupListModel::loadFileNum()
{
    int n = 0;
    for (MediaListModel* s : qAsConst(m_sections))
        n += s->loadFileNum();
    return n;
}

void GroupListModel::updateViewState(int code)
{
    if (code != 2) {
        emit fileNumChanged();
        emit loadFileNumChanged();
    }
    singleSelect(-1, false);
    if (code == 2)
        return;
    if (!m_sections.isEmpty())
        defaultStateChange(DS_None, QString());
    else
        defaultStateChange(DS_Empty, tr("No File"));
}

template <class Fn>
bool GroupListModel::send(Fn fn)
{
    if (selectNum() == 0) {
        notifyStatus(100200, tr("not selected item."), 0);
        return false;
    }
    TidewellDevice* d = device();
    if (!d || !fn(d)) {
        notifyStatus(100101, tr("Network Error"), 2);
        return false;
    }
    emit sg_showLoading();
    return true;
}

void GroupListModel::sortRow(int, bool)
{
    notifyStatus(100201, tr("No Support Now."), 2);
}

void GroupListModel::fileDownload(QString savePath)
{
    const QList<TwFileInfo> items = selectedItems();
    if (send([&](TidewellDevice* d) { return d->addDownFilesPlain(m_handle, savePath, items); }))
        m_downloadCount = items.size();
}

void GroupListModel::fileRename(int, QString newName)
{
    MediaListModel* s = currentSection();
    const QVariantMap cur = s ? s->get(-1) : QVariantMap();
    if (cur.isEmpty()) {
        notifyStatus(100200, tr("not selected item."), 0);
        return;
    }
    const TwFileInfo f = TwFileInfo::fromVariantMap(cur);
    if (f.isFile) {
        const int dot = f.name.lastIndexOf('.');
        if (dot > 0)
            newName += f.name.mid(dot);
        qDebug() << "--------newName:" << newName;
    }
    TidewellDevice* d = device();
    const bool sent = d && (f.isFile ? d->fileRename(m_handle, f.id, newName, false)
                                     : d->dirRename(m_handle, f.id, newName, false));
    if (!sent) {
        notifyStatus(100101, tr("Network Error"), 2);
        return;
    }
    emit sg_showLoading();
}

void GroupListModel::fileDelete()
{
    const QMap<int, qint64> sel = selectedMap();
    send([&](TidewellDevice* d) { return d->fileDelete(m_handle, sel, false); });
}

QVariantList GroupListModel::getSelectFolderIds()
{
    return QVariantList();
}

void GroupListModel::fileMove(qlonglong, QString) {}

void GroupListModel::fileMove(QVariantMap data)
{
    const QMap<int, qint64> sel = selectedMap();
    const TwFolderInfo target = TwFolderInfo::fromVariantMap(data);
    send([&](TidewellDevice* d) { return d->fileMove(m_handle, target, sel); });
}

void GroupListModel::fileCopyTo2(qlonglong kind, QString path)
{
    if (kind != 2 && kind != 3)
        return;
    const QMap<int, qint64> sel = selectedMap();
    send([&](TidewellDevice* d) {
        return kind == 2 ? d->diskCopyToUsb(m_handle, path, sel)
                         : d->diskCopyToSamb(m_handle, path, QString(), sel);
    });
}

void GroupListModel::fileSharing(QJSValue data)
{
    if (selectNum() == 0) {
        notifyStatus(100200, tr("not selected item."), 0);
        return;
    }
    emit sg_showLoading();
    m_shareSel = selectedMap();
    const QList<qint64> ids = m_shareSel.values();
    TidewellDevice* d = device();
    if (!d)
        return;
    if (data.property("isPublic").toBool()) {
        d->shareFileToAll(m_handle, ids);
        return;
    }
    const QJSValue arr = data.property("accessIds");
    const int len = arr.property("length").toInt();
    QStringList accessIds;
    for (int i = 0; i < len; ++i)
        accessIds << arr.property(quint32(i)).toString();
    d->shareFileToUsers(m_handle, ids, accessIds);
}

void GroupListModel::fileCollect()
{
    const QMap<int, qint64> sel = selectedMap();
    send([&](TidewellDevice* d) { return d->fileCollect(m_handle, sel, true); });
}

void GroupListModel::fileCancelCollect()
{
    const QMap<int, qint64> sel = selectedMap();
    send([&](TidewellDevice* d) { return d->fileCollect(m_handle, sel, false); });
}

void GroupListModel::fileAddToLabel(QList<int> labelIds)
{
    const QMap<int, qint64> sel = selectedMap();
    send([&](TidewellDevice* d) { return d->labelRelate(m_handle, sel, labelIds); });
}

void GroupListModel::fileMoveToSafeBox()
{
    const QMap<int, qint64> sel = selectedMap();
    send([&](TidewellDevice* d) { return d->fileMoveToSafeBox(m_handle, sel); });
}

void GroupListModel::initConnect(bool isTw)
{
    if (!isTw) {
        if (m_thumb)
            connect(m_thumb, SIGNAL(sFinished(ThumbInfo,int,QString)), this,
                    SLOT(rThumbFinished(ThumbInfo,int,QString)), Qt::UniqueConnection);
        return;
    }
    TidewellDevice* d = device();
    if (!d)
        return;
    connect(d, &TidewellDevice::rAddDownFiles, this, &GroupListModel::rAddDownFiles, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rMediaFilelist, this, &GroupListModel::rMediaFilelist, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rFileRename, this, &GroupListModel::rFileRename, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rDirRename, this, &GroupListModel::rDirRename, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rFileDelete, this, &GroupListModel::rFileDelete, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rFileMove, this, &GroupListModel::rFileMove, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rFileMoveToSafeBox, this, &GroupListModel::rFileMoveToSafeBox,
            Qt::UniqueConnection);
    connect(d, &TidewellDevice::rFileCollect, this, &GroupListModel::rFileCollect, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rLabelRelate, this, &GroupListModel::rLabelRelate, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rDiskCopyToSamb, this, &GroupListModel::rDiskCopyToSamb, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rDiskCopyToUsb, this, &GroupListModel::rDiskCopyToUsb, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rShareFileToAll, this, &GroupListModel::onShareFileToAll, Qt::UniqueConnection);
    connect(d, &TidewellDevice::rShareFileToUsers, this, &GroupListModel::onShareFileToUsers,
            Qt::UniqueConnection);
}

void GroupListModel::rAddDownFiles(TW_HANDLE handle, bool rs)
{
    if (!isMine(handle, "GroupListModel::rAddDownFiles -"))
        return;
    emit sg_cancelLading();
    if (rs) {
        notifyStatus(1, tr("%1 File have been added for download").arg(m_downloadCount), 0);
        updateViewState(16);
    } else {
        notifyStatus(303, tr("Failed to add file to download"), 2);
    }
}

void GroupListModel::rThumbFinished(ThumbInfo info, int code, QString msg)
{
    if (code != 1 && code != 100310) {
        qDebug() << "GroupListModel::rThumbFinished - info " << info.fileId << code << msg;
        return;
    }
    for (MediaListModel* s : qAsConst(m_sections))
        s->rThumbFinished(info, code, msg);
}

// The head of every answer: foreign answers are dropped, the overlay goes
// and a failure is reported; true when the device did what was asked.
bool GroupListModel::takeAnswer(TW_HANDLE handle, const char* where, int result, int failCode,
                                const QString& failText)
{
    if (!isMine(handle, where))
        return false;
    emit sg_cancelLading();
    if (result != 1) {
        notifyStatus(failCode, failText, 2);
        return false;
    }
    return true;
}

void GroupListModel::succeeded(int code, int viewCode)
{
    notifyStatus(code, tr("Operation Successfully."), 1);
    updateViewState(viewCode);
}

void GroupListModel::rFileRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox,
                                 ModifyFileResp resp)
{
    if (!takeAnswer(handle, "GroupListModel::rFileRename -", resp.result, 100221,
                    tr("Rename file failed(%1)").arg(resp.result)))
        return;
    MediaListModel* s = currentSection();
    if (s && s->rFileRename(handle, fileId, newName, isSafeBox, resp))
        succeeded(100220, 2);
}

void GroupListModel::rDirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox,
                                ModifyDirResp resp)
{
    if (!takeAnswer(handle, "GroupListModel::rDirRename -", resp.result, 100221,
                    tr("Rename file failed(%1)").arg(resp.result)))
        return;
    MediaListModel* s = currentSection();
    if (s && s->rDirRename(handle, fileId, newName, isSafeBox, resp))
        succeeded(100220, 2);
}

void GroupListModel::removeFromSections(const QMap<int, qint64>& selection)
{
    const auto parts = byFileId(selection);
    int removed = 0;
    for (auto it = parts.cbegin(); it != parts.cend(); ++it) {
        const int before = it.key()->rowCount();
        it.key()->removeItems(it.value());
        removed += before - it.key()->rowCount();
    }
    m_offset = qMax(0, m_offset - removed);
    if (removed > 0) {
        listShifted();
        setFileNum(qMax(0, m_fileNum - removed));
    }
    // Section rows stay (with their new counts) until the next refresh.
    emit dataChanged(index(0), index(qMax(0, m_sections.size() - 1)), {SectionCountRole, SectionNameRole});
}

void GroupListModel::rFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, DeleteDirOrFileResp resp)
{
    if (!takeAnswer(handle, "GroupListModel::rFileDelete -", resp.result, 100231,
                    tr("Delete files failed(%1)").arg(resp.result)))
        return;
    removeFromSections(selection);
    succeeded(100230, 4);
}

void GroupListModel::rFileMove(TW_HANDLE handle, MoveDirOrFileResp resp, QMap<int, qint64>)
{
    if (takeAnswer(handle, "GroupListModel::rFileMove -", resp.result, 100241,
                   tr("Move files failed(%1)").arg(resp.result)))
        succeeded(100240, 3);
}

void GroupListModel::rFileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection,
                                        AddToSafetyBoxResp resp)
{
    if (!takeAnswer(handle, "GroupListModel::rFileMoveToSafeBox -", resp.result, 100251,
                    tr("Move files to Safe Box failed(%1)").arg(resp.result)))
        return;
    removeFromSections(selection);
    succeeded(100250, 7);
}

void GroupListModel::rFileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove,
                                  MyLoveResp resp)
{
    if (!takeAnswer(handle, "GroupListModel::rFileCollect -", resp.result, 100261,
                    tr("File Collect failed(%1)").arg(resp.result)))
        return;
    const auto parts = byFileId(selection);
    for (auto it = parts.cbegin(); it != parts.cend(); ++it)
        it.key()->rFileCollect(handle, it.value(), isLove);
    succeeded(100260, isLove ? 5 : 6);
}

void GroupListModel::rLabelRelate(TW_HANDLE handle, QMap<int, qint64>, QList<int>, RelateLabelResp resp)
{
    if (takeAnswer(handle, "GroupListModel::rLabelRelate -", resp.result, 100261,
                   tr("File Collect failed(%1)").arg(resp.result)))
        succeeded(100260, 14);
}

void GroupListModel::rDiskCopyToSamb(TW_HANDLE handle, QString, QString, QMap<int, qint64>,
                                     CopyToSambResp resp)
{
    if (takeAnswer(handle, "GroupListModel::rDiskCopyToSamb -", resp.result, 100202, resp.message))
        succeeded(100201, 16);
}

void GroupListModel::rDiskCopyToUsb(TW_HANDLE handle, QString, QMap<int, qint64>, CopyToPeripheralResp resp)
{
    if (takeAnswer(handle, "GroupListModel::rDiskCopyToUsb -", resp.result, 100202, resp.message))
        succeeded(100201, 17);
}

// The answer names no files: the rows are those the request was made for.
void GroupListModel::shareAnswered(TW_HANDLE handle, int code, const QString& message, bool toAll)
{
    if (!takeAnswer(handle, toAll ? "GroupListModel::onShareFileToAll -" : "GroupListModel::onShareFileToUsers -",
                    code, 100202, message))
        return;
    const auto parts = byFileId(m_shareSel);
    for (auto it = parts.cbegin(); it != parts.cend(); ++it) {
        if (toAll)
            it.key()->rShareFileToAll(handle, it.value());
        else
            it.key()->rShareFileToUsers(handle, it.value());
    }
    succeeded(100201, 21);
}

void GroupListModel::onShareFileToAll(TW_HANDLE handle, int code, QString message)
{
    shareAnswered(handle, code, message, true);
}

void GroupListModel::onShareFileToUsers(TW_HANDLE handle, int code, QString message)
{
    shareAnswered(handle, code, message, false);
}
