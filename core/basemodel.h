#pragma once

#include <QAbstractListModel>

// Base of every list model: busy overlay, toasts and the empty-list view.
class BaseModel : public QAbstractListModel
{
    Q_OBJECT
public:
    enum ToastLevel {
        TL_Info = 0,
        TL_Success = 1,
        TL_Error = 2,
    };
    Q_ENUM(ToastLevel)

    // 0 rows held, 1 empty list, 2 first load failed.
    enum DefalutState {
        DS_None = 0,
        DS_Empty = 1,
        DS_Error = 2,
    };
    Q_ENUM(DefalutState)

    explicit BaseModel(QObject* parent = nullptr);

    void showLoading();
    void cancelLading();
    void notifyStatus(int code, const QString& message, int level);
    void defaultStateChange(int state, const QString& message);

protected:
    // A model's role table added to a base's names (roleNames() of the
    // class it derives from, or Qt's own).
    static QHash<int, QByteArray> withRoles(QHash<int, QByteArray> names,
                                            const QHash<int, QByteArray>& table);

signals:
    void sg_showLoading();
    void sg_cancelLading();
    void sg_notifyStatus(int code, QString message, BaseModel::ToastLevel level);
    void sg_DefaultStateChange(BaseModel::DefalutState dState, QString message);
};
