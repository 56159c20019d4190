// Upload engine throughput against curl on the same generated file and the
// same loopback test device; hashing against md5sum; three uploads at once
// against one at a time; a folder of 5,000 small files against one curl
// sending the same requests over one kept connection; peak memory. Each
// ratio is over interleaved rounds, each round into fresh folders.
#include <cstdio>
#include <cstring>

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QUrl>

#include "bench/benchapp.h"
#include "bench/benchowner.h"
#include "bench/benchutil.h"
#include "tools/testdeviceserver.h"
#include "transfer/filemd5asyn.h"
#include "transfer/lvuploadmanager.h"

namespace {

bool generate(const QString& path, qint64 size, quint32 seed)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    QByteArray block(1 << 20, Qt::Uninitialized);
    quint32 x = seed;
    for (int i = 0; i < block.size(); ++i) {
        x = x * 1664525u + 1013904223u;
        block[i] = char(x >> 24);
    }
    qint64 left = size;
    quint64 n = 0;
    while (left > 0) {
        memcpy(block.data(), &n, sizeof(n));
        ++n;
        const qint64 chunk = qMin<qint64>(left, block.size());
        if (f.write(block.constData(), chunk) != chunk)
            return false;
        left -= chunk;
    }
    return true;
}

// Runs the manager on paths until it stops; seconds, or -1.
double runEngine(BenchOwner& owner, const QStringList& paths)
{
    LVUploadManager manager;
    manager.init(&owner);
    QEventLoop loop;
    bool failed = false;
    QObject::connect(&manager, &LVUploadManager::rStop, &loop, &QEventLoop::quit);
    QObject::connect(&manager, &LVUploadManager::rUploadError, &loop, [&](UploadFileInfo r) {
        fprintf(stderr, "upload failed: %s %s\n", qPrintable(r.fileName), qPrintable(r.msg));
        failed = true;
    });
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    QElapsedTimer t;
    t.start();
    manager.addUpFiles(TwFolderInfo(), urls, true);
    loop.exec();
    const double secs = t.nsecsElapsed() / 1e9;
    return failed ? -1 : secs;
}

double runCurl(int port, const QString& path, qint64 size, const QString& name)
{
    const QString base = QString("http://127.0.0.1:%1").arg(port);
    QJsonObject create{{"fileName", name}, {"fileSize", double(size)}, {"fileMd5", ""},
                       {"dirId", 0}, {"isCover", 1}, {"isExternal", false}, {"isSafeBox", false},
                       {"externalPath", ""}, {"diskSerial", ""}, {"uploadType", 0}, {"groupId", 0},
                       {"createTime", 0}, {"taskId", ""}};
    return secondsFor([&] {
        QByteArray created;
        if (!runProgram("curl",
                        {"-s", "-X", "POST", "-H", "Content-Type: application/json", "-H",
                         "X-Client-Type: PC", "--data-binary",
                         QString::fromUtf8(QJsonDocument(create).toJson(QJsonDocument::Compact)),
                         base + "/device/upload/create"},
                        &created, 60000))
            return false;
        const QJsonObject answer = QJsonDocument::fromJson(created).object();
        const QString taskId = answer.value("data").toObject().value("taskId").toString();
        return !taskId.isEmpty()
            && runProgram("curl", {"-s", "-o", "/dev/null", "-X", "PUT", "-H", "Expect:", "-H",
                                   "X-Client-Type: PC", "-T", path,
                                   base + "/device/upload/data?taskId=" + taskId + "&offset=0"});
    });
}

// A value of a curl config line, quoted.
QByteArray quoted(const QByteArray& text)
{
    QByteArray out = text;
    out.replace("\\", "\\\\").replace("\"", "\\\"");
    return "\"" + out + "\"";
}

QByteArray createBody(const QString& name, qint64 size)
{
    const QJsonObject create{{"fileName", name}, {"fileSize", double(size)}, {"fileMd5", ""},
                             {"dirId", 0}, {"isCover", 1}, {"isExternal", false},
                             {"isSafeBox", false}, {"externalPath", ""}, {"diskSerial", ""},
                             {"uploadType", 0}, {"groupId", 0}, {"createTime", 0},
                             {"taskId", ""}};
    return QJsonDocument(create).toJson(QJsonDocument::Compact);
}

QByteArray createRequest(const QString& base, const QString& name, qint64 size)
{
    return "url = " + quoted((base + "/device/upload/create").toUtf8())
        + "\nheader = \"Content-Type: application/json\"\nheader = \"X-Client-Type: PC\"\n"
        + "data-binary = " + quoted(createBody(name, size)) + "\n";
}

bool writeConfig(const QString& path, const QByteArray& text)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(text) == text.size();
}

// One curl invocation sending, per file, the create and the data request
// the engine sends. The data requests go to tasks made beforehand (their ids
// cannot be known inside one invocation); the creates make tasks of their
// own, so the device does the same work for both.
double runCurlMany(int port, const QStringList& files, const QString& configDir,
                   const QString& prefix)
{
    const QString base = QString("http://127.0.0.1:%1").arg(port);
    QByteArray prepare;
    for (int i = 0; i < files.size(); ++i) {
        if (i > 0)
            prepare += "next\n";
        prepare += createRequest(base, prefix + QString("%1.txt").arg(i), QFileInfo(files.at(i)).size())
            + "write-out = \"\\n\"\n";
    }
    QByteArray answers;
    if (!writeConfig(configDir + "/prepare.config", prepare)
        || !runProgram("curl", {"-s", "-K", configDir + "/prepare.config"}, &answers))
        return -1;
    QStringList ids;
    for (const QByteArray& line : answers.split('\n')) {
        const QString id = QJsonDocument::fromJson(line).object().value("data").toObject()
                               .value("taskId").toString();
        if (!id.isEmpty())
            ids << id;
    }
    if (ids.size() != files.size())
        return -1;

    QByteArray send;
    for (int i = 0; i < files.size(); ++i) {
        if (i > 0)
            send += "next\n";
        send += createRequest(base, prefix + QString("%1.txt").arg(i), QFileInfo(files.at(i)).size())
            + "output = \"/dev/null\"\nnext\n";
        send += "url = "
            + quoted((base + "/device/upload/data?taskId=" + ids.at(i) + "&offset=0").toUtf8())
            + "\nheader = \"Expect:\"\nheader = \"X-Client-Type: PC\"\n"
            + "upload-file = " + quoted(QFile::encodeName(files.at(i)))
            + "\noutput = \"/dev/null\"\n";
    }
    if (!writeConfig(configDir + "/send.config", send))
        return -1;
    return secondsFor([&] { return runProgram("curl", {"-s", "-f", "-K", configDir + "/send.config"}); });
}

double runHasher(const QString& path)
{
    FileMd5Asyn hasher;
    QEventLoop loop;
    QString result;
    QObject::connect(&hasher, &FileMd5Asyn::resultFileMd5, &loop, [&](QString md5) {
        result = md5;
        loop.quit();
    });
    QElapsedTimer t;
    t.start();
    hasher.start(path);
    loop.exec();
    return result.size() == 32 ? t.nsecsElapsed() / 1e9 : -1;
}

double runMd5sum(const QString& path)
{
    return secondsFor([&] { return runProgram("md5sum", {path}); });
}

} // namespace

int main(int argc, char* argv[])
{
    BenchApp app(argc, argv);
    QThreadPool::globalInstance()->setMaxThreadCount(3);

    const qint64 size = benchSizeBytes();
    const double sizeMb = size / (1024.0 * 1024.0);

    QTemporaryDir work;
    const QString storage = work.filePath("storage");
    const QString file = work.filePath("bench.bin");
    if (!generate(file, size, 1)) {
        fprintf(stderr, "cannot generate %s\n", qPrintable(file));
        return 1;
    }
    TestDeviceServer server(storage.toStdString());
    if (!server.start()) {
        fprintf(stderr, "test device did not start\n");
        return 1;
    }
    BenchOwner lan("QXP-BENCH");
    if (!lan.connectTo(server.port(), 0)) {
        fprintf(stderr, "no connection to the test device\n");
        return 1;
    }

    // One big file: engine against curl.
    Rounds bigRounds;
    const bool bigOk = interleave(
        "upload_engine",
        [&](int) {
            server.clearRequests();   // the device's log would grow our peak memory
            const double secs = runCurl(server.port(), file, size, "curl_ref.bin");
            QFile::remove(QDir(storage).filePath("curl_ref.bin"));
            return secs;
        },
        [&](int) {
            const double secs = runEngine(lan, {file});
            QFile::remove(QDir(storage).filePath("bench.bin"));
            return secs;
        },
        bigRounds);
    if (!bigOk)
        return 1;
    printf("upload_engine: %.1f MB/s\n", sizeMb / median(bigRounds.ours));
    printRatio(stdout, "upload_engine", ratioOf(bigRounds));

    // Hashing against md5sum, both on a warm cache.
    Rounds md5Rounds;
    if (!interleave("md5", [&](int) { return runMd5sum(file); }, [&](int) { return runHasher(file); },
                    md5Rounds))
        return 1;
    printRatio(stdout, "md5", ratioOf(md5Rounds));
    QFile::remove(file);

    // Three files at once (local network) against one at a time (mapped link).
    QStringList parts;
    for (int i = 0; i < 3; ++i) {
        const QString p = work.filePath(QString("part%1.bin").arg(i));
        if (!generate(p, size / 3, 10 + i))
            return 1;
        parts << p;
    }
    BenchOwner mapped("QXP-BENCH");
    if (!mapped.connectTo(0, server.port()))
        return 1;
    auto removeParts = [&] {
        for (int i = 0; i < 3; ++i)
            QFile::remove(QDir(storage).filePath(QString("part%1.bin").arg(i)));
    };
    Rounds parRounds;
    const bool parOk = interleave(
        "upload_parallel3",
        [&](int) {
            server.clearRequests();
            const double secs = runEngine(mapped, parts);
            removeParts();
            return secs;
        },
        [&](int) {
            const double secs = runEngine(lan, parts);
            removeParts();
            return secs;
        },
        parRounds);
    if (!parOk)
        return 1;
    printRatio(stdout, "upload_parallel3", ratioOf(parRounds));
    for (const QString& p : parts)
        QFile::remove(p);

    // 5,000 files of 4 KiB in one folder, sent under a new folder name each
    // round so the device starts empty.
    const int count = 5000;
    QString smallDir = work.filePath("Small0");
    QDir().mkpath(smallDir);
    QStringList small;
    const QByteArray block(4096, 'q');
    for (int i = 0; i < count; ++i) {
        const QString p = smallDir + QString("/f%1.txt").arg(i);
        QFile f(p);
        if (!f.open(QIODevice::WriteOnly) || f.write(block) != block.size())
            return 1;
        small << p;
    }
    const QString configDir = work.filePath("curlconf");
    QDir().mkpath(configDir);
    Rounds smallRounds;
    long firstPeak = -1;
    const bool smallOk = interleave(
        "upload_small_files",
        [&](int round) {
            server.clearRequests();
            const QString dir = work.filePath(QString("Small%1").arg(round));
            if (dir != smallDir) {
                if (!QDir().rename(smallDir, dir))
                    return -1.0;
                smallDir = dir;
                for (QString& p : small)
                    p = dir + "/" + QFileInfo(p).fileName();
            }
            return runCurlMany(server.port(), small, configDir, QString("ref%1_").arg(round));
        },
        [&](int round) {
            const QString name = QString("Small%1").arg(round);
            const double secs = runEngine(lan, {smallDir});
            const int arrived = QDir(QDir(storage).filePath(name)).entryList(QDir::Files).size();
            if (round == 0)
                firstPeak = peakRssMb();
            if (secs <= 0 || arrived != count) {
                fprintf(stderr, "small files failed: %d of %d arrived\n", arrived, count);
                return -1.0;
            }
            return secs;
        },
        smallRounds);
    if (!smallOk)
        return 1;
    printf("upload_small_files: %.0f files/s (curl %.0f files/s)\n", count / median(smallRounds.ours),
           count / median(smallRounds.reference));
    printRatio(stdout, "upload_small_files", ratioOf(smallRounds));

    // The in-process test device keeps every file and task it was sent, so
    // later rounds add to the peak: the first round is the engine's figure.
    printf("upload_peak_rss: %ld MB (after all rounds: %ld MB)\n", firstPeak, peakRssMb());
    server.stop();
    return 0;
}
