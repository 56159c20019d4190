#pragma once

#include <QBuffer>
#include <QImage>
#include <QQmlContext>

#include "app/tidewellsdk.h"
#include "sdk/channel_option.h"
#include "sdk/device_addr.h"
#include "tests/qml/quickrig.h"
#include "tools/samplelibrary.h"
#include "tools/testdeviceserver.h"

// What the sharing page tests read and seed on the test device besides the
// common rig: groups, shares and links as the device holds them.
class SharingRigApi : public QObject
{
    Q_OBJECT
public:
    explicit SharingRigApi(QuickRigApi* base, QObject* parent = nullptr) : QObject(parent), m_base(base) {}

    Q_INVOKABLE int pubGroupAuthority(int groupId, const QString& accessId) const
    {
        return server()->pubGroupAuthority(groupId, accessId.toStdString());
    }
    Q_INVOKABLE QString pubGroupName(int groupId) const
    {
        return QString::fromStdString(server()->pubGroupName(groupId));
    }
    Q_INVOKABLE QString pubGroupDisk(int groupId) const
    {
        return QString::fromStdString(server()->pubGroupDisk(groupId));
    }
    Q_INVOKABLE QString personalDisk() const { return TestDeviceServer::kPersonalDisk; }
    // A group of the signed-in user on the disk of that serial; its id.
    Q_INVOKABLE int addOwnGroup(const QString& name, const QString& diskSerial)
    {
        return server()->addPubGroup(name.toStdString(), SampleLibrary::kOwner, diskSerial.toStdString());
    }
    // The user's head image: a picture of one colour the device serves by
    // URL (kept on its SD card, out of the lists).
    Q_INVOKABLE void giveHeadImage(const QString& accessId, const QString& markName, const QString& color)
    {
        QImage img(32, 32, QImage::Format_RGB32);
        img.fill(QColor(color));
        QByteArray bytes;
        QBuffer buf(&bytes);
        buf.open(QIODevice::WriteOnly);
        img.save(&buf, "PNG");
        const std::string rel = "sd/heads/" + accessId.toStdString() + ".png";
        server()->addFile(rel, bytes.toStdString());
        server()->addDeviceUser(accessId.toStdString(), markName.toStdString(),
                                "http://127.0.0.1:" + std::to_string(server()->port()) + "/static/" + rel);
    }
    Q_INVOKABLE bool isShared(qint64 fileId) const { return server()->isShared(fileId); }
    Q_INVOKABLE bool hasShareLink(const QString& shareId) const
    {
        return server()->hasShareLink(shareId.toStdString());
    }
    Q_INVOKABLE int shareLinkReports(const QString& shareId) const
    {
        return server()->shareLinkReports(shareId.toStdString());
    }
    // The URL a user pastes for a link of the test device.
    Q_INVOKABLE QString linkUrl(const QString& shareId) const
    {
        return "https://x.share.tidewell.net/share?shareId=" + shareId;
    }

private:
    TestDeviceServer* server() const { return m_base->server; }
    QuickRigApi* m_base;
};

// The common rig plus: the cloud link service played by the test device
// (link descriptions, tokens and reports), link sessions routed to it with
// its token, a folder shared with the signed-in user, a group the user is
// only a member of, and links without a code and for the hand-over.
class SharingQuickRig : public QuickRig
{
    Q_OBJECT
public:
    static constexpr const char* kOpenLink = "open-link-2";
    static constexpr const char* kAliceGroup = "Alice trips";
    static constexpr const char* kHandOverLink = "handover-link-3";

protected:
    // Runs once per test file (each has its own engine); the device is
    // seeded once.
    void extend(QQmlContext* ctx) override
    {
        QuickRigApi* base = api();
        if (!m_sharing) {
            seed(base);
            m_sharing.reset(new SharingRigApi(base));
        }
        ctx->setContextProperty("sharingRig", m_sharing.get());
    }

private:
    void seed(QuickRigApi* base)
    {
        TestDeviceServer* server = base->server;
        TidewellSdk* root = base->root;
        const int port = server->port();

        sdk::cores::model::channel_option opt = root->channelOption();
        opt.cloud_url = "http://127.0.0.1:" + std::to_string(port);
        opt.probe_timeout_ms = 1000;
        root->setChannelOption(opt);
        root->setExtlinkWaitMs(5000);
        const std::string deviceId = server->deviceId();
        root->setExtlinkResolver([port, deviceId](const NetworkShare&, sdk::cores::model::device_addr& a) {
            a.lan_host = "127.0.0.1";
            a.lan_port = port;
            a.device_id = deviceId;
            a.token = "rig-token";
            return true;
        });

        // A folder Alice shares with the signed-in user.
        server->addFile("Shared/Album/cake.txt", "Cake: eggs, sugar, flour.\n");
        server->shareFile(server->idForPath("Shared/Album"), "alice", {"owner"});

        const int group = server->addPubGroup(kAliceGroup, "alice");
        server->setPubGroupMember(group, "owner", 1);
        if (!server->hasShareLink(kOpenLink)) {
            server->addShareLink(kOpenLink, "", "Open folder", "Links/Open");
            server->addFile("Links/Open/notes.txt", "Open notes.\n");
        }
        if (!server->hasShareLink(kHandOverLink))
            server->addShareLink(kHandOverLink, "hh77", "Handed over", "Links/Holiday");
        server->addShareLink("coded-link-4", "cd55", "Coded trip", "Links/Open");
        // Two links of other years, for the order by creation time.
        server->addShareLink("dated-old", "", "Old trip", "Links/Open", 1577872800000);
        server->addShareLink("dated-new", "", "New trip", "Links/Open", 1736848800000);
    }

    std::unique_ptr<SharingRigApi> m_sharing;
};
