#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "tools/testdeviceserverimpl.h"

// The device's own copy jobs, failed copy jobs and internet download tasks,
// kept in memory: the device side of the copy status box, the copy-failure
// alert and the offline-download pages.
class DeviceTasks : public TestDeviceFeature
{
public:
    struct CopyJob
    {
        std::int64_t id = 0;
        std::string name;
        int operationType = 0;   // 1 move, anything else copy
        int status = 1;          // 1 running, 2 failed
    };
    struct CopyFailure
    {
        std::int64_t curOperId = 0;
        std::string name;
        std::string sourceFile;
        std::string tagFile;
        std::string groupName;
        int num = 1;
        int type = 1;
        int failcode = 0;
        int operationType = 0;
    };
    struct BtTask
    {
        std::string downId;
        int taskId = 0;
        int status = 0;          // 0 waiting ... 5 failed, 6 finished
        std::string fileName;
        int progress = 0;
        int exception = 0;
        std::int64_t recvSize = 0;
        std::int64_t size = 0;
        int speed = 0;
        std::int64_t finishedTime = 0;
        int isFile = 1;
        bool isExternal = false;
        std::string target;      // save folder id or external path
    };

    explicit DeviceTasks(TestDeviceServer::Impl&) {}

    bool command(const std::string& command, const Json::Value& data, const std::string& accessId,
                 std::string& out) override;
    const char* stateKey() const override { return "tasks"; }
    Json::Value saveState() const override;
    void loadState(const Json::Value& state) override;

    std::int64_t addCopyJob(const std::string& name, int operationType, int status);
    std::int64_t addCopyFailure(CopyFailure f);
    std::string addBtTask(BtTask t);
    std::size_t copyJobCount() const;
    std::vector<std::int64_t> copyFailureIds() const;
    std::vector<BtTask> btTasks() const;

    // A task counts as finished from status 5 (failed) on.
    static bool finished(int status) { return status >= 5; }

private:
    std::string copyFileLists(const Json::Value& data);
    std::string copyFileFailLists(const Json::Value& data);
    std::string retryCopy(const Json::Value& data);
    std::string deleteCopyFailures(const Json::Value& data);
    std::string btGetTaskList(const Json::Value& data);
    std::string btAddTask(const Json::Value& data);
    std::string btOperateTask(const Json::Value& data);
    std::string btDeleteTask(const Json::Value& data);

    mutable std::mutex m_mutex;
    std::int64_t m_nextId = 5000;
    std::vector<CopyJob> m_jobs;
    std::vector<CopyFailure> m_failures;
    std::vector<BtTask> m_tasks;
};
