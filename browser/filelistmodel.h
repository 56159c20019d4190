#pragma once

#include <QList>

#include "browser/baselistmodel.h"
#include "protocol/addtosafetyboxresp.h"
#include "protocol/apibase.h"
#include "protocol/copytoperipheralresp.h"
#include "protocol/copytosambresp.h"
#include "protocol/createexternallinkresp.h"
#include "protocol/deletedirorfileresp.h"
#include "protocol/modifydirresp.h"
#include "protocol/modifyfileresp.h"
#include "protocol/movedirorfileresp.h"
#include "protocol/myloveresp.h"
#include "protocol/relatelabelresp.h"

// A file list over TwFileInfo rows: selection, roles and the file
// operations through the device facade. Derived models decide how rows are
// fetched (loadData).
class FileListModel : public BaseListModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* my READ my NOTIFY myChanged)
    Q_PROPERTY(bool isFileModel READ isFileModel CONSTANT)
public:
    explicit FileListModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QObject* my() { return this; }
    bool isFileModel() const { return true; }
    const QList<TwFileInfo>& items() const { return m_items; }
    // Appends rows behind the last one (one insert notice).
    void appendItems(const QList<TwFileInfo>& items);

    void refreshData() override;
    void allSelect() override;
    void singleSelect(int itemIndex, bool isFocus = false) override;
    void multiSelect(int itemIndex) override;
    QVariantMap get(int itemIndex) override;
    void fileOpen() override;
    void fileDownload(QString savePath) override;
    void fileRename(QString newName) override;
    void fileRename(int itemIndex, QString newName) override;
    void fileDelete() override;
    void fileMove(QVariantMap folder) override;
    void fileMove(qlonglong targetId, QString diskSerial) override;
    QVariantList getSelectFolderIds() override;
    void fileCopyTo2(qlonglong targetId, QString diskSerial) override;
    void fileCopyTo(QVariantMap folder) override;
    void fileSharing(QJSValue data) override;
    void fileCancelShare() override;
    void fileCollect() override;
    void fileCancelCollect() override;
    void fileAddToLabel(QList<int> labelIds) override;
    void fileMoveToSafeBox() override;
    void fileCreateExtlink(QString title, QString extractedCode) override;
    int itemsOfKind(QList<TwFileInfo>& out, int kind) override;
    QList<TwFileInfo> selectedItems() override;
    bool isAll() override;
    int loadFileNum() override;
    bool selectIsFiles() override;
    bool selectIsLoves() override;
    void updateViewState(int code) override;
    bool removeItems(QMap<int, qint64> items) override;
    bool removeItem(qint64 fileId) override;
    void initConnect(bool isTw) override;
    void resetData() override;

public slots:
    void rThumbFinished(ThumbInfo info, int code, QString msg) override;
    void rAddDownFiles(TW_HANDLE handle, bool rs);
    void rAddDownAgain(TW_HANDLE handle);
    void rFileRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox,
                     ModifyFileResp resp);
    void rDirRename(TW_HANDLE handle, qlonglong fileId, QString newName, bool isSafeBox,
                    ModifyDirResp resp);
    void rFileDelete(TW_HANDLE handle, QMap<int, qint64> selection, DeleteDirOrFileResp resp);
    void rFileMove(TW_HANDLE handle, MoveDirOrFileResp resp, QMap<int, qint64> selection);
    void rFileMoveToSafeBox(TW_HANDLE handle, QMap<int, qint64> selection, AddToSafetyBoxResp resp);
    void rFileCollect(TW_HANDLE handle, QMap<int, qint64> selection, bool isLove, MyLoveResp resp);
    void rLabelRelate(TW_HANDLE handle, QMap<int, qint64> selection, QList<int> labelIds,
                      RelateLabelResp resp);
    void rDiskCopyToUsb(TW_HANDLE handle, QString path, QMap<int, qint64> ids,
                        CopyToPeripheralResp resp);
    void rDiskCopyToSamb(TW_HANDLE handle, QString diskSerial, QString path,
                         QMap<int, qint64> ids, CopyToSambResp resp);
    void rFileCopy(TW_HANDLE handle, APIBase resp);
    void rShareFileToAll(TW_HANDLE handle, int code, QString message);
    void rShareFileToUsers(TW_HANDLE handle, int code, QString message);
    void rShareFileToCancel(TW_HANDLE handle, int code, QString message);
    void rCreateExternalLink(TW_HANDLE handle, CreateExternalLinkResp resp);

signals:
    void myChanged();
    // A double click on this item: the page opens it.
    void openFile(QVariantMap fileInfo);
    // A link was made for the selection (its URL and extraction code).
    void extlinkCreated(QString url, QString extractedCode);

protected:
    void selectionChanged();
    int rowOfId(qint64 fileId) const;
    // Applies fn to the rows of a selection that still hold the same id.
    template <class Fn>
    void forSelected(const QMap<int, qint64>& selection, int role, Fn fn);
    // Some rows are selected and every one of them is pred.
    template <class Pred>
    bool selectionIs(Pred pred);
    // Sets a renamed row's name and path (and a file's type), then the view.
    void renamed(qint64 fileId, const QString& newName, const QString& filePath, bool isFile);
    // The map of a device folder for fileMove/fileCopyTo.
    static QVariantMap deviceFolder(qlonglong targetId, const QString& diskSerial);

    QList<TwFileInfo> m_items;
    int m_editIndex = -1;
    // Selections whose answers carry none.
    QMap<int, qint64> m_shareSel;
    int m_sharePublicType = 1;
    QString m_linkCode;
    // The hand-over being answered only started queued items again.
    bool m_downAgain = false;
};
