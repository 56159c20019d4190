#pragma once

#include <mutex>

#include <QImage>
#include <QObject>
#include <QString>
#include <QStringList>

#include "sdk/download_observer.h"

class QThread;
class Tidewell;
namespace sdk {
namespace plugins { class tidewell_network_sdk; }
namespace cores { namespace tidewell { class download; } }
}

// Small pictures by URL (head images): fetched once over plain HTTP, kept in
// the "headImg" folder and answered from there afterwards. One URL at a time
// from a first-in, first-out queue, on a thread of its own. Every user gets
// every result and keeps those whose path is its own URL.
class NormalFileDownManager : public QObject, public sdk::cores::tidewell::download_observer
{
    Q_OBJECT
public:
    NormalFileDownManager();
    ~NormalFileDownManager() override;

    bool init(Tidewell* owner);
    // Caller's thread. Takes a non-empty URL that contains "http"; false
    // (and nothing emitted) otherwise.
    Q_INVOKABLE bool addDownUrl(QString url);

    // Local name of a URL's picture: MD5 of the URL + ".jpg".
    static QString fileNameOf(const QString& url);
    QString imageDir() const { return m_imageDir; }
    QString tempDir() const { return m_tempDir; }

    void on_progress(std::int64_t total, std::int64_t done) override;
    void on_status(int status, const std::string& text, int errCode) override;

signals:
    // path: the URL as it was added; img is loaded from savePath.
    void rDownFinish(QString path, QString savePath, QImage img);
    void rDownError(QString path, int code, QString msg);

    void sStart();
    void sStop();
    void sDownFinish();
    void sDownError(int code, QString msg);

private slots:
    void onStart();
    void onStop();
    void onDownFinish();
    void onDownError(int code, QString msg);

private:
    enum Step { Started, Answered, Dropped };

    void downloadNext();
    Step startDownload(const QString& url);
    void giveBack();

    QThread* m_thread = nullptr;
    sdk::plugins::tidewell_network_sdk* m_sdk = nullptr;
    // Manager thread only.
    sdk::cores::tidewell::download* m_task = nullptr;
    QString m_imageDir;
    QString m_tempDir;
    QString m_fileName;
    QString m_url;

    // The queue and the running flag change together, so a URL added while
    // the worker finds the queue empty is either taken or starts a new run.
    std::mutex m_queueMutex;
    QStringList m_queue;
    bool m_running = false;
};
