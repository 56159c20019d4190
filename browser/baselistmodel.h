#pragma once

#include <QJSValue>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QString>
#include <QUrl>
#include <QVariantList>
#include <QVariantMap>

#include "core/basemodel.h"
#include "core/facadebinding.h"
#include "core/twfileinfo.h"
#include "core/twhandle.h"
#include "transfer/pagerequest.h"
#include "transfer/thumbinfo.h"

class ThumbI;
class TidewellDevice;

// Base of the file-list models of the browser, media, sharing, public-group
// and link views: the facade and thumbnail service they work with, paging,
// the selection (row -> file id) and the file operations the pages call.
// The operations are virtual; those a model does not support do nothing.
class BaseListModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(QObject* thumb READ thumb WRITE setThumb NOTIFY thumbChanged)
    Q_PROPERTY(int fileNum READ fileNum WRITE setFileNum NOTIFY fileNumChanged)
    Q_PROPERTY(int loadFileNum READ loadFileNum NOTIFY loadFileNumChanged)
    Q_PROPERTY(int selectNum READ selectNum NOTIFY selectNumChanged)
    Q_PROPERTY(bool isAll READ isAll NOTIFY isAllChanged)
    Q_PROPERTY(bool isCheck READ isCheck NOTIFY isCheckChanged)
    Q_PROPERTY(int currentSelected READ currentSelected WRITE setCurrentSelected NOTIFY currentSelectedChanged)
    Q_PROPERTY(QString keyword READ keyword WRITE setKeyword NOTIFY keywordChanged)
    Q_PROPERTY(int modelType READ modelType WRITE setModelType NOTIFY modelTypeChanged)
    Q_PROPERTY(int docType READ docType WRITE setDocType NOTIFY docTypeChanged)
    Q_PROPERTY(int menuType READ menuType WRITE setMenuType NOTIFY menuTypeChanged)
    Q_PROPERTY(bool selectIsFiles READ selectIsFiles NOTIFY selectNumChanged)
    Q_PROPERTY(bool selectIsLoves READ selectIsLoves NOTIFY selectNumChanged)
    Q_PROPERTY(bool isExtlinkList READ isExtlinkList CONSTANT)
public:
    enum BaseListRole {
        FileNameRole = Qt::UserRole + 1,   // 257
        FileIconRole,                      // 258
        FileSizeRole,                      // 259
        FileTimeRole,                      // 260
        FileIdRole,                        // 261
        FileTypeRole,                      // 262
        FileThumbUrlRole,                  // 263
        FileIsLoveRole,                    // 264
        FileIsShareRole,                   // 265
        FileIsLabelRole,                   // 266
        FileIsFileRole,                    // 267
        SelectedRole,                      // 268
        FilePathRole,                      // 269
        FileOwerRole,                      // 270
        FileMd5Role,                       // 271
        FileCategoryRole,                  // 272
        EditTypeRole,                      // 273
    };
    Q_ENUM(BaseListRole)

    explicit BaseListModel(QObject* parent = nullptr);
    ~BaseListModel() override;

    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    TW_HANDLE handle() const { return m_handle; }
    QObject* tw() const { return m_tw.data(); }
    QObject* thumb() const { return m_thumb; }
    // The facade and the service behind the properties (null when unset or
    // of another kind).
    TidewellDevice* device() const;
    ThumbI* thumbI() const;
    int fileNum() const { return m_fileNum; }
    int currentSelected() const { return m_currentSelected; }
    QString keyword() const { return m_keyword; }
    int modelType() const { return m_modelType; }
    int docType() const { return m_docType; }
    int menuType() const { return m_menuType; }
    const QMap<int, qint64>& selection() const { return m_selectMap; }
    bool hasMore() const { return m_hasMore; }
    bool isLoading() const { return m_isLoading; }
    int pageSize() const { return m_pageSize; }

    // hasMore, page 1, offset 0, page size 60, fileNum 0, no selection; a
    // new listing (restartPaging).
    void resetPaging();
    // Items of a page whose ids are neither shown nor earlier in the page.
    static QList<TwFileInfo> unseen(const QList<TwFileInfo>& shown, const QList<TwFileInfo>& page);

    // Operations, in this order; the QML-callable ones from refreshData to
    // fileCreateExtlink.
    virtual bool isSearch();
    Q_INVOKABLE virtual void refreshData();
    Q_INVOKABLE virtual void allSelect();
    Q_INVOKABLE virtual void singleSelect(int itemIndex, bool isFocus = false);
    Q_INVOKABLE virtual void multiSelect(int itemIndex);
    Q_INVOKABLE virtual void newFolder(QString name);
    Q_INVOKABLE virtual void search(QString keyword);
    Q_INVOKABLE virtual void switchView(int viewType);
    Q_INVOKABLE virtual void newLabel(QString name);
    Q_INVOKABLE virtual void renameLabel(int labelId, QString name);
    Q_INVOKABLE virtual void deleteLabel(int labelId);
    Q_INVOKABLE virtual void back();
    Q_INVOKABLE virtual void switchDisk(QVariantMap disk);
    Q_INVOKABLE virtual QVariantMap get(int itemIndex);
    Q_INVOKABLE virtual void sortRow(int sortType, bool isSort);
    Q_INVOKABLE virtual void selectedChanged(int itemIndex);
    Q_INVOKABLE virtual void fileOpen();
    Q_INVOKABLE virtual void fileDownload(QString savePath);
    Q_INVOKABLE virtual void fileRename(QString newName);
    Q_INVOKABLE virtual void fileRename(int itemIndex, QString newName);
    Q_INVOKABLE virtual void fileDelete();
    Q_INVOKABLE virtual void fileMove(QVariantMap folder);
    Q_INVOKABLE virtual void fileMove(qlonglong targetId, QString diskSerial);
    Q_INVOKABLE virtual QVariantList getSelectFolderIds();
    Q_INVOKABLE virtual void fileCopyTo2(qlonglong targetId, QString diskSerial);
    Q_INVOKABLE virtual void fileCopyTo(QVariantMap folder);
    Q_INVOKABLE virtual void fileSharing(QJSValue data);
    Q_INVOKABLE virtual void fileCancelShare();
    Q_INVOKABLE virtual void fileCollect();
    Q_INVOKABLE virtual void fileCancelCollect();
    Q_INVOKABLE virtual void fileAddToLabel(QList<int> labelIds);
    Q_INVOKABLE virtual void fileMoveToSafeBox();
    Q_INVOKABLE virtual void fileClearUp();
    Q_INVOKABLE virtual void fileDeletePermanently();
    Q_INVOKABLE virtual void fileRestore();
    Q_INVOKABLE virtual void fileCreateExtlink(QString title, QString extractedCode);
    // Appends the loaded items whose type is kind, in row order; the size
    // of out.
    virtual int itemsOfKind(QList<TwFileInfo>& out, int kind);
    virtual void setTw(QObject* tw);
    virtual void setThumb(QObject* thumb);
    virtual void setFileNum(int num);
    virtual int selectNum();
    virtual QList<TwFileInfo> selectedItems();
    virtual bool isAll();
    virtual int loadFileNum();
    virtual bool isCheck();
    virtual bool isExtlinkList();
    virtual bool deviceMode();
    virtual void setCurrentSelected(int index);
    // The current row is the one an action on a single item takes (rename,
    // open): it is always a ticked row. Runs whenever the ticked set changes;
    // a current row no longer ticked hands over to the lowest ticked row, or
    // to none.
    virtual void followSelection();
    virtual void setKeyword(QString keyword);
    virtual void setModelType(int type);
    virtual void setDocType(int type);
    virtual void setMenuType(int type);
    virtual bool selectIsFiles();
    virtual bool selectIsLoves();
    // Code: 0 after a page, 2 rename, 3 move, 4 delete, 5 collect, 6 cancel
    // collect, 7 safe box, 14 labels, 16 download, 17 USB copy, 21 share.
    virtual void updateViewState(int code);
    virtual bool removeItems(QMap<int, qint64> items);
    virtual bool removeItem(qint64 fileId);
    // Connects the facade's answers (isTw) or the thumbnail service's.
    virtual void initConnect(bool isTw);
    // A connection to the facade, dropped when another facade is set, so no
    // answer arrives twice.
    void track(const QMetaObject::Connection& c) { m_tw.add(c); }
    // Asks the next page; fetchMore calls it while more may come.
    virtual void loadData();
    virtual int pageNo();
    // Thumbnail (pictures, videos) or type icon of an item.
    virtual QUrl fileIconUrl(const TwFileInfo& item);
    virtual void resetData();
    virtual void updateDefaultState();

public slots:
    // A thumbnail of the service arrived; the rows showing it refresh.
    virtual void rThumbFinished(ThumbInfo info, int code, QString msg);
    void onThumbFinished(ThumbInfo info, int code, QString msg) { rThumbFinished(info, code, msg); }

signals:
    void twChanged();
    void thumbChanged();
    void fileNumChanged();
    void loadFileNumChanged();
    void selectNumChanged();
    void isAllChanged();
    void isCheckChanged();
    void currentSelectedChanged();
    void keywordChanged();
    void modelTypeChanged();
    void docTypeChanged();
    void menuTypeChanged();

protected:
    // The share a thumbnail of this list is fetched on (the device's own
    // session by default).
    virtual NetworkShare thumbShare(const TwFileInfo& item);
    // Logs and says false when an answer is meant for another model.
    bool isMine(TW_HANDLE handle, const char* where) const;
    // An answer's result is success (1); a failure is toasted (level 2).
    bool succeeded(int result, const QString& message);
    // The selection's ids in row order.
    QList<qint64> selectedIds() const;

    // Paging by generation. A page request carries beginPage()'s handle
    // instead of the model's; restartPaging() starts a new listing, so a
    // page asked before it is dropped whenever it comes and the first page
    // of the new listing can be asked at once. overlay: the request shows
    // the busy overlay, which its answer (or pageNotSent) closes again,
    // also when the answer is dropped as stale.
    TW_HANDLE beginPage(bool overlay = true);
    // The facade did not send it: no answer will come.
    void pageNotSent(TW_HANDLE page);
    // True for the answer to the current listing's request (isLoading stays
    // set until the model has taken the rows). A late answer of an earlier
    // listing is dropped, another model's ignored.
    bool takePage(TW_HANDLE page, const char* where);
    void restartPaging();
    // A page failed: no more pages until the list is loaded again, so a view
    // that keeps asking does not flood a failing device.
    void stopPaging(const char* where);
    // A full page that brought no new row ends paging: the device repeats
    // itself and asking on would never end.
    void endIfRepeated(int received, int added, const char* where);
    // Rows left the device's list: a page on its way was asked at the old
    // position and would skip as many files, so it is dropped and the next
    // page asked from the new position.
    void listShifted();

    TW_HANDLE m_handle;
    FacadeBinding<> m_tw;
    QPointer<QObject> m_thumb;
    bool m_hasMore = true;
    bool m_isLoading = false;
    int m_page = 1;
    int m_loadFileNum = 0;       // offset of the next page request
    int m_pageSize = 60;
    bool m_isResetting = false;
    int m_fileNum = 0;
    QMap<int, qint64> m_selectMap;
    int m_currentSelected = -1;
    QString m_keyword;
    int m_modelType = 0;
    int m_docType = 0;
    int m_menuType = 0;
    PageRequest m_pages;
};
