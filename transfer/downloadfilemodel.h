#pragma once

#include <QVariantMap>

#include "core/downfileinfo.h"
#include "core/facadebinding.h"
#include "transfer/transferqueuemodel.h"

class LVDownloadManager;

// The download page's list: one row per top-level download entry of the
// current account and device. Commands go to the download manager (`down`);
// pages and the queue state come from the finish manager (`twfs`).
class DownloadFileModel : public TransferQueueModel<DownFileInfo>
{
    Q_OBJECT
    Q_PROPERTY(QObject* down READ down WRITE setDown NOTIFY downChanged)
public:
    explicit DownloadFileModel(QObject* parent = nullptr);
    ~DownloadFileModel() override;

    QObject* down() const;
    void setDown(QObject* obj);

    Q_INVOKABLE void startAll();
    Q_INVOKABLE void pauseAll();
    Q_INVOKABLE void deleteAll();
    Q_INVOKABLE void startSelect();
    Q_INVOKABLE void pauseSelect();
    Q_INVOKABLE void deleteSelect();
    Q_INVOKABLE void startFile(int index);
    Q_INVOKABLE void pauseFile(int index);
    Q_INVOKABLE void deleteFile(int index);

public slots:
    void rStart();
    void rStop();
    void rGetTotalNum(bool rs, int num);
    void rDownFileList(int rs, QList<DownFileInfo> files, int serial = 0);
    void rDownloadStart(DownFileInfo fInfo);
    void rDownloadProgress(DownFileInfo fInfo);
    void rDownloadFinish(DownFileInfo fInfo);
    void rDownloadPause(DownFileInfo fInfo);
    void rDownloadError(DownFileInfo fInfo);
    void rGetDownFileState(int state);

signals:
    void downChanged();

protected:
    void sendPageRequest(LVFinishManager* fm, int page, int pageSize, int serial) override;
    void sendTotalRequest() override;
    void sendStateRequest() override;
    QVector<QMetaObject::Connection> connectFinishManager(LVFinishManager* fm) override;
    QString emptyText() const override;

private:
    LVDownloadManager* manager() const;

    FacadeBinding<LVDownloadManager> m_down;
};
