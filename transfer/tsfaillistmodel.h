#pragma once

#include <QList>
#include <QVariantMap>

#include "core/downfileinfo.h"
#include "core/facadebinding.h"
#include "core/uploadfileinfo.h"
#include "transfer/pagedlistmodel.h"

class LVFinishManager;

// The failed files of one folder transfer (download or upload), paged, for
// the failure alert. Callers set isDown, then task, then call resetData().
// Answers for a folder shown before the last reset are dropped.
class TSFailListModel : public PagedListModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(bool isDown READ isDown WRITE setIsDown NOTIFY isDownChanged)
    Q_PROPERTY(QVariantMap task READ task WRITE setTask NOTIFY taskChanged)
public:
    enum Role {
        FileTypeRole = Qt::UserRole + 1,  // 257
        FileNameRole,
        FileSizeRole,
        ErrorMsgRole,                     // 260
    };

    explicit TSFailListModel(QObject* parent = nullptr);
    ~TSFailListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    QObject* tw() const;
    void setTw(QObject* obj);
    bool isDown() const { return m_isDown; }
    void setIsDown(bool down);
    QVariantMap task() const;
    void setTask(const QVariantMap& map);

    Q_INVOKABLE void resetData();

public slots:
    void rGetUploadFailFiles(bool rs, QList<UploadFileInfo> listData, int serial = 0);
    void rGetDownloadFailFiles(bool rs, QList<DownFileInfo> listData, int serial = 0);

signals:
    void twChanged();
    void isDownChanged();
    void taskChanged();

private:
    struct FailRow
    {
        int fId = 0;
        QString fileName;
        qint64 fileSize = 0;
        QString msg;
    };

    static constexpr int kPageSize = 50;

    LVFinishManager* manager() const;
    void loadData() override;
    // Either queue's failed files become rows.
    template <class Rec>
    void takePage(bool rs, int serial, const QList<Rec>& files);

    FacadeBinding<LVFinishManager> m_tw;
    bool m_isDown = false;
    UploadFileInfo m_upParent;
    DownFileInfo m_downParent;
    QList<FailRow> m_rows;
};
