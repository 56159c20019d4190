#include <memory>
#include <random>

#include <QtTest>

#include "sdk/proto.h"
#include "sdk/tidewell_network_sdk.h"
#include "sdk/upload_observer.h"
#include "tests/sdk/recorder.h"
#include "tests/sdk/sdkrig.h"
#include "tests/testenv.h"
#include "tools/testdeviceserver.h"

using namespace sdk::cores;
using sdk::plugins::tidewell_network_sdk;
using UpRecorder = Recorder<tidewell::upload_observer>;

namespace {

std::string randomBytes(std::size_t n, unsigned seed)
{
    std::mt19937 gen(seed);
    std::string s(n, '\0');
    for (auto& c : s)
        c = static_cast<char>(gen());
    return s;
}

} // namespace

class TestSdkUpload : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_rig.start();
        m_obsPtr.reset(new UpRecorder);
    }

    void cleanup()
    {
        m_rig.stop();
    }

    void wholeFile()
    {
        const std::string content = randomBytes(2500000, 1);
        const std::int64_t dir = m_rig.server->addFolder("up");
        tidewell::upload* task = m_rig.sdk->http_upload(describe("report.bin", content, dir), m_obsPtr.get());
        QVERIFY(task && task->start());
        QTRY_COMPARE(m_obsPtr->statusCount(), 1);
        QCOMPARE(m_obsPtr->lastStatus().status, int(tidewell::status_upload_done));
        QCOMPARE(m_obsPtr->taskIds().size(), size_t(1));
        QVERIFY(!m_obsPtr->taskIds()[0].empty());
        QCOMPARE(task->task_id(), m_obsPtr->taskIds()[0]);
        QVERIFY(SdkRig::readFile(m_rig.server->absolutePath("up/report.bin")) == content);
        QCOMPARE(m_obsPtr->progress().back().second, std::int64_t(content.size()));
        const auto create = m_rig.server->requestsFor("/device/upload/create");
        QCOMPARE(create.size(), size_t(1));
        Json::Value body;
        QVERIFY(protocol::proto::json_from_string(create[0].body, body));
        QCOMPARE(body["dirId"].asInt64(), static_cast<Json::Int64>(dir));
        QCOMPARE(body["fileSize"].asInt64(), static_cast<Json::Int64>(content.size()));
        QCOMPARE(body["taskId"].asString(), std::string());
        m_rig.sdk->release_upload(task);

        // The same name again without replacing: the device picks a free one.
        UpRecorder second;
        task = m_rig.sdk->http_upload(describe("report.bin", "new", dir), &second);
        QVERIFY(task && task->start());
        QTRY_COMPARE(second.statusCount(), 1);
        QCOMPARE(second.lastStatus().status, int(tidewell::status_upload_done));
        QCOMPARE(SdkRig::readFile(m_rig.server->absolutePath("up/report(1).bin")), std::string("new"));
        QVERIFY(SdkRig::readFile(m_rig.server->absolutePath("up/report.bin")) == content);
        m_rig.sdk->release_upload(task);
    }

    // A cut upload continues from what the device holds, by task id.
    void resumeByTaskId()
    {
        const std::string content = randomBytes(3000000, 2);
        m_rig.server->cutAfter(1000000);
        tidewell::upload* task = m_rig.sdk->http_upload(describe("movie.mkv", content, 0), m_obsPtr.get());
        QVERIFY(task && task->start());
        QTRY_COMPARE(m_obsPtr->statusCount(), 1);
        QCOMPARE(m_obsPtr->lastStatus().status, int(tidewell::status_upload_failed));
        const std::string taskId = m_obsPtr->taskIds().at(0);
        m_rig.sdk->release_upload(task);
        QVERIFY(!QFile::exists(QString::fromStdString(m_rig.server->absolutePath("movie.mkv"))));

        UpRecorder retry;
        model::up_file_info info = describe("movie.mkv", content, 0);
        info.task_id = taskId;
        task = m_rig.sdk->http_upload(info, &retry);
        QVERIFY(task && task->start());
        QTRY_COMPARE(retry.statusCount(), 1);
        QCOMPARE(retry.lastStatus().status, int(tidewell::status_upload_done));
        QCOMPARE(retry.taskIds().at(0), taskId);
        QVERIFY(SdkRig::readFile(m_rig.server->absolutePath("movie.mkv")) == content);
        m_rig.sdk->release_upload(task);

        const auto data = m_rig.server->requestsFor("/device/upload/data");
        QCOMPARE(data.size(), size_t(2));
        QVERIFY(data[0].query.find("offset=0") != std::string::npos);
        const std::size_t at = data[1].query.find("offset=");
        QVERIFY(at != std::string::npos);
        const long long resumed = std::stoll(data[1].query.substr(at + 7));
        QVERIFY(resumed > 0 && resumed <= 1000000);

        // Everything sent already: still one final status.
        UpRecorder done;
        task = m_rig.sdk->http_upload(info, &done);
        QVERIFY(task && task->start());
        QTRY_COMPARE(done.statusCount(), 1);
        QCOMPARE(done.lastStatus().status, int(tidewell::status_upload_done));
        QCOMPARE(done.progress().back().second, std::int64_t(content.size()));
        m_rig.sdk->release_upload(task);
        QVERIFY(SdkRig::readFile(m_rig.server->absolutePath("movie.mkv")) == content);
    }

    void refusedByDevice()
    {
        m_rig.server->refuseUpload(2014, "Capacity is full", 1);
        tidewell::upload* task = m_rig.sdk->http_upload(describe("a.txt", "abc", 0), m_obsPtr.get());
        QVERIFY(task && task->start());
        QTRY_COMPARE(m_obsPtr->statusCount(), 1);
        QCOMPARE(m_obsPtr->lastStatus().status, int(tidewell::status_upload_failed));
        QCOMPARE(m_obsPtr->lastStatus().errCode, 2014);
        QVERIFY(m_obsPtr->taskIds().empty());
        m_rig.sdk->release_upload(task);

        // A target folder that does not exist: the device's 404.
        UpRecorder missing;
        task = m_rig.sdk->http_upload(describe("b.txt", "abc", 424242), &missing);
        QVERIFY(task && task->start());
        QTRY_COMPARE(missing.statusCount(), 1);
        QCOMPARE(missing.lastStatus().errCode, 404);
        m_rig.sdk->release_upload(task);

        // A local file that cannot be read.
        UpRecorder local;
        model::up_file_info info = describe("c.txt", "abc", 0);
        info.file_path = m_rig.local("does-not-exist");
        task = m_rig.sdk->http_upload(info, &local);
        QVERIFY(task && task->start());
        QTRY_COMPARE(local.statusCount(), 1);
        QCOMPARE(local.lastStatus().errCode, int(tidewell::error_local_file));
        m_rig.sdk->release_upload(task);
    }

    void stopDuringUpload()
    {
        const std::string content = randomBytes(4 * 1024 * 1024, 3);
        m_rig.server->throttle(256 * 1024);
        tidewell::upload* task = m_rig.sdk->p2p_upload(describe("slow.bin", content, 0), m_obsPtr.get());
        QVERIFY(task && task->start());
        QTRY_VERIFY(m_obsPtr->progress().size() > 1);
        m_rig.sdk->release_upload(task);
        const int calls = m_obsPtr->calls();
        QTest::qWait(400);
        QCOMPARE(m_obsPtr->calls(), calls);
        QCOMPARE(m_obsPtr->statusCount(), 0);
        m_rig.server->clearFaults();
    }

    // Uploads on both routes at once.
    void manyAtOnce()
    {
        const int n = 8;
        std::vector<std::unique_ptr<UpRecorder>> observers;
        std::vector<tidewell::upload*> tasks;
        std::vector<std::string> contents;
        for (int i = 0; i < n; ++i) {
            contents.push_back(randomBytes(200000 + i * 999, 10 + i));
            observers.emplace_back(new UpRecorder);
            const model::up_file_info info = describe("u" + std::to_string(i), contents.back(), 0);
            tidewell::upload* t = i % 2 ? m_rig.sdk->p2p_upload(info, observers.back().get())
                                        : m_rig.sdk->http_upload(info, observers.back().get());
            QVERIFY(t);
            tasks.push_back(t);
        }
        QVERIFY(SdkRig::runTogether(tasks, observers, int(tidewell::status_upload_done)));
        for (int i = 0; i < n; ++i)
            QVERIFY(SdkRig::readFile(m_rig.server->absolutePath("u" + std::to_string(i))) == contents[i]);
        for (auto* t : tasks)
            m_rig.sdk->release_upload(t);
        QCOMPARE(m_rig.remoteRequests("/device/upload/data"), n / 2);
    }

private:
    model::up_file_info describe(const std::string& name, const std::string& content, std::int64_t dirId)
    {
        const std::string path = m_rig.local(name);
        SdkRig::writeFile(path, content);
        model::up_file_info info;
        info.file_name = name;
        info.file_size = static_cast<std::int64_t>(content.size());
        info.file_path = path;
        info.dir_id = static_cast<std::int32_t>(dirId);
        info.client_type = "PC";
        info.app_type = 3;
        info.total_size = info.file_size;
        return info;
    }

    SdkRig m_rig;
    std::unique_ptr<UpRecorder> m_obsPtr;
};

TW_TEST_MAIN(TestSdkUpload)
#include "tst_sdkupload.moc"
