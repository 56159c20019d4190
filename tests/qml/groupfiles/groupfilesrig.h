#pragma once

#include <memory>

#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QMimeData>
#include <QQmlContext>
#include <QQuickItem>
#include <QQuickWindow>
#include <QUrl>

#include "app/tidewellsdk.h"
#include "sdk/channel_option.h"
#include "sdk/device_addr.h"
#include "tests/qml/quickrig.h"
#include "tools/testdeviceserver.h"

// What the group-files page tests need besides the common rig: the seeded
// group's id, and files dragged from the desktop onto an item.
class GroupFilesRigApi : public QObject
{
    Q_OBJECT
public:
    GroupFilesRigApi(QuickRigApi* base, int groupId, QObject* parent = nullptr)
        : QObject(parent), m_base(base), m_groupId(groupId)
    {
    }

    Q_INVOKABLE int groupId() const { return m_groupId; }
    Q_INVOKABLE QUrl localUrl(const QString& path) const { return QUrl::fromLocalFile(path); }

    // Local files dragged over the middle of item (the drop area shows);
    // drop() lets them go there. False when the window does not take them.
    Q_INVOKABLE bool dragOver(QQuickItem* item, const QStringList& paths)
    {
        QQuickWindow* w = item ? item->window() : nullptr;
        if (!w)
            return false;
        m_mime.reset(new QMimeData);
        QList<QUrl> urls;
        for (const QString& p : paths)
            urls << QUrl::fromLocalFile(p);
        m_mime->setUrls(urls);
        m_at = item->mapToScene(QPointF(item->width() / 2, item->height() / 2)).toPoint();
        QDragEnterEvent enter(m_at, Qt::CopyAction, m_mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &enter);
        QDragMoveEvent move(m_at, Qt::CopyAction, m_mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(w, &move);
        m_window = w;
        return move.isAccepted();
    }
    Q_INVOKABLE bool drop()
    {
        if (!m_window || !m_mime)
            return false;
        QDropEvent d(m_at, Qt::CopyAction, m_mime.get(), Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(m_window, &d);
        return d.isAccepted();
    }

private:
    QuickRigApi* m_base;
    int m_groupId;
    std::unique_ptr<QMimeData> m_mime;
    QQuickWindow* m_window = nullptr;
    QPoint m_at;
};

// The common rig plus a group of the signed-in user with files to sort and
// search, and a received link (its sessions routed to the test device) with
// files to save.
class GroupFilesQuickRig : public QuickRig
{
    Q_OBJECT
public:
    static constexpr const char* kGroup = "Project files";
    static constexpr const char* kLink = "save-link-1";

protected:
    void extend(QQmlContext* ctx) override
    {
        QuickRigApi* base = api();
        if (!m_api)
            m_api.reset(new GroupFilesRigApi(base, seed(base)));
        ctx->setContextProperty("groupRig", m_api.get());
    }

private:
    int seed(QuickRigApi* base)
    {
        TestDeviceServer* server = base->server;
        TidewellSdk* root = base->root;
        const int port = server->port();
        root->setExtlinkWaitMs(5000);
        const std::string deviceId = server->deviceId();
        root->setExtlinkResolver([port, deviceId](const NetworkShare&, sdk::cores::model::device_addr& a) {
            a.lan_host = "127.0.0.1";
            a.lan_port = port;
            a.device_id = deviceId;
            a.token = "rig-token";
            return true;
        });

        const int group = server->addPubGroup(kGroup, "owner");
        const std::string top = "groups/" + std::to_string(group);
        server->addFile(top + "/alpha.txt", "alpha\n");
        server->addFile(top + "/beta.txt", "beta\n");
        server->addFile(top + "/delta report.txt", "delta\n");
        server->addFile(top + "/Gamma/report 2.txt", "nested report\n");
        server->addFolder(top + "/Archive");

        server->addShareLink(kLink, "", "Save me", "Links/Save");
        server->addFile("Links/Save/notes.txt", "Notes of the link.\n");
        server->addGeneratedFile("Links/Save/data.bin", 300000, true, 17);
        server->addFile("Links/Save/Inner/inner.txt", "Inside.\n");
        return group;
    }

    std::unique_ptr<GroupFilesRigApi> m_api;
};
