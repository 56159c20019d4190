#pragma once

#include <QObject>
#include <QString>

#include "core/tidewell.h"

// An owner that is a QObject: turns the engines' notices into the signals
// the views bind to. The root object and every device tab are one.
class TidewellOwner : public QObject, public Tidewell
{
    Q_OBJECT
public:
    explicit TidewellOwner(QObject* parent = nullptr) : QObject(parent) {}

    void notifyUpRun() override;
    void notifyDownRun(bool run) override;
    void notifyUpTaskNum() override;
    void notifyDownTaskNum() override;
    void showLoading() override;
    void cancelLading() override;
    void notifyStatus(int code, const QString& message, int level) override;
    // Shared answers: the id is the current record's, no thumbnail service.
    QString deviceId() override;
    ThumbI* thumb() override;

signals:
    void isUpRunChanged();
    void isDwonRunChanged();
    void isTSRunChanged();
    void upTaskNumChanged();
    void downTaskNumChanged();
    void hasTaskNumChanged();
    void sg_showLoading();
    void sg_cancelLading();
    void sg_notifyStatus(int code, QString message, int level);
};
