#pragma once

#include <QList>
#include <QPointer>
#include <QVariantMap>

#include "core/uploadfileinfo.h"
#include "transfer/transferlistmodel.h"

class LVUploadManager;

// The upload page's list: one row per top-level upload entry of the current
// account and device. Commands go to the upload manager (`tw`); pages and
// the queue state come from the finish manager (`twfs`).
class UploadFileModel : public TransferListModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
public:
    explicit UploadFileModel(QObject* parent = nullptr);
    ~UploadFileModel() override;

    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

    QObject* tw() const { return m_tw; }
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
    Q_INVOKABLE QVariantMap getFileData(int index) const;

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
    int recordCount() const override { return m_rows.size(); }
    int recordFId(int row) const override { return m_rows.at(row).fId; }
    void eraseRecord(int row) override { m_rows.removeAt(row); }
    void sendPageRequest(LVFinishManager* fm, int page, int pageSize, int serial) override;
    void sendTotalRequest() override;
    void sendStateRequest() override;
    void connectFinishManager(LVFinishManager* fm) override;
    QString emptyText() const override;
    void pageAnswerArrived() override;

private:
    LVUploadManager* manager() const;

    QPointer<QObject> m_tw;
    QList<UploadFileInfo> m_rows;
};
