#pragma once

#include <QDesktopServices>
#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QQmlContext>
#include <QStringList>
#include <QUrl>

#include "core/utils.h"
#include "tests/qml/quickrig.h"
#include "tools/testdeviceserver.h"

// What the transfer page tests seed on the device beyond the shared rig:
// copy jobs and failures, internet download tasks; and what the desktop
// was asked to open.
class TransferRigApi : public QObject
{
    Q_OBJECT
public:
    explicit TransferRigApi(TestDeviceServer* server, QObject* parent = nullptr)
        : QObject(parent), m_server(server)
    {
        QDesktopServices::setUrlHandler("file", this, "open");
    }
    ~TransferRigApi() override { QDesktopServices::unsetUrlHandler("file"); }

    // status 1 running, 2 failed
    Q_INVOKABLE qint64 addCopyJob(const QString& name, int status)
    {
        return m_server->addCopyJob(name.toStdString(), 0, status);
    }
    Q_INVOKABLE qint64 addCopyFailure(const QString& name, const QString& tagFile, int type, int failcode)
    {
        return m_server->addCopyFailure(name.toStdString(), tagFile.toStdString(), type, failcode);
    }
    Q_INVOKABLE int copyFailureCount() const { return int(m_server->copyFailureIds().size()); }
    Q_INVOKABLE int copyJobCount() const { return int(m_server->copyJobCount()); }

    Q_INVOKABLE QString addBtTask(const QString& fileName, int status, qint64 size)
    {
        return QString::fromStdString(m_server->addBtTask(fileName.toStdString(), status, size));
    }
    // -1 when the device has no such task.
    Q_INVOKABLE int btTaskStatus(const QString& downId) const
    {
        const auto states = m_server->btTaskStates();
        const auto it = states.find(downId.toStdString());
        return it == states.end() ? -1 : it->second;
    }
    Q_INVOKABLE int btTaskCount() const { return int(m_server->btTaskStates().size()); }
    // The JSON body of the latest request of a device command; empty when none.
    Q_INVOKABLE QString lastBody(const QString& command) const
    {
        const auto requests = m_server->requestsFor(command.toStdString());
        return requests.empty() ? QString() : QString::fromStdString(requests.back().body);
    }

    // Files of downloads in progress.
    Q_INVOKABLE QStringList tempFiles() const
    {
        QStringList out;
        QDirIterator it(getTmpPath(), QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            out << it.next();
        return out;
    }
    Q_INVOKABLE qint64 tempBytes() const
    {
        qint64 n = 0;
        for (const QString& f : tempFiles())
            n += QFileInfo(f).size();
        return n;
    }
    Q_INVOKABLE QString lastOpened() const { return m_opened.isEmpty() ? QString() : m_opened.last(); }
    Q_INVOKABLE int openedCount() const { return m_opened.size(); }

public slots:
    void open(const QUrl& url) { m_opened.append(url.toLocalFile()); }

private:
    TestDeviceServer* m_server;
    QStringList m_opened;
};

class TransferRig : public QuickRig
{
    Q_OBJECT
protected:
    void extend(QQmlContext* context) override
    {
        m_transfer = new TransferRigApi(api()->server, this);
        context->setContextProperty("transferRig", m_transfer);
    }

private:
    TransferRigApi* m_transfer = nullptr;
};
