#pragma once

#include <QVariantMap>

#include "core/facadebinding.h"
#include "core/uploadfileinfo.h"
#include "transfer/transferqueuemodel.h"

class LVUploadManager;

// The upload page's list: one row per top-level upload entry of the current
// account and device. Commands go to the upload manager (`tw`); pages and
// the queue state come from the finish manager (`twfs`).
class UploadFileModel : public TransferQueueModel<UploadFileInfo>
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
public:
    explicit UploadFileModel(QObject* parent = nullptr);
    ~UploadFileModel() override;

    QObject* tw() const;
    void setTw(QObject* obj);

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
    void rUpFileList(int rs, QList<UploadFileInfo> files, int serial = 0);
    void rAddUpFiles(bool rs);
    void rUploadStart(UploadFileInfo fInfo);
    void rUploadProgress(UploadFileInfo fInfo);
    void rUploadFinish(UploadFileInfo fInfo);
    void rUploadPause(UploadFileInfo fInfo);
    void rUploadError(UploadFileInfo fInfo);
    void rGetUpFileState(int state);

signals:
    void twChanged();

protected:
    void sendPageRequest(LVFinishManager* fm, int page, int pageSize, int serial) override;
    bool pageOverlay() const override { return true; }
    void sendTotalRequest() override;
    void sendStateRequest() override;
    QVector<QMetaObject::Connection> connectFinishManager(LVFinishManager* fm) override;
    QString emptyText() const override;
    void pageAnswerArrived() override;

private:
    LVUploadManager* manager() const;

    FacadeBinding<LVUploadManager> m_tw;
};
