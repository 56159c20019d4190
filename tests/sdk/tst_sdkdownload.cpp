#include <memory>

#include <QElapsedTimer>
#include <QtTest>

#include "sdk/download_observer.h"
#include "sdk/tidewell_network_sdk.h"
#include "tests/sdk/recorder.h"
#include "tests/sdk/sdkrig.h"
#include "tests/testenv.h"
#include "tools/testdeviceserver.h"

using namespace sdk::cores;
using sdk::plugins::tidewell_network_sdk;
using DownRecorder = Recorder<tidewell::download_observer>;

class TestSdkDownload : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_rig.start();
    }

    void cleanup()
    {
        m_rig.stop();
    }

    void wholeFile()
    {
        const std::int64_t id = m_rig.server->addGeneratedFile("media/clip.bin", 3 * 1024 * 1024 + 17);
        const std::string target = local("clip.bin");
        DownRecorder obs;
        tidewell::download* task = m_rig.sdk->http_download(deviceFile(id, target), &obs);
        QVERIFY(task);
        QCOMPARE(task->save_path(), target);
        QVERIFY(task->start());
        QVERIFY(!task->start());
        QTRY_COMPARE(obs.statusCount(), 1);
        QCOMPARE(obs.lastStatus().status, int(tidewell::status_download_done));
        QCOMPARE(obs.lastStatus().errCode, 0);
        QVERIFY(SdkRig::readFile(target) == SdkRig::readFile(m_rig.server->absolutePath("media/clip.bin")));
        const auto progress = obs.progress();
        QVERIFY(!progress.empty());
        QCOMPARE(progress.back().first, std::int64_t(3 * 1024 * 1024 + 17));
        QCOMPARE(progress.back().second, std::int64_t(3 * 1024 * 1024 + 17));
        for (size_t i = 1; i < progress.size(); ++i)
            QVERIFY(progress[i].second >= progress[i - 1].second);
        const auto reqs = m_rig.server->requestsFor("/device/download");
        QCOMPARE(reqs.size(), size_t(1));
        QCOMPARE(reqs[0].range, std::string());
        QCOMPARE(reqs[0].token, std::string("tok"));
        m_rig.sdk->release_download(task);
        QCOMPARE(obs.statusCount(), 1);
    }

    // The target already holds the beginning: one request from its size.
    void resumesFromPartialFile()
    {
        const std::int64_t id = m_rig.server->addGeneratedFile("big.bin", 1000000, true, 7);
        const std::string original = SdkRig::readFile(m_rig.server->absolutePath("big.bin"));
        const std::string target = local("big.part");
        SdkRig::writeFile(target, original.substr(0, 123457));
        DownRecorder obs;
        tidewell::download* task = m_rig.sdk->http_download(deviceFile(id, target), &obs);
        QVERIFY(task && task->start());
        QTRY_COMPARE(obs.statusCount(), 1);
        QCOMPARE(obs.lastStatus().status, int(tidewell::status_download_done));
        const auto reqs = m_rig.server->requestsFor("/device/download");
        QCOMPARE(reqs.size(), size_t(1));
        QCOMPARE(reqs[0].range, std::string("bytes=123457-"));
        QVERIFY(SdkRig::readFile(target) == original);
        QCOMPARE(obs.progress().back().second, std::int64_t(1000000));
        m_rig.sdk->release_download(task);

        // Complete already: the device refuses the range, nothing is added.
        DownRecorder again;
        task = m_rig.sdk->http_download(deviceFile(id, target), &again);
        QVERIFY(task && task->start());
        QTRY_COMPARE(again.statusCount(), 1);
        QCOMPARE(again.lastStatus().status, int(tidewell::status_download_done));
        QVERIFY(SdkRig::readFile(target) == original);
        m_rig.sdk->release_download(task);

        // A target longer than the file is not trusted: downloaded anew.
        SdkRig::writeFile(target, original + "garbage");
        DownRecorder longer;
        task = m_rig.sdk->http_download(deviceFile(id, target), &longer);
        QVERIFY(task && task->start());
        QTRY_COMPARE(longer.statusCount(), 1);
        QCOMPARE(longer.lastStatus().status, int(tidewell::status_download_done));
        QVERIFY(SdkRig::readFile(target) == original);
        m_rig.sdk->release_download(task);
    }

    void streamFromOffset()
    {
        const std::int64_t id = m_rig.server->addGeneratedFile("v.mp4", 2 * 1024 * 1024, true, 3);
        const std::string original = SdkRig::readFile(m_rig.server->absolutePath("v.mp4"));
        DownRecorder obs;
        model::down_file_info info = deviceFile(id, std::string());
        info.offset = 1048576;
        tidewell::download* task = m_rig.sdk->p2p_download_stream(info, &obs);
        QVERIFY(task && task->start());
        QTRY_COMPARE(obs.statusCount(), 1);
        QCOMPARE(obs.lastStatus().status, int(tidewell::status_download_done));
        QVERIFY(obs.data() == original.substr(1048576));
        QCOMPARE(obs.progress().back().first, std::int64_t(2 * 1024 * 1024));
        const auto reqs = m_rig.server->requestsFor("/device/download");
        QCOMPARE(reqs.size(), size_t(1));
        QCOMPARE(reqs[0].listener, 1);
        QCOMPARE(reqs[0].range, std::string("bytes=1048576-"));
        m_rig.sdk->release_download(task);
    }

    void failures_data()
    {
        QTest::addColumn<int>("httpStatus");
        QTest::newRow("missing") << 404;
        QTest::newRow("server error") << 500;
    }
    void failures()
    {
        QFETCH(int, httpStatus);
        std::int64_t id = 999999;   // unknown id answers 404
        if (httpStatus != 404) {
            id = m_rig.server->addFile("x.txt", "content");
            m_rig.server->failWithStatus(httpStatus, 1, "/device/download");
        }
        const std::string target = local("x.txt");
        DownRecorder obs;
        tidewell::download* task = m_rig.sdk->http_download(deviceFile(id, target), &obs);
        QVERIFY(task && task->start());
        QTRY_COMPARE(obs.statusCount(), 1);
        QCOMPARE(obs.lastStatus().status, int(tidewell::status_download_failed));
        QCOMPARE(obs.lastStatus().errCode, httpStatus);
        // The error page never lands in the target.
        QVERIFY(!QFile::exists(QString::fromStdString(target)));
        m_rig.sdk->release_download(task);
    }

    // A cut connection fails once; the retry continues where it stopped.
    void cutConnectionThenRetry()
    {
        const std::int64_t id = m_rig.server->addGeneratedFile("cut.bin", 2000000, true, 11);
        const std::string target = local("cut.bin");
        m_rig.server->cutAfter(700000);
        DownRecorder first;
        tidewell::download* task = m_rig.sdk->http_download(deviceFile(id, target), &first);
        QVERIFY(task && task->start());
        QTRY_COMPARE(first.statusCount(), 1);
        QCOMPARE(first.lastStatus().status, int(tidewell::status_download_failed));
        QCOMPARE(first.lastStatus().errCode, int(tidewell::error_network));
        m_rig.sdk->release_download(task);
        const std::int64_t held = QFileInfo(QString::fromStdString(target)).size();
        QVERIFY(held > 0 && held <= 700000);

        DownRecorder second;
        task = m_rig.sdk->http_download(deviceFile(id, target), &second);
        QVERIFY(task && task->start());
        QTRY_COMPARE(second.statusCount(), 1);
        QCOMPARE(second.lastStatus().status, int(tidewell::status_download_done));
        QVERIFY(SdkRig::readFile(target) == SdkRig::readFile(m_rig.server->absolutePath("cut.bin")));
        const auto reqs = m_rig.server->requestsFor("/device/download");
        QCOMPARE(reqs.size(), size_t(2));
        QCOMPARE(reqs[1].range, "bytes=" + std::to_string(held) + "-");
        m_rig.sdk->release_download(task);
        QCOMPARE(first.statusCount(), 1);
    }

    // A transfer that stops moving fails once the stall time-out (2 s here)
    // has passed since its last byte, not seconds later, whether the device
    // stops after some bytes or accepts and never answers.
    void stalledTransferFails()
    {
        const std::int64_t id = m_rig.server->addGeneratedFile("stall.bin", 1000000);
        for (const std::int64_t after : {std::int64_t(100000), std::int64_t(0)}) {
            m_rig.server->stallAfter(after);
            DownRecorder obs;
            QElapsedTimer clock;
            clock.start();
            tidewell::download* task = m_rig.sdk->http_download(deviceFile(id, local("stall.bin")), &obs);
            QVERIFY(task && task->start());
            // The bytes before the stall arrive at once on loopback.
            QTRY_COMPARE_WITH_TIMEOUT(obs.statusCount(), 1, 15000);
            const qint64 took = clock.elapsed();
            QVERIFY2(took >= 1900 && took < 3200, qPrintable(QString::number(took)));
            QCOMPARE(obs.lastStatus().status, int(tidewell::status_download_failed));
            QCOMPARE(obs.lastStatus().errCode, int(tidewell::error_stalled));
            m_rig.sdk->release_download(task);
            m_rig.server->clearFaults();
        }
    }

    // After stop no callback arrives, and no final status.
    void stopDuringTransfer()
    {
        const std::int64_t id = m_rig.server->addGeneratedFile("slow.bin", 4 * 1024 * 1024);
        m_rig.server->throttle(256 * 1024);
        DownRecorder obs;
        tidewell::download* task = m_rig.sdk->http_download(deviceFile(id, local("slow.bin")), &obs);
        QVERIFY(task && task->start());
        QTRY_VERIFY(!obs.progress().empty());
        task->stop();
        const int calls = obs.calls();
        QTest::qWait(400);
        QCOMPARE(obs.calls(), calls);
        QCOMPARE(obs.statusCount(), 0);
        task->stop();
        m_rig.sdk->release_download(task);
        QCOMPARE(obs.calls(), calls);

        // Release alone stops it as well.
        DownRecorder other;
        task = m_rig.sdk->p2p_download(deviceFile(id, local("slow2.bin")), &other);
        QVERIFY(task && task->start());
        QTRY_VERIFY(!other.progress().empty());
        m_rig.sdk->release_download(task);
        const int otherCalls = other.calls();
        QTest::qWait(300);
        QCOMPARE(other.calls(), otherCalls);
        QCOMPARE(other.statusCount(), 0);
    }

    // Many tasks on both routes at once, each with its own bytes.
    void manyAtOnce()
    {
        const int n = 12;
        std::vector<std::unique_ptr<DownRecorder>> observers;
        std::vector<tidewell::download*> tasks;
        for (int i = 0; i < n; ++i) {
            const std::string rel = "many/f" + std::to_string(i) + ".bin";
            const std::int64_t id = m_rig.server->addGeneratedFile(rel, 300000 + i * 1000, true, 100 + i);
            observers.emplace_back(new DownRecorder);
            const model::down_file_info info = deviceFile(id, local("m" + std::to_string(i)));
            tidewell::download* t = i % 2 ? m_rig.sdk->p2p_download(info, observers.back().get())
                                          : m_rig.sdk->http_download(info, observers.back().get());
            QVERIFY(t);
            tasks.push_back(t);
        }
        QVERIFY(SdkRig::runTogether(tasks, observers, int(tidewell::status_download_done)));
        for (int i = 0; i < n; ++i)
            QVERIFY(SdkRig::readFile(local("m" + std::to_string(i)))
                    == SdkRig::readFile(m_rig.server->absolutePath("many/f" + std::to_string(i) + ".bin")));
        for (auto* t : tasks)
            m_rig.sdk->release_download(t);
        QCOMPARE(m_rig.remoteRequests("/device/download"), n / 2);
    }

    void attachedDiskAndPlainUrl()
    {
        m_rig.server->addFile("usb/photos/a b.jpg", "usb-bytes");
        model::down_file_info disk;
        disk.type = model::down_file_info::kind_disk_file;
        disk.usb_path = "%2Fphotos%2Fa%20b.jpg";
        disk.url = "/usb/photos/a b.jpg";
        disk.save_path = local("a.jpg");
        DownRecorder obs;
        tidewell::download* task = m_rig.sdk->http_download(disk, &obs);
        QVERIFY(task && task->start());
        QTRY_COMPARE(obs.statusCount(), 1);
        QCOMPARE(obs.lastStatus().status, int(tidewell::status_download_done));
        QCOMPARE(SdkRig::readFile(local("a.jpg")), std::string("usb-bytes"));
        m_rig.sdk->release_download(task);

        m_rig.server->addFile("heads/h.png", "png-bytes");
        model::down_file_info url;
        url.type = model::down_file_info::kind_url;
        url.url = "http://127.0.0.1:" + std::to_string(m_rig.server->port()) + "/static/heads/h.png";
        url.save_path = local("h.jpg");
        DownRecorder plain;
        tidewell_network_sdk bare;   // no device needed for a plain URL
        task = bare.http_download(url, &plain);
        QVERIFY(task && task->start());
        QTRY_COMPARE(plain.statusCount(), 1);
        QCOMPARE(plain.lastStatus().status, int(tidewell::status_download_done));
        QCOMPARE(SdkRig::readFile(local("h.jpg")), std::string("png-bytes"));
        bare.release_download(task);
        // A device file needs a device.
        DownRecorder none;
        QVERIFY(!bare.http_download(deviceFile(1, local("n")), &none));
    }

    void refusedTasks()
    {
        DownRecorder obs;
        QVERIFY(!m_rig.sdk->http_download(deviceFile(1, std::string()), &obs));
        QVERIFY(!m_rig.sdk->http_download(deviceFile(1, local("x")), nullptr));
        // A target folder that does not exist fails with a local-file error.
        const std::int64_t id = m_rig.server->addFile("y.txt", "y");
        tidewell::download* task = m_rig.sdk->http_download(deviceFile(id, local("no/such/dir/y.txt")), &obs);
        QVERIFY(task && task->start());
        QTRY_COMPARE(obs.statusCount(), 1);
        QCOMPARE(obs.lastStatus().errCode, int(tidewell::error_local_file));
        m_rig.sdk->release_download(task);
        m_rig.sdk->release_download(task);   // second give-back is ignored
    }

private:
    model::down_file_info deviceFile(std::int64_t id, const std::string& target) const
    {
        model::down_file_info info;
        info.type = model::down_file_info::kind_device_file;
        info.file_id = static_cast<std::int32_t>(id);
        info.mode = 2;
        info.ower = "acc-1";
        info.save_path = target;
        return info;
    }
    std::string local(const std::string& name) const { return m_rig.local(name); }

    SdkRig m_rig;
};

TW_TEST_MAIN(TestSdkDownload)
#include "tst_sdkdownload.moc"
