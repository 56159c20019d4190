#pragma once

#include <QHash>
#include <QList>
#include <QMap>

#include "core/facadebinding.h"
#include "core/finishfileinfo.h"
#include "transfer/pagedlistmodel.h"

class LVFinishManager;

// The finished page's list: finished downloads and uploads of the current
// account and device, newest first. Deletes records only, never local
// files, and opens a finished file or the folder holding it.
//
// The selection names records (fId, with a copy of the record), and every
// deletion remembers which records it asked for, so its answer removes
// exactly those rows whatever happened to the list meanwhile.
class TSFinishFileModel : public PagedListModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(bool isAll READ isAll NOTIFY isAllChanged)
    Q_PROPERTY(int selectNum READ selectNum NOTIFY selectNumChanged)
    Q_PROPERTY(bool isCheck READ isCheck NOTIFY isCheckChanged)
    Q_PROPERTY(int totalNum READ totalNum NOTIFY totalNumChanged)
    Q_PROPERTY(int loadNum READ loadNum NOTIFY loadNumChanged)
public:
    enum Role {
        FileTypeRole = Qt::UserRole + 1,  // 257
        FileNameRole,
        FileSizeRole,
        StatusRole,
        DTimeRole,
        SavePathRole,
        SelectedRole,                     // 263
    };

    explicit TSFinishFileModel(QObject* parent = nullptr);
    ~TSFinishFileModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    QObject* tw() const;
    void setTw(QObject* obj);
    bool isAll() const;
    int selectNum() const { return m_selected.size(); }
    bool isCheck() const { return !m_selected.isEmpty(); }
    int totalNum() const { return m_totalNum; }
    int loadNum() const { return m_rows.size(); }

    Q_INVOKABLE void refershData();
    Q_INVOKABLE void clearAll();
    Q_INVOKABLE void deleteSelect();
    Q_INVOKABLE void deleteItem(int itemIndex);
    Q_INVOKABLE void allSelect();
    Q_INVOKABLE void singleSelect(int itemIndex);
    Q_INVOKABLE void multiSelect(int itemIndex);
    Q_INVOKABLE void openLocation(int itemIndex);
    Q_INVOKABLE void openFile(int itemIndex);

    // Local path of a finished record: the uploaded file, or where the
    // download was saved.
    static QString localPath(const FinishFileInfo& f);

public slots:
    void rGetTotalNum(bool rs, int num);
    void rGetFinishFileList(bool rs, QList<FinishFileInfo> listData, int serial = 0);
    void rDeleteAll(bool rs);
    void rDeleteFinishFiles(bool rs, int serial = 0);

signals:
    void twChanged();
    void isAllChanged();
    void selectNumChanged();
    void isCheckChanged();
    void totalNumChanged();
    void loadNumChanged();

private:
    static constexpr int kPageSize = 30;

    LVFinishManager* manager() const;
    bool isValidRow(int row) const { return row >= 0 && row < m_rows.size(); }
    bool isSelected(int row) const;
    void loadData() override;
    void reset();
    void setDefaultState();
    void emitSelectionSignals();
    void notifyAllSelected();
    void sendDelete(const QList<FinishFileInfo>& list);

    FacadeBinding<LVFinishManager> m_tw;
    QList<FinishFileInfo> m_rows;
    int m_totalNum = 0;
    QMap<int, FinishFileInfo> m_selected;     // by fId
    QHash<int, QList<int>> m_pendingDeletes;  // serial -> fIds asked for
};
