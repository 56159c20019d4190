#pragma once

#include <QList>

#include "browser/filelistmodel.h"
#include "protocol/getmediafilegroupresp.h"

class MediaListModel;

// The media of one category grouped by day: each row is a day section
// holding a MediaListModel with that day's items. The group pages the
// device's listing, runs the file operations on the selection of all
// sections and hands the answers to the sections holding the rows.
class GroupListModel : public FileListModel
{
    Q_OBJECT
public:
    enum GroupRole {
        SectionCountRole = 259,
        FileItemModelRole = 261,
        SectionTypeRole = 262,
        SectionNameRole = 267,
    };

    // A row of the combined selection: the section in the bits above the
    // low 24, the row in the low 24.
    static int selectionKey(int section, int row);
    static int keySection(int key);
    static int keyRow(int key);
    // Start of the local day of a time, in ms since the epoch.
    static QString dayKeyOf(qint64 msecs);

    explicit GroupListModel(QObject* parent = nullptr);
    ~GroupListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    Q_INVOKABLE bool canFetchMore(const QModelIndex& parent) const override;
    Q_INVOKABLE void fetchMore(const QModelIndex& parent) override;
    Q_INVOKABLE void fetchGroup();
    Q_INVOKABLE void search(QString keyword) override;
    Q_INVOKABLE void refreshData() override;
    Q_INVOKABLE QObject* getItem(int row);
    Q_INVOKABLE QVariantMap get(int row) override;
    Q_INVOKABLE void allSelect() override;
    Q_INVOKABLE void singleSelect(int itemIndex, bool isFocus = false) override;
    Q_INVOKABLE void multiSelect(int itemIndex) override;
    Q_INVOKABLE void sortRow(int sortType, bool isSort) override;
    Q_INVOKABLE void fileDownload(QString savePath) override;
    Q_INVOKABLE void fileRename(int index, QString newName) override;
    Q_INVOKABLE void fileDelete() override;
    Q_INVOKABLE QVariantList getSelectFolderIds() override;
    Q_INVOKABLE void fileMove(qlonglong targetId, QString diskSerial) override;
    Q_INVOKABLE void fileMove(QVariantMap data) override;
    Q_INVOKABLE void fileCopyTo2(qlonglong kind, QString path) override;
    Q_INVOKABLE void fileSharing(QJSValue data) override;
    Q_INVOKABLE void fileCollect() override;
    Q_INVOKABLE void fileCancelCollect() override;
    Q_INVOKABLE void fileAddToLabel(QList<int> labelIds) override;
    Q_INVOKABLE void fileMoveToSafeBox() override;
    // A link for the files selected in any section (grouplistmodellink.cpp).
    Q_INVOKABLE void fileCreateExtlink(QString title, QString extractedCode) override;

    int sectionCount() const { return m_sections.size(); }
    MediaListModel* section(int row) const;
    // The selection of every section under its combined key.
    QMap<int, qint64> selectedMap() const;
    // A combined selection split back per section.
    QMap<int, QMap<int, qint64>> groupItems(const QMap<int, qint64>& selection) const;

    int itemsOfKind(QList<TwFileInfo>& out, int kind) override;
    QList<TwFileInfo> selectedItems() override;
    int selectNum() override;
    bool isAll() override;
    bool isCheck() override;
    int loadFileNum() override;
    void selectedChanged(int itemIndex) override;
    // The current section is one that holds ticked rows.
    void followSelection() override;
    void updateViewState(int code) override;
    void initConnect(bool isTw) override;
    void loadData() override;
    void resetData() override;

public slots:
    void rAddDownFiles(TW_HANDLE handle, bool rs);
    void rThumbFinished(ThumbInfo info, int code, QString msg) override;
    void rMediaFilelist(TW_HANDLE handle, GetMediaFileGroupResp resp);
    void rFileRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox,
                     ModifyFileResp resp);
    void rDirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox,
                    ModifyDirResp resp);
    void rFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, DeleteDirOrFileResp resp);
    void rFileMove(TW_HANDLE handle, MoveDirOrFileResp resp, QMap<int, qint64> fileIds);
    void rFileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection, AddToSafetyBoxResp resp);
    void rFileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove, MyLoveResp resp);
    void rLabelRelate(TW_HANDLE handle, QMap<int, qint64> selection, QList<int> labelIds,
                      RelateLabelResp resp);
    void rDiskCopyToSamb(TW_HANDLE handle, QString diskSerial, QString path,
                         QMap<int, qint64> ids, CopyToSambResp resp);
    void rDiskCopyToUsb(TW_HANDLE handle, QString path, QMap<int, qint64> ids,
                        CopyToPeripheralResp resp);
    void onShareFileToAll(TW_HANDLE handle, int code, QString message);
    void onShareFileToUsers(TW_HANDLE handle, int code, QString message);

private:
    // Sends through the facade after the common checks; false when nothing
    // was sent.
    template <class Fn>
    bool send(Fn fn);
    bool takeAnswer(TW_HANDLE handle, const char* where, int result, int failCode, const QString& failText);
    void succeeded(int code, int viewCode);
    void shareAnswered(TW_HANDLE handle, int code, const QString& message, bool toAll);
    void sectionHeadersChanged(int first, int last);
    void selectionNotices();
    void clearSections();
    // The sections holding each id of a map, by file id.
    QMap<MediaListModel*, QMap<int, qint64>> byFileId(const QMap<int, qint64>& selection) const;
    void removeFromSections(const QMap<int, qint64>& selection);
    MediaListModel* currentSection() const;

    QList<MediaListModel*> m_sections;
    bool m_clearing = false;
    int m_offset = 0;
    int m_downloadCount = 0;
    // The selection the last share request was made for.
    QMap<int, qint64> m_shareSel;
};
