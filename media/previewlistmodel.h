#pragma once

#include <QAbstractListModel>
#include <QList>
#include <QMetaObject>
#include <QPointer>
#include <QUrl>
#include <QVariantMap>

#include "core/basemodel.h"
#include "core/networkshare.h"
#include "core/twfileinfo.h"
#include "core/twhandle.h"
#include "transfer/thumbinfo.h"

// The photo preview window: the pictures of the browsing list as a strip of
// small thumbnails, the selected one shown in medium size (or original on
// request) from the thumbnail service, and its download.
class PreviewListModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
    Q_PROPERTY(QObject* thumb READ thumb WRITE setThumb NOTIFY thumbChanged)
    Q_PROPERTY(qlonglong currentSelected READ currentSelected WRITE setCurrentSelected NOTIFY currentSelectedChanged)
    Q_PROPERTY(QVariantMap currentInfo READ currentInfo WRITE setCurrentInfo NOTIFY currentInfoChanged)
    Q_PROPERTY(bool isOriginal READ isOriginal WRITE setIsOriginal NOTIFY isOriginalChanged)
    Q_PROPERTY(bool needDownload READ needDownload NOTIFY needDownloadChanged)
public:
    enum PreviewListRole {
        FileMediaTypeRole = 0,
        FilePictureThumbUrlRole = Qt::UserRole,   // 256
        FilePictureMediumUrlRole,                 // 257
    };
    Q_ENUM(PreviewListRole)

    explicit PreviewListModel(QObject* parent = nullptr);
    ~PreviewListModel() override;

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
    bool isOriginal() const { return m_isOriginal; }
    void setIsOriginal(bool on);
    bool needDownload() const;
    const QList<TwFileInfo>& items() const { return m_items; }
    TW_HANDLE handle() const { return m_handle; }

    Q_INVOKABLE void download(QString savePath);
    Q_INVOKABLE void quickOriginal();
    Q_INVOKABLE void reset();

public slots:
    void rThumbFinished(ThumbInfo info, int code, QString msg);
    void rAddDownFiles(TW_HANDLE handle, bool rs);

signals:
    void showLoading();
    void cancelLading();
    // QML binds a handler to the overload declared last: the one the model
    // raises goes last.
    void notifyStatus(int code, QString message);
    void notifyStatus(int code, QString message, BaseModel::ToastLevel level);
    void twChanged();
    void restDefultImg();
    void thumbChanged();
    void currentSelectedChanged();
    void currentInfoChanged();
    void mediumChanged(QVariant url);
    void isOriginalChanged();
    void needDownloadChanged();

private:
    QUrl smallUrl(const TwFileInfo& item) const;
    QUrl pictureUrl(bool original);
    bool linkClient() const;
    void toast(int code, const QString& message, int level);

    TW_HANDLE m_handle;
    QPointer<QObject> m_tw;
    QPointer<QObject> m_thumb;
    QPointer<QObject> m_facade;
    // Connections of the current facade and service, undone on the next set.
    QMetaObject::Connection m_facadeConn;
    QMetaObject::Connection m_thumbConn;
    qlonglong m_currentSelected = -1;
    bool m_isOriginal = false;
    QList<TwFileInfo> m_items;
};
