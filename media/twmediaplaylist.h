#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QPointer>
#include <QVariant>
#include <QVariantMap>

#include "core/basemodel.h"
#include "core/twfileinfo.h"

// The player page's play list: the videos and/or music of the browsing
// list it was opened from, with the entry being played selected.
class TwMediaPlayList : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(QObject* thumb READ thumb WRITE setThumb NOTIFY thumbChanged)
    Q_PROPERTY(qlonglong currentSelected READ currentSelected WRITE setCurrentSelected NOTIFY currentSelectedChanged)
    Q_PROPERTY(QVariantMap currentInfo READ currentInfo WRITE setCurrentInfo NOTIFY currentInfoChanged)
    Q_PROPERTY(QVariant medium READ medium WRITE setMedium NOTIFY mediumChanged)
    Q_PROPERTY(PlayType pType READ pType WRITE setPType NOTIFY pTypeChanged)
public:
    enum PlayType { LNone = 0, LVideo = 2, LMusic = 4, ALL = 6 };
    Q_ENUM(PlayType)
    enum MediaPlayListRole {
        FileMediaTypeRole = 0,
        FileNameRole = Qt::UserRole,   // 256
        FileUrlRole,                   // 257
        FileCheckedRole,               // 258
    };
    Q_ENUM(MediaPlayListRole)

    explicit TwMediaPlayList(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    QObject* tw() const { return m_tw; }
    void setTw(QObject* model);
    QObject* thumb() const { return m_thumb; }
    void setThumb(QObject* thumb);
    qlonglong currentSelected() const { return m_currentSelected; }
    void setCurrentSelected(qlonglong row);
    QVariantMap currentInfo() const;
    void setCurrentInfo(QVariantMap map);
    QVariant medium() const { return QVariant(); }
    void setMedium(QVariant) { emit mediumChanged(); }
    PlayType pType() const { return m_pType; }
    void setPType(PlayType type);
    const QList<TwFileInfo>& items() const { return m_items; }
    QObject* device() const { return m_device; }

    Q_INVOKABLE void add(QVariant info);
    Q_INVOKABLE void next();
    Q_INVOKABLE void previous();

signals:
    void twChanged();
    void thumbChanged();
    void currentSelectedChanged();
    void currentInfoChanged();
    void mediumChanged();
    void pTypeChanged();
    void showLoading();
    void cancelLading();
    void notifyStatus(int code, QString message, BaseModel::ToastLevel level);
    void notifyStatus(int code, QString message);

private:
    QPointer<QObject> m_tw;
    QPointer<QObject> m_thumb;
    QPointer<QObject> m_device;
    qlonglong m_currentSelected = -1;
    PlayType m_pType = ALL;
    QList<TwFileInfo> m_items;
};
