#include "core/tidewellowner.h"

void TidewellOwner::notifyUpRun()
{
    emit isUpRunChanged();
    emit isTSRunChanged();
}

void TidewellOwner::notifyDownRun(bool run)
{
    Q_UNUSED(run)
    emit isDwonRunChanged();
    emit isTSRunChanged();
}

void TidewellOwner::notifyUpTaskNum()
{
    emit upTaskNumChanged();
    emit hasTaskNumChanged();
}

void TidewellOwner::notifyDownTaskNum()
{
    emit downTaskNumChanged();
    emit hasTaskNumChanged();
}

void TidewellOwner::showLoading()
{
    emit sg_showLoading();
}

void TidewellOwner::cancelLading()
{
    emit sg_cancelLading();
}

void TidewellOwner::notifyStatus(int code, const QString& message, int level)
{
    emit sg_notifyStatus(code, message, level);
}

QString TidewellOwner::deviceId()
{
    return currentDevice().deviceId;
}

ThumbI* TidewellOwner::thumb()
{
    return nullptr;
}
