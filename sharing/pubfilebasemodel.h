#pragma once

#include <QList>

#include "core/pubgroupinfo.h"
#include "protocol/apibase.h"
#include "protocol/createpubdirresp.h"
#include "sharing/filerowsmodel.h"

// One folder of a public group and the file operations of the group space:
// download, new folder, rename, delete, move within the group and copy out
// of it. Loading pages is PubFileListModel's.
class PubFileBaseModel : public FileRowsModel
{
    Q_OBJECT
    Q_PROPERTY(bool isSort READ isSort WRITE setIsSort NOTIFY isSortChanged)
    Q_PROPERTY(int sortType READ sortType WRITE setSortType NOTIFY sortTypeChanged)
    Q_PROPERTY(QVariantMap my READ my WRITE setMy NOTIFY myChanged)
    Q_PROPERTY(QVariantMap parentModel READ parentModel NOTIFY parentChange)
    Q_PROPERTY(QVariantMap groupInfo READ groupInfo WRITE setGroupInfo NOTIFY groupInfoChanged)
    Q_PROPERTY(bool isAuth READ isAuth NOTIFY isAuthChanged)
public:
    explicit PubFileBaseModel(QObject* parent = nullptr);

    bool isSort() const { return m_isSort; }
    void setIsSort(bool isSort);
    int sortType() const { return m_sortType; }
    void setSortType(int sortType);
    QVariantMap my() const { return m_my.toVariantMap(); }
    void setMy(const QVariantMap& my);
    QVariantMap parentModel() const;
    QVariantMap groupInfo() const { return m_group.toMap(); }
    void setGroupInfo(const QVariantMap& info);
    bool isAuth() const { return m_group.memberAuthority < 2; }
    const PubGroupInfo& group() const { return m_group; }

    bool isSearch() override;
    void refreshData() override;
    void newFolder(QString name) override;
    void fileDownload(QString savePath) override;
    void fileRename(QString newName) override;
    void fileDelete() override;
    void fileMove(qlonglong targetId, QString diskSerial) override;
    void fileCopyTo(QVariantMap folder) override;
    void initConnect(bool isTw) override;
    Q_INVOKABLE void openFileItem(int itemIndex);

    // The name a rename sends: a file keeps its suffix.
    static QString renamedName(const TwFileInfo& item, const QString& newName);

signals:
    void isSortChanged();
    void sortTypeChanged();
    void myChanged();
    void parentChange();
    void groupInfoChanged();
    void isAuthChanged();
    void openFolder(QVariantMap fileInfo);

public slots:
    void onModifyPubDirOrFile(TW_HANDLE handle, APIBase respData, QString newFileName);
    void onDeletePubDirOrFile(TW_HANDLE handle, APIBase respData);
    void onMoviePubDirOrFile(TW_HANDLE handle, APIBase respData, QList<qint64> rmFileIds);
    void onFileCopy(TW_HANDLE handle, APIBase resp);
    void onCreatePubDir(TW_HANDLE handle, CreatePubDirResp respData);

protected:
    bool handOver(const QString& savePath, const QList<TwFileInfo>& items) override;
    void downloadBusy(bool on) override;
    // Rows left the list on the device: fileNum follows, and a list with
    // few rows left but more on the device starts again.
    void afterRemoval(int removedOnDevice);

    PubGroupInfo m_group;
    TwFileInfo m_my;
    bool m_isSort = false;
    int m_sortType = 3;

private:
    // The files each request in flight named, oldest first: answers act on
    // these rows, not on what is selected when they arrive.
    QList<qint64> m_renaming;
    QList<QList<qint64>> m_deleting;
};
