// Pages under large lists, in a real Qt Quick scene (offscreen, software
// scene graph): the download list with 10,000 queued files and the pictures
// grouped by day with 10,000 pictures, 5,000 of them on one day, against a
// plain ListView / GridView of as many simple cells, in the same window. Each
// view is scrolled end to end in half-page steps and with the wheel, one
// frame per step; a step's frame time runs from the step to the frame that
// shows it. Rounds interleave the four views. A ratio is the reference's p95
// frame time over ours (higher is better): the median over the rounds, then
// the lowest and highest. Also: the resident memory the pictures page holds
// above the empty page, and the longest the GUI thread stalls while 10,000
// selected pictures are queued for download (until all are stored and the
// list shows them).
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPainter>
#include <QQmlComponent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickItem>
#include <QQuickWindow>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>

#include "app/devicelauncher.h"
#include "app/tidewellsdk.h"
#include "bench/benchutil.h"
#include "core/basemodel.h"
#include "core/cconfig.h"
#include "media/grouplistmodel.h"
#include "tools/samplelibrary.h"
#include "tools/testdeviceserver.h"
#include "transfer/downloadfilemodel.h"
#include "transfer/lvdownloadmanager.h"

namespace {

const int kPictures = 10000;
const int kOneDay = 5000;
const int kPerOtherDay = 50;
const int kDistinct = 48;
const int kRounds = 5;
const int kWheelNotches = 40;

const char* kScene = R"QML(
import QtQuick 2.15
import QtQuick.Controls 2.15
import Tidewell 1.0
import Tidewell.Model 1.0
import "qrc:/compoments/media"
import "qrc:/compoments/transfer"

Item {
    id: scene
    width: 1000; height: 700
    // 1 plain list, 2 downloads, 3 plain grid, 4 pictures
    property int shown: 0
    property bool picturesShown: false
    property bool downloadsMade: false
    property int cells: 10000
    TidewellTab { id: tab; objectName: "tab"; root: twSdk }
    ListView {
        objectName: "refList"
        anchors.fill: parent
        visible: scene.shown === 1
        clip: true
        model: scene.cells
        boundsBehavior: Flickable.StopAtBounds
        delegate: Rectangle {
            width: ListView.view.width
            height: Theme.rowHeight + 12
            color: index % 2 ? Theme.surface : Theme.background
            Text { x: Theme.margin; anchors.verticalCenter: parent.verticalCenter; text: "Row " + index; color: Theme.text }
        }
    }
    GridView {
        objectName: "refGrid"
        anchors.fill: parent
        visible: scene.shown === 3
        clip: true
        model: scene.cells
        cellWidth: Theme.thumbSize + 16
        cellHeight: Theme.thumbSize + 36
        boundsBehavior: Flickable.StopAtBounds
        delegate: Rectangle {
            width: GridView.view.cellWidth - 8
            height: GridView.view.cellHeight - 8
            color: Theme.surface
            border.color: Theme.border
            Text { anchors.bottom: parent.bottom; anchors.horizontalCenter: parent.horizontalCenter; text: "Cell " + index; color: Theme.text }
        }
    }
    Loader {
        objectName: "downloads"
        anchors.fill: parent
        active: scene.downloadsMade
        visible: scene.shown === 2
        sourceComponent: QueueView {
            isDown: true
            model: DownloadFileModel { objectName: "downModel"; down: tab.twDown; twfs: tab.twFinish }
        }
    }
    MediaCategory {
        objectName: "pictures"
        anchors.fill: parent
        visible: scene.shown === 4
        twTab: tab
        fileType: 1
        shown: scene.picturesShown
    }
}
)QML";

QObject* findNamed(QObject* root, const QString& name)
{
    if (!root)
        return nullptr;
    if (root->objectName() == name)
        return root;
    if (auto* item = qobject_cast<QQuickItem*>(root)) {
        for (QQuickItem* kid : item->childItems()) {
            if (QObject* r = findNamed(kid, name))
                return r;
        }
    }
    for (QObject* kid : root->children()) {
        if (QObject* r = findNamed(kid, name))
            return r;
    }
    return nullptr;
}

// One pass of the event loop as the program's own would run it: objects
// released with deleteLater go too (processEvents alone keeps them outside
// a running loop).
void spin()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool waitUntil(const std::function<bool()>& ready, int timeoutMs)
{
    QElapsedTimer t;
    t.start();
    while (!ready()) {
        if (t.elapsed() > timeoutMs)
            return false;
        spin();
    }
    return true;
}

// The vertical scroll bar attached to a view (a child item of it).
QQuickItem* verticalBar(QQuickItem* view)
{
    for (QQuickItem* kid : view->childItems()) {
        if (kid->inherits("QQuickScrollBar") && kid->property("orientation").toInt() == Qt::Vertical)
            return kid;
    }
    return nullptr;
}

// Loads a view's rows as a user does: its scroll bar moved to the end again
// and again while the view asks for more, until loaded() reaches total and
// the end is in sight.
bool scrollUntilLoaded(QQuickItem* view, const std::function<int()>& loaded, int total, int timeoutMs)
{
    QQuickItem* bar = verticalBar(view);
    if (!bar)
        return false;
    auto atEnd = [view] {
        return view->property("originY").toReal() + view->property("contentHeight").toReal()
                   - view->property("contentY").toReal() - view->height() < 1.5;
    };
    return waitUntil([&] {
        if (loaded() >= total && atEnd())
            return true;
        bar->setProperty("position", 1.0 - bar->property("size").toReal());
        return false;
    }, timeoutMs);
}

// A left click in the middle of an item.
void click(QQuickWindow* window, QQuickItem* item)
{
    const QPointF at = item->mapToScene(QPointF(item->width() / 2, item->height() / 2));
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent ev(type, at, at, window->mapToGlobal(at.toPoint()), Qt::LeftButton,
                       type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(window, &ev);
    }
    spin();
}

long currentRssMb()
{
    QFile f("/proc/self/statm");
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> parts = f.readAll().split(' ');
    return parts.size() > 1 ? parts.at(1).toLong() * 4096 / (1024 * 1024) : -1;
}

double percentile(std::vector<double> v, double p)
{
    if (v.empty())
        return -1;
    std::sort(v.begin(), v.end());
    const std::size_t i = std::min(v.size() - 1, std::size_t(p * double(v.size() - 1) + 0.5));
    return v[i];
}

// The pictures: a small generated set copied under many names, kOneDay on
// today, the rest kPerOtherDay a day before it.
bool seedPictures(TestDeviceServer& server, const QString& scratch)
{
    QStringList set;
    for (int i = 0; i < kDistinct; ++i) {
        QImage img(320, 240, QImage::Format_RGB32);
        img.fill(QColor::fromHsv((i * 53) % 360, 150, 220));
        QPainter p(&img);
        p.setPen(Qt::black);
        p.drawEllipse(QPoint(40 + i * 5, 120), 30 + i, 30 + i);
        p.drawText(img.rect(), Qt::AlignCenter, QString::number(i));
        p.end();
        const QString path = QString("%1/set-%2.jpg").arg(scratch).arg(i);
        if (!img.save(path, "JPG", 80))
            return false;
        set << path;
    }
    const QDateTime today(QDate::currentDate(), QTime(12, 0));
    for (int i = 0; i < kPictures; ++i) {
        const QString rel = QString("Pictures/p-%1.jpg").arg(i, 5, 10, QChar('0'));
        const QString path = QString::fromStdString(server.absolutePath(rel.toStdString()));
        QDir().mkpath(QFileInfo(path).absolutePath());
        if (!QFile::copy(set.at(i % kDistinct), path))
            return false;
        const QDateTime when = i < kOneDay ? today.addSecs(-i)
                                           : today.addDays(-1 - (i - kOneDay) / kPerOtherDay).addSecs(-(i % kPerOtherDay));
        QFile f(path);
        if (!f.open(QIODevice::ReadWrite) || !f.setFileTime(when, QFileDevice::FileModificationTime))
            return false;
        server.idForPath(rel.toStdString());
    }
    return true;
}

// Frame times of one view while it is scrolled end to end and with the wheel.
class FrameMeter
{
public:
    explicit FrameMeter(QQuickWindow* w) : m_window(w)
    {
        QObject::connect(w, &QQuickWindow::frameSwapped, w, [this] { ++m_frames; });
    }

    // Time from step() to the frame after it, in ms.
    double frame(const std::function<void()>& step)
    {
        QElapsedTimer t;
        t.start();
        const int before = m_frames;
        step();
        m_window->update();
        while (m_frames == before && t.elapsed() < 10000)
            spin();
        return t.nsecsElapsed() / 1e6;
    }

    // Settles a view: a few frames without measuring.
    void settle(int n = 5)
    {
        for (int i = 0; i < n; ++i)
            frame([] {});
    }

    std::vector<double> scroll(QQuickItem* view)
    {
        std::vector<double> out;
        auto y = [view] { return view->property("contentY").toReal(); };
        auto setY = [view](qreal v) { view->setProperty("contentY", v); };
        const qreal page = view->height() * 0.5;
        setY(view->property("originY").toReal());
        settle();
        // End to end, down then up.
        for (int guard = 0; guard < 100000 && !view->property("atYEnd").toBool(); ++guard) {
            const qreal top = view->property("originY").toReal();
            const qreal end = top + view->property("contentHeight").toReal() - view->height();
            out.push_back(frame([&] { setY(std::min(end, y() + page)); }));
        }
        for (int guard = 0; guard < 100000 && !view->property("atYBeginning").toBool(); ++guard) {
            const qreal top = view->property("originY").toReal();
            out.push_back(frame([&] { setY(std::max(top, y() - page)); }));
        }
        // The wheel, down and up again.
        const QPointF at(view->width() / 2, view->height() / 2);
        const QPointF global = view->mapToScene(at);
        for (int dir : {-1, 1}) {
            for (int i = 0; i < kWheelNotches; ++i) {
                out.push_back(frame([&] {
                    QWheelEvent ev(global, global, QPoint(), QPoint(0, 120 * dir), Qt::NoButton, Qt::NoModifier,
                                   Qt::NoScrollPhase, false);
                    QCoreApplication::sendEvent(m_window, &ev);
                }));
            }
            for (int guard = 0; guard < 1000 && view->property("moving").toBool(); ++guard)
                out.push_back(frame([] {}));
        }
        return out;
    }

private:
    QQuickWindow* m_window;
    int m_frames = 0;
};

// The longest stretch the GUI thread went without handling its timer.
class GapMeter
{
public:
    GapMeter()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            m_max = std::max(m_max, m_since.nsecsElapsed() / 1e6);
            m_since.restart();
        });
    }
    void start()
    {
        m_max = 0;
        m_since.start();
        m_timer.start();
    }
    double stop()
    {
        m_timer.stop();
        return std::max(m_max, m_since.nsecsElapsed() / 1e6);
    }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    double m_max = 0;
};

void reportRatio(const char* name, const std::vector<double>& ratios)
{
    if (ratios.empty()) {
        std::printf("%s ratio: failed\n", name);
        return;
    }
    std::vector<double> s = ratios;
    std::sort(s.begin(), s.end());
    const double med = s.size() % 2 ? s[s.size() / 2] : (s[s.size() / 2 - 1] + s[s.size() / 2]) / 2;
    std::printf("%s ratio: %.2f (%.2f-%.2f, %d rounds)\n", name, med, s.front(), s.back(), int(s.size()));
    std::fflush(stdout);
}

int fail(const char* what)
{
    std::fprintf(stderr, "bench_pages: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir home;
    useTemporaryHome(home.path());
    if (qEnvironmentVariableIsEmpty("BENCH_VERBOSE"))
        quietQtMessages();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_QUICK_BACKEND"))
        qputenv("QT_QUICK_BACKEND", "software");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName("tidewell-bench");
    qRegisterMetaType<BaseModel::ToastLevel>();
    TidewellSdk::registerMetaTypes();
    TidewellSdk::registerTypes();

    const QString base = home.path() + "/bench";
    QDir().mkpath(base + "/set");
    QDir().mkpath(base + "/Downloads");
    TestDeviceServer server((base + "/storage").toStdString());
    server.setDeviceId("bench-device");
    server.setToken("bench-token");
    if (!seedPictures(server, base + "/set"))
        return fail("cannot write the pictures");
    if (!server.start(0))
        return fail("test device does not start");

    auto root = std::make_unique<TidewellSdk>();
    root->config()->setValue("LarkVault", "SavePath", base + "/Downloads");
    QQmlEngine engine;
    TidewellSdk::addImportPaths(&engine);
    root->exposeTo(engine.rootContext());
    QQuickWindow window;
    window.resize(1000, 700);
    QQmlComponent component(&engine);
    component.setData(kScene, QUrl("qrc:/bench/pages.qml"));
    QObject* made = component.create();
    auto* scene = qobject_cast<QQuickItem*>(made);
    if (!scene) {
        std::fprintf(stderr, "%s\n", qPrintable(component.errorString()));
        return fail("scene not made");
    }
    scene->setParentItem(window.contentItem());
    window.show();
    FrameMeter meter(&window);
    meter.settle();

    QObject* tab = findNamed(scene, "tab");
    const QVariantMap dev = DeviceLauncher::deviceMap("127.0.0.1", server.port(), SampleLibrary::kOwner,
                                                      "bench-token", "bench-device", "Bench device");
    bool linked = false;
    QMetaObject::invokeMethod(tab, "connect_to", Q_RETURN_ARG(bool, linked), Q_ARG(QVariantMap, dev));
    if (!linked || !waitUntil([&] { return tab->property("linkState").toInt() >= 2; }, 15000))
        return fail("no link to the test device");

    // The empty pictures page first, then all pictures loaded.
    QObject* pictures = findNamed(scene, "pictures");
    scene->setProperty("shown", 4);
    meter.settle(10);
    const long emptyRss = currentRssMb();
    scene->setProperty("picturesShown", true);
    auto* group = qobject_cast<GroupListModel*>(pictures->property("model").value<QObject*>());
    if (!group)
        return fail("no grouped model");
    auto* days = qobject_cast<QQuickItem*>(findNamed(pictures, "dayList"));
    if (!days)
        return fail("no day list");
    if (!waitUntil([&] { return days->property("count").toInt() > 0; }, 30000)
        || !scrollUntilLoaded(days, [group] { return group->loadFileNum(); }, kPictures, 600000))
        return fail("pictures not loaded");
    meter.settle(10);
    const bool verbose = !qEnvironmentVariableIsEmpty("BENCH_VERBOSE");
    if (verbose)
        std::printf("# loaded: %ld MB\n", currentRssMb() - emptyRss);
    std::vector<double> firstPass = meter.scroll(days);
    if (verbose)
        std::printf("# scrolled: %ld MB, p95 %.1f ms\n", currentRssMb() - emptyRss, percentile(firstPass, 0.95));
    std::printf("pages_pictures_rss: %ld MB\n", currentRssMb() - emptyRss);
    std::fflush(stdout);

    // All pictures queued for download, as the page's Download does.
    server.throttle(512);
    QObject* down = tab->property("twDown").value<QObject*>();
    auto* manager = qobject_cast<LVDownloadManager*>(down);
    bool stored = false;
    QObject::connect(manager, &LVDownloadManager::rAddDownFiles, [&](TW_HANDLE, bool rs) { stored = rs; });
    scene->setProperty("downloadsMade", true);
    auto* headerCheck = qobject_cast<QQuickItem*>(findNamed(pictures, "headerCheck"));
    if (!headerCheck)
        return fail("no header check box");
    days->setProperty("contentY", days->property("originY"));
    meter.settle();
    click(&window, headerCheck);
    if (group->selectNum() < kPictures)
        return fail("pictures not selected");
    meter.settle();
    QObject* downModel = nullptr;
    GapMeter gaps;
    gaps.start();
    QMetaObject::invokeMethod(pictures, "download");
    const bool listed = waitUntil([&] {
        if (!downModel)
            downModel = findNamed(scene, "downModel");
        return stored && downModel && downModel->property("totalNum").toInt() >= kPictures;
    }, 300000);
    const double block = gaps.stop();
    if (!listed)
        return fail("queue not stored");
    std::printf("pages_queue_10000_gui_block: %.0f ms\n", block);
    std::fflush(stdout);
    manager->allPause();
    server.clearFaults();
    auto* downs = qobject_cast<DownloadFileModel*>(downModel);
    auto* downList = qobject_cast<QQuickItem*>(findNamed(scene, "downList"));
    if (!downList)
        return fail("no download list");
    // The entry running when the queue paused may finish and leave the
    // list: all the rest is what counts.
    scene->setProperty("shown", 2);
    meter.settle();
    if (!scrollUntilLoaded(downList, [downs] { return downs->rowCount(); }, kPictures - 1, 120000)) {
        std::printf("# download list: %d rows of %d\n", downs->rowCount(), downs->property("totalNum").toInt());
        return fail("download list not loaded");
    }

    auto* refList = qobject_cast<QQuickItem*>(findNamed(scene, "refList"));
    auto* refGrid = qobject_cast<QQuickItem*>(findNamed(scene, "refGrid"));
    if (!refList || !refGrid)
        return fail("views not found");

    auto p95Of = [&](int shown, QQuickItem* view) {
        scene->setProperty("shown", shown);
        meter.settle();
        return percentile(meter.scroll(view), 0.95);
    };
    std::vector<double> downRatios;
    std::vector<double> picRatios;
    for (int r = 0; r < kRounds; ++r) {
        // Alternate which side goes first.
        double refL, ours, refG, pics;
        if (r % 2 == 0) {
            refL = p95Of(1, refList);
            ours = p95Of(2, downList);
            refG = p95Of(3, refGrid);
            pics = p95Of(4, days);
        } else {
            ours = p95Of(2, downList);
            refL = p95Of(1, refList);
            pics = p95Of(4, days);
            refG = p95Of(3, refGrid);
        }
        if (ours > 0)
            downRatios.push_back(refL / ours);
        if (pics > 0)
            picRatios.push_back(refG / pics);
    }
    reportRatio("pages_download_scroll", downRatios);
    reportRatio("pages_pictures_scroll", picRatios);

    delete made;
    root.reset();
    server.stop();
    return 0;
}
