#pragma once

#include <QList>
#include <QMap>
#include <QVariantMap>

#include "core/basemodel.h"
#include "core/facadebinding.h"
#include "core/twhandle.h"
#include "protocol/apibase.h"
#include "protocol/btgettasklistresp.h"

// What the two lists of the device's internet download tasks share: the
// facade link, the rows, the selection and the add, operate and delete
// requests with their answers.
class BtTaskModel : public BaseModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw)
    Q_PROPERTY(int fileNum READ fileNum NOTIFY fileNumChanged)
    Q_PROPERTY(bool isAll READ isAll NOTIFY isAllChanged)
    Q_PROPERTY(int selectNum READ selectNum NOTIFY selectNumChanged)
    Q_PROPERTY(bool isCheck READ isCheck NOTIFY isCheckChanged)
public:
    explicit BtTaskModel(int selectedRole, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;

    QObject* tw() const { return m_tw.data(); }
    virtual void setTw(QObject* tw);
    int fileNum() const { return m_rows.size(); }
    bool isAll() const { return !m_rows.isEmpty() && m_selection.size() >= m_rows.size(); }
    int selectNum() const { return m_selection.size(); }
    bool isCheck() const { return !m_selection.isEmpty(); }
    TW_HANDLE handle() const { return m_handle; }

    Q_INVOKABLE virtual void refershData() = 0;
    Q_INVOKABLE void allSelect();
    Q_INVOKABLE void singleSelect(int itemIndex);
    Q_INVOKABLE void multiSelect(int itemIndex);
    Q_INVOKABLE void addTaskSource(QVariantMap value, QString source);
    // A torrent file stored on the device (its file id) instead of a link.
    Q_INVOKABLE void addTaskFile(QVariantMap value, int fileId);
    Q_INVOKABLE virtual void allDelete(bool isDeleteFile) = 0;
    Q_INVOKABLE void deleteSelect(bool isDeleteFile);

    // Cell texts of a task's state and failure reason.
    static QString statusText(const BtTaskInfo& task);
    static QString exceptionText(int exception);

public slots:
    virtual void onBtGetTaskList(TW_HANDLE handle, BTGetTaskListResp dataRsp) = 0;
    void onBtAddTask(TW_HANDLE handle, APIBase dataRsp);
    void onBtOperateTask(TW_HANDLE handle, APIBase respData);
    void onBtDeleteTask(TW_HANDLE handle, APIBase dataRsp);

signals:
    void fileNumChanged();
    void isAllChanged();
    void selectNumChanged();
    void isCheckChanged();
    // Forwarded to the facade's request signals of the same name.
    void sBtGetTaskList(TW_HANDLE handle, int vType, int pageNo, int pageSize);
    void sBtAddTask(TW_HANDLE handle, QString resource, int fileId, QString diskSerial,
                    int saveDirId, QString externalPath);
    void sBtOperateTask(TW_HANDLE handle, int operate, int vType, QString downId,
                        bool isDeleteFile);
    void sBtDeleteTask(TW_HANDLE handle, QStringList downIds, bool isDeleteFile);

protected:
    static constexpr int kPageSize = 50;

    // Role values shared by both lists.
    QVariant commonData(const BtTaskInfo& task, int role, bool& known) const;
    bool validRow(int row) const { return row >= 0 && row < m_rows.size(); }
    void emitCounts();
    void emitSelection(int row);
    void operate(int op, int vType, const QString& downId, bool isDeleteFile);
    bool mine(TW_HANDLE handle) const;
    void showListState();

    FacadeBinding<> m_tw;
    QList<BtTaskInfo> m_rows;
    QMap<int, QString> m_selection;
    const int m_selectedRole;
    const TW_HANDLE m_handle = twNewHandle();

private:
    void answered(TW_HANDLE handle, const APIBase& resp);
};
