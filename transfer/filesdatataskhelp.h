#pragma once

#include <atomic>

#include <QList>
#include <QObject>
#include <QSet>
#include <QString>

#include "core/downfileinfo.h"

class APIBase;
class APIReq;
class Tidewell;
struct LocalFileInfo;
struct TwFileInfo;
namespace sdk { namespace plugins { class tidewell_network_sdk; } }

// Lists one folder of a download entry on the device, page by page, and
// turns its items into sub-entries. Sub-folders come back as folder entries
// for the caller to hand in again; an empty folder yields one placeholder so
// that it is still made locally. Runs synchronously on the caller's thread.
class FilesDataTaskHelp : public QObject
{
    Q_OBJECT
public:
    static const int kPageSize = 100;
    // A listing never asks for more pages than this, whatever the device says.
    static const int kMaxPages = 10000;
    static const int kTimeoutS = 15;

    explicit FilesDataTaskHelp(QObject* parent = nullptr);
    bool init(Tidewell* owner);

    // Appends the entries directly inside folder to out. False when a listing
    // failed (offline, time-out, result other than 1, unreadable answer);
    // nothing of the folder is appended then and lastError() says why.
    bool getSubFileTask(DownFileInfo folder, int fileType, QList<DownFileInfo>& out);
    QString lastError() const { return m_error; }
    // Checked between pages: when it reads true the listing stops, fails and
    // interrupted() tells so.
    void setInterruptFlag(const std::atomic<bool>* flag) { m_interrupt = flag; }
    bool interrupted() const { return m_interrupted; }
    // The last failure came from not reaching the device (not connected, no
    // answer, a busy answer without a body): listing again later may work.
    bool deviceAway() const { return m_away; }

private:
    using Net = sdk::plugins::tidewell_network_sdk;

    bool nextFileGetTask(Net* net, bool isSafeBox, QList<DownFileInfo>& out);
    bool nextShareFileGetTask(Net* net, QList<DownFileInfo>& out);
    bool nextExternalFileGetTask(Net* net, int diskKind, QList<DownFileInfo>& out);
    bool nextGroupFileGetTask(Net* net, QList<DownFileInfo>& out);
    bool nextExtlinkFileGetTask(Net* net, QList<DownFileInfo>& out);

    // Lists the folder page by page: request(page) makes a page's request,
    // morePages(resp, page) says whether the device has pages after it.
    template <class Resp, class Request, class MorePages>
    bool listPages(Net* net, const char* walker, Request request, MorePages morePages,
                   QList<DownFileInfo>& out);
    bool send(Net* net, const APIReq& req, APIBase& resp);
    void complete(QList<DownFileInfo>& out);
    DownFileInfo entryOf(const TwFileInfo& item) const;
    DownFileInfo entryOf(const LocalFileInfo& item) const;
    void fillFromFolder(DownFileInfo& e, const QString& itemName) const;

    Tidewell* m_owner = nullptr;
    QList<DownFileInfo> m_collected;
    QSet<QString> m_seen;   // items of the folder listed so far
    DownFileInfo m_folder;
    QString m_error;
    const std::atomic<bool>* m_interrupt = nullptr;
    bool m_interrupted = false;
    bool m_away = false;
};
