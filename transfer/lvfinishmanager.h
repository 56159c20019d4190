#pragma once

#include <QList>
#include <QObject>

#include "core/downfileinfo.h"
#include "core/finishfileinfo.h"
#include "core/uploadfileinfo.h"

class DBHelp;
class QThread;
class Tidewell;

// Read side of the transfer store: pages of the download and upload queues,
// of the finished list and of the failed files of one folder transfer,
// counts and queue states; deletes finished records. Runs on its own thread;
// requests are signals, so calls from the GUI thread arrive queued and are
// answered in the order they were sent.
//
// Page and deletion requests carry a serial chosen by the requester and the
// reply hands it back, so a list model can tell its own current answer from
// a stale one or from another model's (every connected model receives every
// reply). Requesters that do not care may leave it 0.
class LVFinishManager : public QObject
{
    Q_OBJECT
public:
    LVFinishManager();
    ~LVFinishManager() override;

    // False (and nothing connected) without an owner. Without db the manager
    // opens the default store itself and owns it.
    bool init(Tidewell* owner, DBHelp* db);

signals:
    void sGetTotalNum();
    void rGetTotalNum(bool rs, int num);
    void sGetFinishFileList(int pageIndex, int pageSize, int serial = 0);
    void rGetFinishFileList(bool rs, QList<FinishFileInfo> listData, int serial = 0);
    void sDeleteAll();
    void rDeleteAll(bool rs);
    void sDeleteFinishFiles(QList<FinishFileInfo> listData, int serial = 0);
    void rDeleteFinishFiles(bool rs, int serial = 0);
    void sGetUploadFailFiles(int pageIndex, int pageSize, UploadFileInfo parentInfo,
                             int serial = 0);
    void rGetUploadFailFiles(bool rs, QList<UploadFileInfo> listData, int serial = 0);
    void sGetDownloadFailFiles(int pageIndex, int pageSize, DownFileInfo parentInfo,
                               int serial = 0);
    void rGetDownloadFailFiles(bool rs, QList<DownFileInfo> listData, int serial = 0);
    void sUpFileList(int pageIndex, int pageSize, int serial = 0);
    void rUpFileList(int rs, QList<UploadFileInfo> files, int serial = 0);
    void sDownFileList(int pageIndex, int pageSize, int serial = 0);
    void rDownFileList(int rs, QList<DownFileInfo> files, int serial = 0);
    void sGetUpFileState();
    void rGetUpFileState(int state);
    void sGetDownFileState();
    void rGetDownFileState(int state);

private slots:
    void oGetTotalNum();
    void oGetFinishFileList(int pageIndex, int pageSize, int serial);
    void oDeleteAll();
    void oDeleteFinishFiles(QList<FinishFileInfo> listData, int serial);
    void oGetUploadFailFiles(int pageIndex, int pageSize, UploadFileInfo parentInfo, int serial);
    void oGetDownloadFailFiles(int pageIndex, int pageSize, DownFileInfo parentInfo, int serial);
    void oUpFileList(int pageIndex, int pageSize, int serial);
    void oDownFileList(int pageIndex, int pageSize, int serial);
    void oGetUpFileState();
    void oGetDownFileState();

private:
    // accessId and deviceId of the owner's current device, copied now.
    void currentKeys(QString& accessId, QString& deviceId) const;
    // A page of one queue of the current device, each folder with its count
    // of remaining files.
    template <class Rec>
    bool queuePage(bool (DBHelp::*readPage)(int, int, const QString&, const QString&,
                                            QList<Rec>&),
                   int (DBHelp::*subFileNum)(int), int pageIndex, int pageSize,
                   QList<Rec>& list);
    // State of one queue of the current device (as DBHelp::getDownFileState).
    int queueState(bool (DBHelp::*readState)(const QString&, const QString&, int&));

    QThread* m_thread = nullptr;
    Tidewell* m_owner = nullptr;
    DBHelp* m_db = nullptr;
    bool m_ownsDb = false;
};
