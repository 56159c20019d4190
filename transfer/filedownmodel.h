#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariantMap>

#include "core/downfileinfo.h"

class SingleFileDownManager;

// The QML side of a document preview: starts the download of one file item
// through a SingleFileDownManager, shows its progress and opens the file
// with the system's default application when it is there. Several models
// may share one manager; each follows only the download it started.
class FileDownModel : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QObject* down READ down WRITE setDown NOTIFY downChanged)
    Q_PROPERTY(QObject* tw READ tw WRITE setTw NOTIFY twChanged)
public:
    explicit FileDownModel(QObject* parent = nullptr);

    QObject* down() const { return m_down; }
    void setDown(QObject* down);
    // A TidewellSdk or a TidewellTab: its download folder and device.
    QObject* tw() const { return m_tw; }
    void setTw(QObject* tw);

    // Only documents are opened this way: text, office, PDF and e-book files.
    Q_INVOKABLE static bool isDocument(const QString& name);
    Q_INVOKABLE void start(QVariantMap value);
    Q_INVOKABLE void pause();

signals:
    void downChanged();
    void twChanged();
    void sDownFail(QString msg);
    void sDownPause();
    void sDownFinish();
    void sDownProgress(double pval);

public slots:
    void onDownProggress(DownFileInfo fileInfo);
    void onDownFinish(DownFileInfo fileInfo);
    void onDownPause(DownFileInfo fileInfo);
    void onDownError(DownFileInfo fileInfo);

private:
    // True when the report is about this model's own download.
    bool mine(const DownFileInfo& fileInfo) const;

    QPointer<QObject> m_down;
    QPointer<QObject> m_tw;
    // Token of the download in hand (the record's taskId); empty when none.
    QString m_token;
};
