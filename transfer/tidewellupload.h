#pragma once

#include <atomic>
#include <functional>

#include <QMutex>
#include <QElapsedTimer>
#include <QObject>
#include <QString>

#include "core/uploadfileinfo.h"
#include "sdk/upload_observer.h"

class Tidewell;
namespace sdk { namespace plugins { class tidewell_network_sdk; } }
namespace sdk { namespace cores { namespace tidewell { class upload; } } }

// One upload of the network library for one file. Library callbacks arrive
// on library threads; they only update numbers and emit signals carrying a
// copy of the record. start/stop/release run on the owning worker's thread.
class TidewellUpload : public QObject, public sdk::cores::tidewell::upload_observer
{
    Q_OBJECT
public:
    explicit TidewellUpload(QObject* parent = nullptr);
    ~TidewellUpload() override;

    bool init(Tidewell* owner);
    // Stores a new device task id for the record. Called on the library's
    // thread before any byte of the file is sent, so a program that ends
    // right after the upload continues that task instead of making a copy.
    using TaskIdKeeper = std::function<bool(const UploadFileInfo& record, const QString& taskId)>;
    void setTaskIdKeeper(TaskIdKeeper keeper) { m_keepTaskId = std::move(keeper); }
    // True when the library task was created and started.
    bool start(const UploadFileInfo& info);
    // Cancels the running task and emits uploadPause, unless the task already
    // reported its status or was stopped before.
    void stop();
    // Gives the task back to the library without a signal.
    void release();
    bool hasSendFinish();

    // upload_observer (library threads)
    void on_progress(std::int64_t total, std::int64_t sent) override;
    int on_data(const char* data, std::size_t length) override;
    void on_task(const std::string& taskId) override;
    void on_status(int code, const std::string& text, int errCode) override;
    void on_stored(const std::string& name) override;
    void on_released() override;

    // Message shown for a library error code.
    static QString errorMessage(int errCode);
    // The row's text for a failure: errorMessage for the codes it names,
    // else the library's text (the device's refusal or the network's
    // reason), "Unknown error" when there is none.
    static QString messageFor(int errCode, const QString& text);

signals:
    void uploadTaskCreate(UploadFileInfo fInfo, bool isSucc, QString taskId);
    // byteSent carries the speed in bytes/s, bytesTotal the bytes sent so far.
    void uploadProgress(UploadFileInfo fInfo, qlonglong byteSent, qlonglong bytesTotal);
    void uploadFinish(UploadFileInfo fInfo);
    void uploadPause(UploadFileInfo fInfo);
    void uploadError(UploadFileInfo fInfo, int code, QString msg);

private:
    UploadFileInfo recordCopy();
    void giveBack();

    Tidewell* m_owner = nullptr;
    TaskIdKeeper m_keepTaskId;
    sdk::cores::tidewell::upload* m_task = nullptr;
    // The session that made m_task; tasks go back to that session only.
    sdk::plugins::tidewell_network_sdk* m_taskSdk = nullptr;
    QMutex m_lock;                 // guards the record and the report numbers
    UploadFileInfo m_record;
    // Progress and speed are timed by a clock that setting the wall clock
    // does not move; started once, read as milliseconds since.
    QElapsedTimer m_clock;
    qint64 m_lastTime = 0;
    qint64 m_lastBytes = 0;
    std::atomic<qint64> m_bytesSent{0};
    std::atomic<bool> m_done{false};
};
