#include "app/tidewellsdk.h"

#include <QCommandLineParser>
#include <QDebug>
#include <QElapsedTimer>
#include <QThread>
#include <QQmlContext>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QUrlQuery>
#include <QStandardPaths>
#include <QThreadPool>
#include <QTranslator>
#include <QDir>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QLocale>

#include "app/singleinstance.h"
#include "browser/dirlistmodel.h"
#include "browser/treefathermodel.h"
#include "browser/treemodel.h"
#include "core/common.h"
#include "core/deviceinfo.h"
#include "core/downfileinfo.h"
#include "core/finishfileinfo.h"
#include "core/uploadfileinfo.h"
#include "core/deviceuserinfo.h"
#include "core/extlink.h"
#include "core/extlinks.h"
#include "core/sharelinkinfo.h"
#include "core/localfileinfo.h"
#include "core/networkshare.h"
#include "core/twfileinfo.h"
#include "core/twfolderinfo.h"
#include "core/twhandle.h"
#include "core/usergroupinfo.h"
#include "core/dbhelp.h"
#include "device/tidewelldevice.h"
#include "device/tidewellextlink.h"
#include "device/tidewelltab.h"
#include "media/paintitem.h"
#include "media/skbase64img.h"
#include "media/skdashlineview.h"
#include "media/skimage.h"
#include "media/sknetworkimg.h"
#include "media/skqrcodeimg.h"
#include "media/skphoto.h"
#include "sharing/extlinkfilelistmodel.h"
#include "sharing/extlinklistmodel.h"
#include "transfer/lvdownloadmanager.h"
#include "transfer/downloadfilemodel.h"
#include "transfer/filedownmodel.h"
#include "transfer/normalfiledownmanager.h"
#include "transfer/singlefiledownmanager.h"
#include "transfer/lvfinishmanager.h"
#include "transfer/tsfaillistmodel.h"
#include "transfer/tsfinishfilemodel.h"
#include "transfer/uploadfilemodel.h"
#include "transfer/copyfailmodel.h"
#include "transfer/copyfilemodel.h"
#include "transfer/smartdownfinishmodel.h"
#include "transfer/smartdownmodel.h"
#include "sharing/pubgroupmodel.h"
#include "sharing/pubgroupdetialmodel.h"
#include "sharing/pubgroupusermodel.h"
#include "sharing/sharefilemodel.h"
#include "sharing/shareuserlistmodel.h"
#include "media/grouplistmodel.h"
#include "media/dayrowsmodel.h"
#include "media/medialistmodel.h"
#include "media/twmediaplaylist.h"
#include "media/previewlistmodel.h"
#include "sharing/myextlinklistmodel.h"
#include "sharing/pubfilebasemodel.h"
#include "sharing/pubfilelistmodel.h"
#include "sharing/pubgroupmodel.h"
#include "sharing/sharealluserfilemodel.h"
#include "sharing/sharesearchfilemodel.h"
#include "sharing/shareuserdirmodel.h"
#include "sharing/shareuserfilemodel.h"
#include "protocol/devicesharegettokenresp.h"
#include "protocol/jsonread.h"
#include "protocol/tidewellnet.h"
#include "sdk/network_observer.h"
#include "sdk/tidewell_network_sdk.h"
#include "protocol/apibase.h"
#include "protocol/getmediafilegroupresp.h"
#include "protocol/deletedirorfileresp.h"
#include "protocol/delexternallinkresp.h"
#include "protocol/getexternallinklistresp.h"
#include "protocol/devicesharegetinforesp.h"
#include "protocol/devicesharegettokenresp.h"
#include "protocol/devicesharereportresp.h"
#include "protocol/copyfilelistsresp.h"
#include "protocol/copyfilefaillistsresp.h"
#include "protocol/btgettasklistresp.h"
#include "protocol/filelistresp.h"
#include "protocol/dirpathresp.h"
#include "protocol/getusersharefilesfordirresp.h"
#include "protocol/getexternalfileresp.h"
#include "protocol/getpubfilelistresp.h"
#include "protocol/getexterlinkreslistresp.h"
#include "protocol/createdirresp.h"
#include "protocol/createdirsresp.h"
#include "protocol/createexternaldirsresp.h"
#include "protocol/createpubdirresp.h"
#include "core/pubgroupinfo.h"
#include "core/pubgroupmember.h"
#include "protocol/modifyfileresp.h"
#include "protocol/modifydirresp.h"
#include "protocol/movedirorfileresp.h"
#include "protocol/addtosafetyboxresp.h"
#include "protocol/myloveresp.h"
#include "protocol/relatelabelresp.h"
#include "protocol/copytoperipheralresp.h"
#include "protocol/copytosambresp.h"
#include "protocol/getsharefileresp.h"
#include "protocol/getusersharefileresp.h"
#include "protocol/findsharefileresp.h"
#include "protocol/getshareuserlistresp.h"
#include "protocol/getshareuserandgrouplistresp.h"
#include "protocol/createpubgroupresp.h"
#include "protocol/getpubgrouplistresp.h"
#include "protocol/getpubgroupmemlistresp.h"
#include "protocol/getpubgroupdetailresp.h"
#include "protocol/createpubdirsresp.h"
#include "media/twmediaplayer.h"
#include "protocol/createexternallinkresp.h"
#include "transfer/thumbinfo.h"
#include "transfer/tidewellthumb.h"
#include "media/composelistmodel.h"
#include "core/utils.h"

static const char* kExtlinkDeviceId = "extlink_virtual_deviceId";

TidewellSdk::TidewellSdk(QObject* parent) : TidewellOwner(parent)
{
    // File hashing shares the global pool; keep it from starving the rest.
    QThreadPool::globalInstance()->setMaxThreadCount(3);
    m_extlinkDevice.deviceId = kExtlinkDeviceId;
}

TidewellSdk::~TidewellSdk()
{
    // Facades hand work to the managers: they go first; all of them reach
    // links through this object, whose sessions go last.
    m_extlink.reset();
    m_device.reset();
    // The manager's destructor stops its task without recording a pause, so
    // a link download left running resumes on the next start.
    m_down.reset();
    m_finish.reset();
    m_netDown.reset();
    m_singleDown.reset();
    // Its tasks go back to the link sessions, closed next.
    m_thumb.reset();
    m_db.reset();
    closeExtlinkSessions();
}

void TidewellSdk::initObjects()
{
    if (m_objectsMade)
        return;
    m_objectsMade = true;
    m_thumb.reset(new TidewellThumb);
    m_thumb->init(this, getCachePath());
    m_down.reset(new LVDownloadManager);
    m_down->init(this);
    m_netDown.reset(new NormalFileDownManager);
    m_netDown->init(this);
    m_singleDown.reset(new SingleFileDownManager);
    m_singleDown->init(this);
    m_device.reset(new TidewellDevice(this));
    m_db.reset(new DBHelp(DBHelp::App));
    m_extlink.reset(new TidewellExtlink(this));
    m_finish.reset(new LVFinishManager);
    m_finish->init(this, m_db.get());

    LVDownloadManager* down = m_down.get();
    m_extlink->setDownFilesHandler([down](TW_HANDLE h, const NetworkShare& share,
                                          const QString& savePath, const QList<TwFileInfo>& items,
                                          int fileType) {
        return down->addShareDownFiles(h, share, savePath, items, fileType);
    });
    connect(down, &LVDownloadManager::rAddDownFiles, m_extlink.get(),
            &TidewellExtlink::rAddDownFiles);
    startLinkDownloads();
}

void TidewellSdk::startLinkDownloads()
{
    // Ready once the account is known: the queue's rows are keyed by it.
    if (!m_down || userInfo().accessId.isEmpty())
        return;
    qDebug() << "TidewellSdk::startLinkDownloads - call.";
    m_down->start();
}

LVDownloadManager* TidewellSdk::downloadManager()
{
    initObjects();
    return m_down.get();
}

LVFinishManager* TidewellSdk::finishManager()
{
    initObjects();
    return m_finish.get();
}

NormalFileDownManager* TidewellSdk::netDownManager()
{
    initObjects();
    return m_netDown.get();
}

SingleFileDownManager* TidewellSdk::singleDownManager()
{
    initObjects();
    return m_singleDown.get();
}

TidewellDevice* TidewellSdk::twDevice()
{
    initObjects();
    return m_device.get();
}

TidewellExtlink* TidewellSdk::twExtlink()
{
    initObjects();
    return m_extlink.get();
}

TidewellThumb* TidewellSdk::thumbService()
{
    initObjects();
    return m_thumb.get();
}

ThumbI* TidewellSdk::thumb()
{
    return m_thumb.get();
}

void TidewellSdk::registerMetaTypes()
{
    qRegisterMetaType<TW_HANDLE>("TW_HANDLE");
    qRegisterMetaType<NetworkShare>("NetworkShare");
    qRegisterMetaType<DeviceInfo>("DeviceInfo");
    qRegisterMetaType<UserInfo>("UserInfo");
    qRegisterMetaType<TwFileInfo>("TwFileInfo");
    qRegisterMetaType<QList<TwFileInfo>>("QList<TwFileInfo>");
    qRegisterMetaType<TwFolderInfo>("TwFolderInfo");
    qRegisterMetaType<LocalFileInfo>("LocalFileInfo");
    qRegisterMetaType<QList<LocalFileInfo>>("QList<LocalFileInfo>");
    qRegisterMetaType<DeviceUserInfo>("DeviceUserInfo");
    qRegisterMetaType<UserGroupInfo>("UserGroupInfo");
    qRegisterMetaType<QMap<int, qint64>>("QMap<int,qint64>");
    qRegisterMetaType<QList<qint64>>("QList<qint64>");
    // Replies of the request facades.
    qRegisterMetaType<APIBase>("APIBase");
    qRegisterMetaType<FileListResp>("FileListResp");
    qRegisterMetaType<DirPathResp>("DirPathResp");
    qRegisterMetaType<GetUserShareFilesForDirResp>("GetUserShareFilesForDirResp");
    qRegisterMetaType<GetExternalFileResp>("GetExternalFileResp");
    qRegisterMetaType<GetPubFileListResp>("GetPubFileListResp");
    qRegisterMetaType<GetExterLinkResListResp>("GetExterLinkResListResp");
    qRegisterMetaType<CreateDirResp>("CreateDirResp");
    qRegisterMetaType<CreateDirsResp>("CreateDirsResp");
    qRegisterMetaType<CreateExternalDirsResp>("CreateExternalDirsResp");
    qRegisterMetaType<CreatePubDirResp>("CreatePubDirResp");
    qRegisterMetaType<CreatePubDirsResp>("CreatePubDirsResp");
    qRegisterMetaType<GetMediaFileGroupResp>("GetMediaFileGroupResp");
    qRegisterMetaType<DeleteDirOrFileResp>("DeleteDirOrFileResp");
    qRegisterMetaType<DelExternalLinkResp>("DelExternalLinkResp");
    qRegisterMetaType<GetExternalLinkListResp>("GetExternalLinkListResp");
    qRegisterMetaType<DeviceShareGetInfoResp>("DeviceShareGetInfoResp");
    qRegisterMetaType<DeviceShareGetTokenResp>("DeviceShareGetTokenResp");
    qRegisterMetaType<DeviceShareReportResp>("DeviceShareReportResp");
    qRegisterMetaType<CopyFileListsResp>("CopyFileListsResp");
    qRegisterMetaType<CopyFileFailListsResp>("CopyFileFailListsResp");
    qRegisterMetaType<BTGetTaskListResp>("BTGetTaskListResp");
    qRegisterMetaType<DownFileInfo>("DownFileInfo");
    qRegisterMetaType<QList<DownFileInfo>>("QList<DownFileInfo>");
    qRegisterMetaType<UploadFileInfo>("UploadFileInfo");
    qRegisterMetaType<QList<UploadFileInfo>>("QList<UploadFileInfo>");
    qRegisterMetaType<FinishFileInfo>("FinishFileInfo");
    qRegisterMetaType<QList<FinishFileInfo>>("QList<FinishFileInfo>");
    qRegisterMetaType<Extlink>("Extlink");
    qRegisterMetaType<QList<Extlink>>("QList<Extlink>");
    qRegisterMetaType<Extlinks>("Extlinks");
    qRegisterMetaType<CopyFailInfo>("CopyFailInfo");
    qRegisterMetaType<BtTaskInfo>("BtTaskInfo");
    qRegisterMetaType<QList<int>>("QList<int>");
    qRegisterMetaType<PubGroupInfo>("PubGroupInfo");
    qRegisterMetaType<PubGroupMember>("PubGroupMember");
    qRegisterMetaType<ModifyFileResp>("ModifyFileResp");
    qRegisterMetaType<ModifyDirResp>("ModifyDirResp");
    qRegisterMetaType<MoveDirOrFileResp>("MoveDirOrFileResp");
    qRegisterMetaType<AddToSafetyBoxResp>("AddToSafetyBoxResp");
    qRegisterMetaType<MyLoveResp>("MyLoveResp");
    qRegisterMetaType<RelateLabelResp>("RelateLabelResp");
    qRegisterMetaType<CopyToPeripheralResp>("CopyToPeripheralResp");
    qRegisterMetaType<CopyToSambResp>("CopyToSambResp");
    qRegisterMetaType<GetShareFileResp>("GetShareFileResp");
    qRegisterMetaType<GetUserShareFileResp>("GetUserShareFileResp");
    qRegisterMetaType<FindShareFileResp>("FindShareFileResp");
    qRegisterMetaType<GetShareUserListResp>("GetShareUserListResp");
    qRegisterMetaType<GetShareUserAndGroupListResp>("GetShareUserAndGroupListResp");
    qRegisterMetaType<CreatePubGroupResp>("CreatePubGroupResp");
    qRegisterMetaType<GetPubGroupListResp>("GetPubGroupListResp");
    qRegisterMetaType<GetPubGroupMemListResp>("GetPubGroupMemListResp");
    qRegisterMetaType<GetPubGroupDetailResp>("GetPubGroupDetailResp");
    qRegisterMetaType<ThumbInfo>("ThumbInfo");
    qRegisterMetaType<CreateExternalLinkResp>("CreateExternalLinkResp");
}

void TidewellSdk::openUrl(const QUrl& url) const
{
    ::openUrl(url);
}

void TidewellSdk::setClipboardText(const QString& text) const
{
    ::setClipboardText(text);
}

QString TidewellSdk::shownName(const QString& name) const
{
    return ::shownName(name);
}

QString TidewellSdk::linkWithCode(const QString& url, const QString& code) const
{
    Extlink link;
    link.url = url;
    link.code = code;
    return link.linkWithCode();
}

QVariantMap TidewellSdk::pastedLink(const QString& text) const
{
    const QStringList words = text.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts);
    int at = 0;
    while (at < words.size() && getShareIdFromUrl(words.at(at)).isEmpty())
        ++at;
    if (at == words.size())
        return {{"url", text.trimmed()}, {"code", QString()}};
    const QString url = words.at(at);
    QString code = QUrlQuery(QUrl(url).query()).queryItemValue("code", QUrl::FullyDecoded);
    // Words after the URL end in the code, after a colon of either width.
    const QString rest = words.mid(at + 1).join(' ');
    const int colon = qMax(rest.lastIndexOf(':'), rest.lastIndexOf(QChar(0xFF1A)));
    if (code.isEmpty() && colon >= 0)
        code = rest.mid(colon + 1).trimmed();
    return {{"url", urlWithoutCode(url)}, {"code", code}};
}

QUrl TidewellSdk::fileUrl(const QString& path) const
{
    return QUrl::fromLocalFile(path);
}

bool TidewellSdk::loadTranslation(QTranslator& translator)
{
    Q_INIT_RESOURCE(i18n);
    if (translator.load(QLocale(), "tidewell_ui", "_", ":/i18n"))
        return true;
    return translator.load("tidewell_ui_en", ":/i18n");
}

void TidewellSdk::addImportPaths(QQmlEngine* engine)
{
    engine->addImportPath(":/");
    engine->addImportPath(":/imports");
}

QUrl TidewellSdk::dialogFolder()
{
    const QString kept = m_config.value("LarkVault", "DialogFolder").toString();
    if (!kept.isEmpty() && QFileInfo(kept).isDir())
        return QUrl::fromLocalFile(kept);
    return QUrl::fromLocalFile(QDir::homePath());
}

void TidewellSdk::keepDialogFolder(const QUrl& chosen)
{
    if (!chosen.isLocalFile())
        return;
    const QFileInfo fi(chosen.toLocalFile());
    const QString folder = fi.isDir() ? fi.absoluteFilePath() : fi.absolutePath();
    if (folder == m_config.value("LarkVault", "DialogFolder").toString())
        return;
    m_config.setValue("LarkVault", "DialogFolder", folder);
    emit dialogFolderChanged();
}

int TidewellSdk::installQtTranslations(QCoreApplication* app, const QLocale& locale)
{
    if (!app || locale.language() == QLocale::English || locale.language() == QLocale::C)
        return 0;
    const QString dir = QLibraryInfo::location(QLibraryInfo::TranslationsPath);
    int loaded = 0;
    for (const char* module : {"qtbase", "qtdeclarative", "qtquickcontrols", "qtquickcontrols2"}) {
        auto* t = new QTranslator(app);
        if (t->load(locale, QString::fromLatin1(module), "_", dir) && app->installTranslator(t)) {
            ++loaded;
        } else {
            delete t;
        }
    }
    if (loaded == 0)
        qWarning() << "TidewellSdk::installQtTranslations - none for" << locale.name() << "in" << dir;
    return loaded;
}

void TidewellSdk::registerTypes()
{
    qmlRegisterType<Common>("Tidewell.Core", 1, 0, "Common");
    qmlRegisterType<DirListModel>("Tidewell.Model", 1, 0, "DirListModel");
    qmlRegisterType<TidewellTab>("Tidewell.Model", 1, 0, "TidewellTab");
    qmlRegisterType<TidewellExtlink>("Tidewell.Model", 1, 0, "TidewellExtlink");
    qmlRegisterType<DownloadFileModel>("Tidewell.Model", 1, 0, "DownloadFileModel");
    qmlRegisterType<UploadFileModel>("Tidewell.Model", 1, 0, "UploadFileModel");
    qmlRegisterType<TSFinishFileModel>("Tidewell.Model", 1, 0, "TSFinishFileModel");
    qmlRegisterType<TSFailListModel>("Tidewell.Model", 1, 0, "TSFailListModel");
    qmlRegisterType<CopyFileModel>("Tidewell.Model", 1, 0, "CopyFileModel");
    qmlRegisterType<CopyFailModel>("Tidewell.Model", 1, 0, "CopyFailModel");
    qmlRegisterType<SmartDownModel>("Tidewell.Model", 1, 0, "SmartDownModel");
    qmlRegisterType<SmartDownFinishModel>("Tidewell.Model", 1, 0, "SmartDownFinishModel");
    qmlRegisterType<SKPhoto>("Tidewell.PaintItem", 1, 0, "SKPhoto");
    qmlRegisterType<SKImage>("Tidewell.PaintItem", 1, 0, "SKImage");
    qmlRegisterType<PaintItem>("Tidewell.PaintItem", 1, 0, "PaintItem");
    qmlRegisterType<SKBase64Img>("Tidewell.PaintItem", 1, 0, "SKBase64Img");
    qmlRegisterType<SKQRCodeImg>("Tidewell.PaintItem", 1, 0, "SKQRCodeImg");
    qmlRegisterType<SKDashLineView>("Tidewell.PaintItem", 1, 0, "SKDashLineView");
    qmlRegisterType<SKNetworkImg>("Tidewell.PaintItem", 1, 0, "SKNetworkImg");
    qmlRegisterType<TwMediaPlayer>("Tidewell.Media", 1, 0, "TwMediaPlayer");
    qmlRegisterType<FileDownModel>("Tidewell.Model", 1, 0, "FileDownModel");
    qmlRegisterType<PubGroupModel>("Tidewell.Model", 1, 0, "PubGroupModel");
    qmlRegisterType<PubGroupUserModel>("Tidewell.Model", 1, 0, "PubGroupUserModel");
    qmlRegisterType<PubGroupDetialModel>("Tidewell.Model", 1, 0, "PubGroupDetialModel");
    qmlRegisterType<ShareUserListModel>("Tidewell.Model", 1, 0, "ShareUserListModel");
    qmlRegisterType<ShareFileModel>("Tidewell.Model", 1, 0, "ShareFileModel");
    qmlRegisterType<GroupListModel>("Tidewell.Model", 1, 0, "GroupListModel");
    qmlRegisterType<MediaListModel>("Tidewell.Model", 1, 0, "MediaListModel");
    qmlRegisterType<DayRowsModel>("Tidewell.Model", 1, 0, "DayRowsModel");
    qmlRegisterType<MyExtlinkListModel>("Tidewell.Model", 1, 0, "MyExtlinkListModel");
    qmlRegisterType<TwMediaPlayList>("Tidewell.Media", 1, 0, "TwMediaPlayList");
    qmlRegisterType<PreviewListModel>("Tidewell.Model", 1, 0, "PreviewListModel");
    qmlRegisterType<ComposeListModel>("Tidewell.Model", 1, 0, "ComposeListModel");
    qmlRegisterType<PubFileListModel>("Tidewell.Model", 1, 0, "PubFileListModel");
    qmlRegisterType<ShareAllUserFileModel>("Tidewell.Model", 1, 0, "ShareAllUserFileModel");
    qmlRegisterType<ShareUserFileModel>("Tidewell.Model", 1, 0, "ShareUserFileModel");
    qmlRegisterType<ShareUserDirModel>("Tidewell.Model", 1, 0, "ShareUserDirModel");
    qmlRegisterType<ShareSearchFileModel>("Tidewell.Model", 1, 0, "ShareSearchFileModel");
    qmlRegisterType<ExtlinkListModel>("Tidewell.Model", 1, 0, "ExtlinkListModel");
    qmlRegisterType<ExtlinkFileListModel>("Tidewell.Model", 1, 0, "ExtlinkFileListModel");
    qmlRegisterType<PubFileBaseModel>("Tidewell.Model", 1, 0, "PubFileBaseModel");
    qmlRegisterType<TreeFatherModel>("Tidewell.Model", 1, 0, "TreeFatherModel");
    qmlRegisterType<TreeModel>("Tidewell.Model", 1, 0, "TreeModel");
}

void TidewellSdk::exposeTo(QQmlContext* ctx)
{
    initObjects();
    ctx->setContextProperty("twSdk", this);
    ctx->setContextProperty("twThumb", m_thumb.get());
    ctx->setContextProperty("twDown", m_down.get());
    ctx->setContextProperty("twNetDown", m_netDown.get());
    ctx->setContextProperty("twSingleDown", m_singleDown.get());
    ctx->setContextProperty("twDevice", m_device.get());
    ctx->setContextProperty("twExtlink", m_extlink.get());
    ctx->setContextProperty("twFinish", m_finish.get());
}

void TidewellSdk::release()
{
    qDebug() << "TidewellSdk::release - call.";
    if (m_thumb)
        m_thumb->stop();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_user = UserInfo();
        m_extlinkDevice.accessId.clear();
    }
    closeExtlinkSessions();
}

void TidewellSdk::setExtraExtlink(const QVariantMap& link)
{
    if (m_extraExtlink == link)
        return;
    m_extraExtlink = link;
    if (!link.value("shareId").toString().isEmpty())
        qDebug() << "TidewellSdk::setExtraExtlink - link" << link.value("shareId").toString();
    emit extraExtlinkChanged();
}

void TidewellSdk::handleArguments(const QStringList& args)
{
    QCommandLineParser parser;
    parser.addOption(QCommandLineOption({"a", "argument"}, "Link handed over by the URL scheme.",
                                        "url"));
    // Unknown options of other starts are no reason to drop the link.
    parser.parse(args);
    QString value = parser.value("argument");
    // A link given as it is, as a desktop or a user passes it.
    for (const QString& arg : parser.positionalArguments()) {
        if (!value.isEmpty())
            break;
        if (arg.contains("/share"))
            value = arg;
        else
            qWarning().noquote() << "Not a link:" << arg.left(200)
                                 << "- pass a link as: tidewell -a \"larkvault://...\"";
    }
    if (!value.contains("/share"))
        return;
    const ShareLinkInfo link = ShareLinkInfo::parse(value);
    if (!link.isValid()) {
        qWarning() << "TidewellSdk::handleArguments - not a link of ours:" << value.left(200);
        return;
    }
    qDebug() << "TidewellSdk::handleArguments - link" << link.shareId;
    setExtraExtlink(link.toMap());
}

void TidewellSdk::handleMessage(const QByteArray& message)
{
    handleArguments(SingleInstance::decodeArguments(message));
}

void TidewellSdk::setUserInfo(const UserInfo& user)
{
    Session cloud;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_user = user;
        m_extlinkDevice.accessId = user.accessId;
        cloud = m_cloud;
    }
    if (cloud) {
        sdk::cores::model::user_info u;
        u.access_id = user.accessId.toStdString();
        u.cookie = user.cookie.toStdString();
        cloud->set_user_info(u);
    }
    startLinkDownloads();
}

void TidewellSdk::setChannelOption(const sdk::cores::model::channel_option& option)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_option = option;
    // Remade with the new options on next use; the old one stays alive, as
    // callers may still hold its pointer.
    if (m_cloud)
        m_retired.push_back(m_cloud);
    m_cloud.reset();
}

sdk::cores::model::channel_option TidewellSdk::channelOption() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_option;
}

void TidewellSdk::setTestEnvironment(bool test)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_extlinkDevice.deviceId = QString(kExtlinkDeviceId) + (test ? "_test" : "");
}

void TidewellSdk::setExtlinkResolver(ExtlinkResolver resolver)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_resolver = std::move(resolver);
}

TidewellSdk::Session TidewellSdk::newSession() const
{
    sdk::cores::model::channel_option opt;
    sdk::cores::model::user_info u;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        opt = m_option;
        u.access_id = m_user.accessId.toStdString();
        u.cookie = m_user.cookie.toStdString();
    }
    auto s = std::make_shared<sdk::plugins::tidewell_network_sdk>();
    s->init(opt);
    s->set_user_info(u);
    return s;
}

TidewellSdk::Session TidewellSdk::cloudSession()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_cloud)
            return m_cloud;
    }
    Session s = newSession();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (!m_cloud)
        m_cloud = s;
    return m_cloud;
}

bool TidewellSdk::resolveExtlink(const NetworkShare& share, sdk::cores::model::device_addr& out)
{
    ExtlinkResolver resolver;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        resolver = m_resolver;
    }
    if (resolver)
        return resolver(share, out);

    Json::Value body(Json::objectValue);
    body["shareId"] = JsonRead::str(share.shareId);
    body["extractedCode"] = JsonRead::str(share.extractedCode);
    DeviceShareGetTokenResp resp;
    if (!TidewellNet::cloud(cloudSession().get(), TidewellExtlink::kGetTokenPath, body, resp)) {
        qWarning() << "TidewellSdk::resolveExtlink - no token for link" << share.shareId
                   << resp.code() << resp.message;
        return false;
    }
    out = sdk::cores::model::device_addr();
    out.device_id = resp.deviceId.toStdString();
    out.token = resp.deviceToken.toStdString();
    out.lan_host = resp.lanHost.toStdString();
    out.lan_port = resp.lanPort;
    out.map_host = resp.mapHost.toStdString();
    out.map_port = resp.mapPort;
    out.remote_host = resp.remoteHost.toStdString();
    out.remote_port = resp.remotePort;
    if ((out.lan_host.empty() || !out.lan_port) && (out.map_host.empty() || !out.map_port)
        && (out.remote_host.empty() || !out.remote_port)) {
        qWarning() << "TidewellSdk::resolveExtlink - no address for link" << share.shareId;
        return false;
    }
    return true;
}

bool TidewellSdk::waitConnected(const Session& s) const
{
    QElapsedTimer t;
    t.start();
    for (;;) {
        const int st = s->link_state();
        if (st >= sdk::cores::tidewell::link_lan)
            return true;
        if (t.elapsed() >= m_linkWaitMs)
            return false;
        QThread::msleep(10);
    }
}

TidewellSdk::Session TidewellSdk::linkSession(const NetworkShare& share)
{
    std::lock_guard<std::mutex> open(m_openMutex);
    Session s;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_links.find(share.shareId);
        if (it != m_links.end())
            s = it->second;
    }
    if (s) {
        const int st = s->link_state();
        if (st >= sdk::cores::tidewell::link_lan)
            return s;
        if (st == sdk::cores::tidewell::link_offline)
            s->reconnect_device();
        waitConnected(s);
        return s;
    }

    sdk::cores::model::device_addr addr;
    if (!resolveExtlink(share, addr))
        return Session();
    s = newSession();
    if (!s->extlink_device(addr)) {
        qWarning() << "TidewellSdk::linkSession - link has no route:" << share.shareId;
        return Session();
    }
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_links[share.shareId] = s;
    }
    qDebug() << "TidewellSdk::linkSession - opened session of link" << share.shareId;
    waitConnected(s);
    return s;
}

int TidewellSdk::extlinkSessionCount() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return int(m_links.size());
}

void TidewellSdk::closeExtlinkSessions()
{
    std::map<QString, Session> old;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        old.swap(m_links);
    }
    // Sessions still used by a running call stay alive until it ends.
}

bool TidewellSdk::device_online(const NetworkShare& share, OnlineFn fn)
{
    if (share.shareId.isEmpty()) {
        qDebug() << "TidewellSdk::device_online - no share id, nothing run.";
        return false;
    }
    if (!fn)
        return false;
    // Held for the whole call, so a sign-out meanwhile cannot free it.
    Session s = linkSession(share);
    if (!s)
        return false;
    const int st = s->link_state();
    if (st < sdk::cores::tidewell::link_lan) {
        qDebug() << "TidewellSdk::device_online - link not connected:" << share.shareId;
        return false;
    }
    return fn(s.get(), st == sdk::cores::tidewell::link_lan
                           || st == sdk::cores::tidewell::link_lan_mapped);
}

// The application's library objects are the link sessions.
bool TidewellSdk::isOnline()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    for (const auto& kv : m_links)
        if (kv.second && kv.second->link_state() != sdk::cores::tidewell::link_offline)
            return true;
    return false;
}

bool TidewellSdk::linkOnline(const NetworkShare& share)
{
    Session s;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_links.find(share.shareId);
        if (it != m_links.end())
            s = it->second;
    }
    // No session: the link could not be resolved (gone, or signed out).
    if (!s)
        return false;
    // A session given up on is probed again; its link stays worth waiting for.
    if (s->link_state() == sdk::cores::tidewell::link_offline)
        s->reconnect_device();
    return true;
}

bool TidewellSdk::isLan() { return false; }

QString TidewellSdk::downloadFolder()
{
    const QString p = downloadPath();
    if (!p.isEmpty())
        QDir().mkpath(p);
    return p;
}

QString TidewellSdk::downloadPath()
{
    QString p = m_config.value("LarkVault", "SavePath").toString();
    if (p.isEmpty())
        p = m_config.downPath();
    if (p.isEmpty())
        p = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
    return p;
}

UserInfo TidewellSdk::userInfo()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_user;
}
DeviceInfo* TidewellSdk::deviceInfo() { return &m_extlinkDevice; }
DeviceInfo TidewellSdk::currentDevice()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_extlinkDevice;
}
int TidewellSdk::deviceType() { return 0; }
bool TidewellSdk::isPCDevice() { return false; }
int TidewellSdk::netType() { return 0; }
sdk::plugins::tidewell_network_sdk* TidewellSdk::networkSdk()
{
    return cloudSession().get();
}
