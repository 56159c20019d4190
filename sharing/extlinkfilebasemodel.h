#pragma once

#include <QVariantMap>

#include "core/extlink.h"
#include "core/networkshare.h"
#include "core/twfileinfo.h"
#include "sharing/filerowsmodel.h"

class TidewellExtlink;

// The files behind one external link, one level (the link's top or one
// folder in it) per model. Device mode (facade TidewellDevice): a link the
// user created on the open device, read only. Client mode (facade
// TidewellExtlink): a received link, read over its own session; the
// selection can be saved into the application's download queue.
class ExtlinkFileBaseModel : public FileRowsModel
{
    Q_OBJECT
    Q_PROPERTY(bool isSort READ isSort WRITE setIsSort NOTIFY isSortChanged)
    Q_PROPERTY(int sortType READ sortType WRITE setSortType NOTIFY sortTypeChanged)
    Q_PROPERTY(QVariantMap my READ my WRITE setMy NOTIFY myChanged)
    Q_PROPERTY(bool deviceMode READ deviceMode WRITE setDeviceMode NOTIFY deviceModeChanged)
    Q_PROPERTY(QVariantMap parentModel READ parentModel NOTIFY parentChange)
    Q_PROPERTY(QVariantMap extlinkInfo READ extlinkInfo WRITE setExtlinkInfo NOTIFY extlinkInfoChanged)
public:
    // The file-type code by which folder expansion walks a link folder.
    static constexpr int kLinkFileType = 7;

    explicit ExtlinkFileBaseModel(QObject* parent = nullptr);

    bool isSort() const { return m_isSort; }
    void setIsSort(bool on);
    int sortType() const { return m_sortType; }
    void setSortType(int type);
    QVariantMap my() const { return m_my.toVariantMap(); }
    void setMy(const QVariantMap& map);
    bool deviceMode() override { return m_deviceMode; }
    void setDeviceMode(bool on);
    QVariantMap parentModel() const;
    QVariantMap extlinkInfo() const { return m_link.toVariantMap(); }
    void setExtlinkInfo(const QVariantMap& map);
    const Extlink& link() const { return m_link; }

    Q_INVOKABLE QVariantMap get(int itemIndex) override { return FileRowsModel::get(itemIndex); }
    Q_INVOKABLE void refreshData() override;
    Q_INVOKABLE void allSelect() override { FileRowsModel::allSelect(); }
    Q_INVOKABLE void singleSelect(int itemIndex, bool isFocus) override
    {
        FileRowsModel::singleSelect(itemIndex, isFocus);
    }
    Q_INVOKABLE void singleSelect(int itemIndex) { singleSelect(itemIndex, false); }
    Q_INVOKABLE void multiSelect(int itemIndex) override { FileRowsModel::multiSelect(itemIndex); }
    Q_INVOKABLE void fileDownload(QString savePath) override;
    Q_INVOKABLE void fileOpen() override { FileRowsModel::fileOpen(); }
    Q_INVOKABLE QVariantList getSelectFolderIds() override { return FileRowsModel::getSelectFolderIds(); }
    Q_INVOKABLE void openFileItem(int itemIndex);
    Q_INVOKABLE NetworkShare share() const;

    void resetData() override;
    void setTw(QObject* tw) override;

signals:
    void myChanged();
    void deviceModeChanged();
    void isSortChanged();
    void sortTypeChanged();
    void extlinkInfoChanged();
    void parentChange();
    void isAuthChanged();
    void openFolder(QVariantMap fileInfo);

protected:
    TidewellExtlink* extlink() const;
    NetworkShare thumbShare(const TwFileInfo& item) override;
    bool handOver(const QString& savePath, const QList<TwFileInfo>& items) override;
    void downloadBusy(bool on) override;

    Extlink m_link;
    TwFileInfo m_my;
    bool m_isSort = false;
    int m_sortType = 3;
    bool m_deviceMode = false;
};
