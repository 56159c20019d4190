#include "core/basemodel.h"

BaseModel::BaseModel(QObject* parent) : QAbstractListModel(parent) {}

void BaseModel::showLoading()
{
    emit sg_showLoading();
}

void BaseModel::cancelLading()
{
    emit sg_cancelLading();
}

void BaseModel::notifyStatus(int code, const QString& message, int level)
{
    emit sg_notifyStatus(code, message, static_cast<ToastLevel>(level));
}

void BaseModel::defaultStateChange(int state, const QString& message)
{
    emit sg_DefaultStateChange(static_cast<DefalutState>(state), message);
}

QHash<int, QByteArray> BaseModel::withRoles(QHash<int, QByteArray> names,
                                            const QHash<int, QByteArray>& table)
{
    for (auto it = table.cbegin(); it != table.cend(); ++it)
        names.insert(it.key(), it.value());
    return names;
}
