#pragma once

#include <atomic>
#include <string>

#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "sdk/down_file_info.h"
#include "sdk/download_observer.h"
#include "transfer/sourcestamp.h"

class Tidewell;
namespace sdk {
namespace plugins { class tidewell_network_sdk; }
namespace cores { namespace tidewell { class download; } }
}

// One transfer of the network library at a time: picks the route (HTTP on
// the local network, P2P otherwise; plain or streaming), receives the
// library's callbacks on its threads and turns them into Qt signals. Only
// numbers are touched on the library threads.
class TidewellDownload : public QObject, public sdk::cores::tidewell::download_observer
{
    Q_OBJECT
public:
    explicit TidewellDownload(QObject* parent = nullptr);
    ~TidewellDownload() override;

    bool init(Tidewell* owner);
    // True when a library task was created and started.
    virtual bool start(sdk::cores::model::down_file_info& info, bool stream);
    // Stops and gives back the running task; ends with downloadPause() unless
    // a final status already arrived.
    void stop();
    // Gives the task back without any signal (after a finish or an error).
    void release();
    bool hasTask() const { return m_task != nullptr; }
    // For the next start into tempPath: the bytes it holds are of the file
    // `held`; an answer of another file makes the library start over. The
    // file each answer carries is kept beside tempPath and reported with
    // downloadSource.
    void guardResume(const SourceStamp& held, const QString& tempPath);

    virtual void on_task(const std::string& taskId) override;
    void on_progress(std::int64_t total, std::int64_t done) override;
    void on_status(int status, const std::string& text, int errCode) override;
    bool on_source(const sdk::cores::tidewell::source_info& source, bool resumed) override;
    void on_released() override;

signals:
    void downloadTaskCreate(bool isSucc, QString taskId);
    // The device's MD5 ("" when it gives none) and size of the file being
    // fetched (guarded starts only).
    void downloadSource(QString md5, qlonglong size);
    // byteSent carries the speed in bytes per second, bytesTotal the bytes held.
    void downloadProgress(qlonglong byteSent, qlonglong bytesTotal);
    void downloadFinish();
    void downloadPause();
    void downloadError(int code, QString msg);

protected:
    Tidewell* m_owner = nullptr;

private:
    void giveBack();

    // Set and read on the owning thread only.
    sdk::cores::tidewell::download* m_task = nullptr;
    // The session that made m_task; the task goes back to that one.
    sdk::plugins::tidewell_network_sdk* m_sdk = nullptr;
    // Written before the task starts, then only by the library's worker.
    bool m_guarded = false;
    SourceStamp m_held;
    QString m_guardedPath;
    // Progress and speed are timed by a clock that setting the wall clock
    // does not move; started once, read as milliseconds since.
    QElapsedTimer m_clock;
    qint64 m_lastTime = 0;
    qint64 m_lastBytes = 0;
    std::atomic<bool> m_done{false};
};
