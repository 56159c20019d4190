#include <QtQuickTest>

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <QUrl>

#include "tests/qml/sharing/sharingrig.h"
#include "tests/xvfbdisplay.h"

// What the opening tests seed and watch besides the sharing rig: copies of
// the sample pictures, video and documents in a group, a share and a link
// of their own, a document of every kind, and the files handed to the
// desktop to open.
class OpeningRigApi : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool gl MEMBER gl CONSTANT)
    Q_PROPERTY(QString media MEMBER media CONSTANT)
    Q_PROPERTY(int groupId MEMBER groupId CONSTANT)
public:
    static constexpr const char* kLink = "opening-link-4";
    static constexpr const char* kLinkCode = "op12";

    explicit OpeningRigApi(QObject* parent = nullptr) : QObject(parent)
    {
        QDesktopServices::setUrlHandler("file", this, "open");
    }
    ~OpeningRigApi() override { QDesktopServices::unsetUrlHandler("file"); }

    bool gl = false;
    // The piece that plays: the sample video, or music where no video
    // could be made.
    QString media;
    int groupId = 0;

    void seed(QuickRigApi* base)
    {
        TestDeviceServer* s = base->server;
        media = base->deviceHas("Videos/test-pattern.mp4") ? "Videos/test-pattern.mp4" : "Music/tune.wav";
        const QString name = QFileInfo(media).fileName();
        groupId = s->addPubGroup("Opening", "owner");
        const std::string group = "groups/" + std::to_string(groupId) + "/";
        copy(base, "Photos/harbour.jpg", QString::fromStdString(group) + "harbour.jpg");
        copy(base, media, QString::fromStdString(group) + name);
        copy(base, "Documents/readme.txt", QString::fromStdString(group) + "readme.txt");
        copy(base, media, "Shared/" + name);
        s->shareFile(s->idForPath(("Shared/" + name).toStdString()), "alice", {"owner"});
        copy(base, "Photos/harbour.jpg", "Links/Opening/harbour.jpg");
        copy(base, "Photos/lake.jpg", "Links/Opening/lake.jpg");
        copy(base, media, "Links/Opening/" + name);
        copy(base, "Documents/readme.txt", "Links/Opening/readme.txt");
        s->addFile("Links/Opening/novel.epub", "The text of a novel.\n");
        s->addShareLink(kLink, kLinkCode, "Opening link", "Links/Opening");
        for (const QString& name : documentKinds())
            s->addFile(("Documents/Kinds/" + name).toStdString(), ("The text of " + name + ".\n").toStdString());
    }

    // One document of each kind that opens in the desktop's application.
    Q_INVOKABLE static QStringList documentKinds()
    {
        return {"report.pdf", "letter.docx", "sheet.xlsx", "slides.pptx", "novel.epub"};
    }

    Q_INVOKABLE QString linkUrl() const
    {
        return QString("https://x.share.tidewell.net/share?shareId=") + kLink;
    }
    Q_INVOKABLE QString linkCode() const { return kLinkCode; }
    Q_INVOKABLE QString lastOpened() const { return m_opened.isEmpty() ? QString() : m_opened.last(); }
    Q_INVOKABLE int openedCount() const { return m_opened.size(); }

public slots:
    void open(const QUrl& url) { m_opened.append(url.toLocalFile()); }

private:
    static void copy(QuickRigApi* base, const QString& from, const QString& to)
    {
        QFile f(base->devicePath(from));
        if (f.open(QIODevice::ReadOnly))
            base->server->addFile(to.toStdString(), f.readAll().toStdString());
    }
    QStringList m_opened;
};

// The sharing rig (link sessions routed to the test device) drawn on a
// private X server, so the player can draw video.
class OpeningRig : public SharingQuickRig
{
public:
    OpeningRig()
    {
        m_api.gl = m_display.start();
        if (m_api.gl)
            qunsetenv("QT_QUICK_BACKEND");
    }

protected:
    void extend(QQmlContext* ctx) override
    {
        SharingQuickRig::extend(ctx);
        if (m_api.groupId == 0)
            m_api.seed(api());
        ctx->setContextProperty("openingRig", &m_api);
    }

private:
    XvfbDisplay m_display;
    OpeningRigApi m_api;
};

QUICK_TEST_MAIN_WITH_SETUP(opening, OpeningRig)

#include "tst_opening.moc"
#include "tests/qml/sharing/moc_sharingrig.cpp"
