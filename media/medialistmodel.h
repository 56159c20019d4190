#pragma once

#include <QList>
#include <QPointer>
#include <functional>

#include "browser/filelistmodel.h"
#include "protocol/modifydirresp.h"
#include "protocol/modifyfileresp.h"
#include "protocol/movedirorfileresp.h"

// The items of one day section of the date-grouped media list (rows and
// their selection as in a file list, roles and clicks of its own). Its group
// creates it, fills it and forwards the device's answers to it; the view
// drives its selection, which the group joins across sections.
class MediaListModel : public FileListModel
{
    Q_OBJECT
    Q_PROPERTY(QString sectionName READ sectionName NOTIFY sectionNameChanged)
    Q_PROPERTY(int groupIndex READ groupIndex WRITE setGroupIndex NOTIFY groupIndexChanged)
public:
    explicit MediaListModel(QObject* parent = nullptr);
    ~MediaListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    QHash<int, QByteArray> roleNames() const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    QString sectionName() const { return m_sectionName; }
    void setSectionName(const QString& name);
    int groupIndex() const { return m_groupIndex; }
    void setGroupIndex(int index);
    // The group that holds this section: it joins the selection across its
    // sections and hears of every change, except while clearing says it is
    // deselecting them itself.
    void setGroup(BaseListModel* group, std::function<bool()> clearing);
    // Rows of a page slice, behind the last one.
    void appendItems(const QList<TwFileInfo>& items);
    using FileListModel::rowOfId;

    Q_INVOKABLE QVariantMap get(int itemIndex) override;
    Q_INVOKABLE void allSelect() override;
    Q_INVOKABLE void singleSelect(int itemIndex, bool isFocus = false) override;
    Q_INVOKABLE void multiSelect(int itemIndex) override;
    void refreshData() override;
    void search(QString keyword) override;
    // Toast-only operations inside a group: the group sends the requests.
    void fileOpen() override;
    void fileDownload(QString savePath) override;
    void fileCopyTo2(qlonglong targetId, QString diskSerial) override;
    void fileSharing(QJSValue data) override;
    void fileAddToLabel(QList<int> labelIds) override;

    int selectNum() override;
    void setCurrentSelected(int index) override;
    void setMenuType(int type) override;
    void updateViewState(int code) override;
    bool removeItems(QMap<int, qint64> items) override;
    bool removeItem(qint64 fileId) override;
    void resetData() override;
    // Thumbnail results come through the group, not the service.
    void initConnect(bool isTw) override;

    // Answers the group forwards; they act on rows found by file id.
    void rMediaFilelist(TW_HANDLE handle, QList<TwFileInfo> items);
    bool rDirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox,
                    ModifyDirResp resp);
    bool rFileRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox,
                     ModifyFileResp resp);
    void rFileDelete(TW_HANDLE handle, QMap<int, qint64> selection);
    void rFileMove(TW_HANDLE handle, QMap<int, qint64> selection, qlonglong targetFolder,
                   MoveDirOrFileResp resp);
    void rFileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection);
    void rFileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove);
    void rShareFileToAll(TW_HANDLE handle, QMap<int, qint64> selection);
    void rShareFileToUsers(TW_HANDLE handle, QMap<int, qint64> selection);
    void rThumbFinished(ThumbInfo info, int code, QString msg) override;

signals:
    void sectionNameChanged();
    void groupIndexChanged();

private:
    BaseListModel* group() const { return m_group.data(); }
    void selectionNotices(int first, int last);
    void toastForSelection();
    void setPublicType(const QMap<int, qint64>& selection, int type);
    bool renameCurrent(const char* what, qlonglong fileId, const QString& newName,
                       const QString& filePath);

    QString m_sectionName;
    int m_groupIndex = 0;
    QPointer<BaseListModel> m_group;
    std::function<bool()> m_groupClearing;
};
