#pragma once

#include <QObject>

#include "core/facadebinding.h"
#include "core/twhandle.h"
#include "protocol/apibase.h"
#include "protocol/copyfilelistsresp.h"

// How many copy jobs the device still runs and whether the latest one
// failed, for the copy status box of a device tab. Talks to the tab's
// request facade (tw).
class CopyFileModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw)
    Q_PROPERTY(bool hasFile READ hasFile NOTIFY hasFileChanged)
    Q_PROPERTY(int fileNum READ fileNum NOTIFY fileNumChanged)
    Q_PROPERTY(bool isError READ isError NOTIFY isErrorChanged)
public:
    explicit CopyFileModel(QObject* parent = nullptr);

    QObject* tw() const { return m_tw.data(); }
    void setTw(QObject* tw);
    bool hasFile() const { return m_hasFile; }
    int fileNum() const { return m_fileNum; }
    bool isError() const { return m_isError; }
    TW_HANDLE handle() const { return m_handle; }

    Q_INVOKABLE void loadData();
    Q_INVOKABLE void stopAllCopyFile();

public slots:
    void onCopyFileLists(TW_HANDLE handle, CopyFileListsResp respData);
    void onCleanCopyFileLists(TW_HANDLE handle, APIBase respData);
    void onFileCopy(TW_HANDLE handle, APIBase resp);
    void onRetryCopyTask(TW_HANDLE handle, APIBase respData, QMap<int, qint64> selectItems);

signals:
    void hasFileChanged();
    void fileNumChanged();
    void isErrorChanged();
    // A failed request of the box (level 2: error toast).
    void sg_notifyStatus(int code, QString message, int level);
    // Forwarded to the facade's request signals of the same name.
    void sCopyFileLists(TW_HANDLE handle, int pageNo, int pageSize);
    void sCleanCopyFileLists(TW_HANDLE handle, int operationType);

private:
    void requestList();

    FacadeBinding<> m_tw;
    bool m_hasFile = false;
    int m_fileNum = 0;
    bool m_isError = false;
    bool m_loading = false;
    const TW_HANDLE m_handle = twNewHandle();
};
