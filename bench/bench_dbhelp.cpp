// Transfer store under a large queue: 10,000 top-level rows (1,000 of them
// folders with 100 files each), then paging, counting, state and finishing.
#include <algorithm>
#include <cstdio>
#include <functional>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include "bench/benchutil.h"
#include "core/dbhelp.h"

namespace {

const int kTop = 10000;
const int kFolders = 1000;
const int kSubsPerFolder = 100;
const int kPageSize = 60;

double medianMs(int runs, const std::function<void()>& fn)
{
    QVector<double> t;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer e;
        e.start();
        fn();
        t.append(e.nsecsElapsed() / 1e6);
    }
    std::sort(t.begin(), t.end());
    return t.at(t.size() / 2);
}

void report(const char* name, double value, const char* unit)
{
    std::printf("%s: %.3f %s\n", name, value, unit);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir home;
    useTemporaryHome(home.path());
    QCoreApplication app(argc, argv);
    QCoreApplication::setOrganizationName("tidewell");
    QCoreApplication::setApplicationName("tidewell-bench");

    DBHelp db(DBHelp::Download);
    DeviceInfo device;
    device.accessId = "acc";
    device.deviceId = "dev";

    QElapsedTimer fill;
    fill.start();
    QList<DownFileInfo> tops;
    for (int i = 0; i < kTop; ++i) {
        DownFileInfo d;
        d.fileId = i + 1;
        d.isFolder = i < kFolders;
        d.fileName = QString("file-%1.bin").arg(i);
        d.accessId = device.accessId;
        d.deviceId = device.deviceId;
        d.filePath = "/remote/" + d.fileName;
        d.savePath = "/save";
        d.fileSize = qint64(i) << 20;
        d.fileState = 1 + i % 4;
        if (!db.addDownFile(d)) {
            std::fprintf(stderr, "insert failed\n");
            return 1;
        }
        tops.append(d);
    }
    report("dbhelp_fill_top_10000", fill.elapsed(), "ms");

    fill.restart();
    for (int f = 0; f < kFolders; ++f) {
        QList<DownFileInfo> subs;
        for (int k = 0; k < kSubsPerFolder; ++k) {
            DownFileInfo s;
            s.isSubItem = true;
            s.pId = tops[f].fId;
            s.fileId = 100000 + f * kSubsPerFolder + k;
            s.fileName = QString("s-%1.jpg").arg(k);
            s.pNamePath = k % 2 ? "/A" : "";
            s.savePath = "/save";
            s.fileState = 2 + k % 3;
            subs.append(s);
        }
        if (!db.addDownSubFiles(subs)) {
            std::fprintf(stderr, "sub insert failed\n");
            return 1;
        }
    }
    report("dbhelp_fill_sub_100000", fill.elapsed(), "ms");

    const int runs = 50;
    report("dbhelp_page1", medianMs(runs, [&] {
               QList<DownFileInfo> page;
               db.getDownFileList(1, kPageSize, device, page);
           }), "ms");
    report("dbhelp_deep_page", medianMs(runs, [&] {
               QList<DownFileInfo> page;
               db.getDownFileList(kTop / kPageSize, kPageSize, device, page);
           }), "ms");
    report("dbhelp_count", medianMs(runs, [&] {
               int n = 0;
               db.getDownFileTotalNum(device, n);
               db.getDownSubFileNum(tops[kFolders / 2].fId);
           }), "ms");
    report("dbhelp_state", medianMs(runs, [&] {
               int state = 0;
               db.getDownFileState(device.accessId, device.deviceId, state);
           }), "ms");
    report("dbhelp_top", medianMs(runs, [&] {
               QList<DownFileInfo> top;
               db.getTopDownFileList(device, top);
               QList<DownFileInfo> sub;
               db.getTopDwonSubFileList(tops[kFolders - 1], sub);
           }), "ms");
    report("dbhelp_sub_fail_page", medianMs(runs, [&] {
               QList<DownFileInfo> failed;
               db.getDownFailFileList(1, kPageSize, tops[7], failed);
           }), "ms");

    // Finish every entry, folders taking their 100 sub-rows with them.
    QElapsedTimer finish;
    finish.start();
    for (DownFileInfo d : tops) {
        d.fileState = 5;
        if (!db.updateDownFileStatus(d, false)) {
            std::fprintf(stderr, "finish failed\n");
            return 1;
        }
    }
    report("dbhelp_finish_10000", finish.elapsed(), "ms");

    report("dbhelp_finish_page1", medianMs(runs, [&] {
               QList<FinishFileInfo> page;
               db.getFinishFileList(1, kPageSize, device.accessId, device.deviceId, page);
           }), "ms");
    report("dbhelp_finish_deep_page", medianMs(runs, [&] {
               QList<FinishFileInfo> page;
               db.getFinishFileList(kTop / kPageSize, kPageSize, device.accessId,
                                    device.deviceId, page);
           }), "ms");
    int left = -1;
    int finished = -1;
    db.getDownFileTotalNum(device, left);
    db.getFinishFileTotalNum(device.accessId, device.deviceId, finished);
    if (left != 0 || finished != kTop) {
        std::fprintf(stderr, "unexpected counts: %d left, %d finished\n", left, finished);
        return 1;
    }
    return 0;
}
