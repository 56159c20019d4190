#pragma once

#include <atomic>

#include <QObject>
#include <QString>

#include "core/downfileinfo.h"

class QThread;
class Tidewell;
class TidewellDownload;

// Downloads one file for opening (a document preview) on a thread of its
// own: into a temporary file, then to a free name in the record's save
// folder. Keeps no queue; a new start replaces the download in hand, which
// is reported paused. Every signal carries a copy of the record; its taskId
// is the requester's token and comes back unchanged.
class SingleFileDownManager : public QObject
{
    Q_OBJECT
public:
    SingleFileDownManager();
    ~SingleFileDownManager() override;

    bool init(Tidewell* owner);
    // GUI thread; they only emit.
    void startFile(DownFileInfo fileInfo);
    // An empty taskId pauses whatever runs; otherwise only that download.
    void pauseFile(const QString& taskId = QString());

    // Temporary file of a record: the same for the same file id and name.
    static QString tempPathOf(const DownFileInfo& fileInfo);
    // folder/name, or folder/base(n).suffix for n > 0 (base up to the first
    // dot, suffix after the last), the first that does not exist. Empty when
    // the name cannot be made safe or no free name is found.
    static QString uniqueFilePath(const QString& folder, const QString& name, int n = 0);

signals:
    void sStartFile(DownFileInfo fileInfo);
    void sPauseFile(QString taskId);
    void rDownProggress(DownFileInfo fileInfo);
    void rDownFinish(DownFileInfo fileInfo);
    void rDownPause(DownFileInfo fileInfo);
    void rDownError(DownFileInfo fileInfo);

public slots:
    void oStartFile(DownFileInfo fileInfo);
    void oPauseFile(QString taskId);
    void downloadTaskCreate(bool isSucc, QString taskId);
    void downloadProgress(qlonglong byteSent, qlonglong bytesTotal);
    void downloadFinish();
    void downloadPause();
    void downloadError(int code, QString msg);

private:
    // Ends the download in hand as paused (temp file removed).
    void stopActive();
    void fail(const QString& msg);
    void cleanupOnThread();

    QThread* m_thread = nullptr;
    Tidewell* m_owner = nullptr;
    TidewellDownload* m_download = nullptr;
    // Manager thread only.
    DownFileInfo m_record;
    QString m_tempPath;
    bool m_active = false;
    // Wrapper reports are stamped with the run they belong to when the
    // library emits them; reports of an earlier run are dropped.
    std::atomic<quint64> m_run{0};
};
