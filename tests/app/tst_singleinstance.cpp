// One running program per user: a later start hands its command line to the
// first and ends; the first takes a link out of it. Lock and socket live in a
// folder of the user's own, and what is left over from a crash never blocks.
#include "tests/testenv.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QTemporaryFile>
#include <csignal>
#include <cstring>
#include <memory>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "app/singleinstance.h"
#include "app/tidewellsdk.h"
#include "core/sharelinkinfo.h"
#include "core/utils.h"

static QString linkText(const QString& shareId, const QString& code)
{
    return QString("larkvault://a.%1/share?shareId=%2&code=%3")
        .arg(ShareLinkInfo::shareDomain(), shareId, code);
}

static int modeOf(const QString& path)
{
    struct stat st;
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 ? int(st.st_mode & 0777) : -1;
}

// Sets an environment variable for one scope.
struct EnvScope
{
    QByteArray name;
    QByteArray old;
    bool had;
    EnvScope(const char* n, const QByteArray& value)
        : name(n), old(qgetenv(n)), had(qEnvironmentVariableIsSet(n))
    {
        qputenv(n, value);
    }
    ~EnvScope()
    {
        if (had)
            qputenv(name.constData(), old);
        else
            qunsetenv(name.constData());
    }
};

// Another process's hold on a lock file, as a running first instance has it.
struct LockHolder
{
    int fd = -1;
    explicit LockHolder(const QString& path)
    {
        fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            ::close(fd);
            fd = -1;
        }
    }
    ~LockHolder() { release(); }
    void release()
    {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

// What became of one start of the program.
struct Started
{
    bool running = false;   // still running when the test gave up waiting
    int code = -1;
    QByteArray output;      // standard error
};

// Starts the program with arguments given as raw bytes (not necessarily
// UTF-8) and waits for it to end while this test's event loop runs.
static Started startRaw(const QString& program, const QList<QByteArray>& args, int waitMs = 12000)
{
    Started r;
    QTemporaryFile err;
    if (!err.open())
        return r;
    std::vector<QByteArray> keep{QFile::encodeName(program)};
    for (const QByteArray& a : args)
        keep.push_back(a);
    std::vector<char*> argv;
    for (QByteArray& a : keep)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(err.handle(), 2);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    QElapsedTimer t;
    t.start();
    while (::waitpid(pid, &status, WNOHANG) == 0) {
        if (t.elapsed() > waitMs) {
            r.running = true;
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            break;
        }
        QTest::qWait(20);
    }
    if (!r.running)
        r.code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    err.seek(0);
    r.output = err.readAll();
    return r;
}

// A socket at path that a process of another user listens on: made by
// root and handed over before listen(), which fixes the peer's identity.
struct ForeignListener
{
    pid_t pid = -1;
    explicit ForeignListener(const QString& path)
    {
        const QByteArray p = QFile::encodeName(path);
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        if (size_t(p.size()) >= sizeof(addr.sun_path))
            return;
        std::memcpy(addr.sun_path, p.constData(), size_t(p.size()));
        ::unlink(p.constData());
        int ready[2];
        if (::pipe(ready) != 0)
            return;
        pid = ::fork();
        if (pid == 0) {
            const int srv = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (srv < 0 || ::bind(srv, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0
                || ::setgid(65534) != 0 || ::setuid(65534) != 0 || ::listen(srv, 4) != 0)
                ::_exit(2);
            if (::write(ready[1], "r", 1) != 1)
                ::_exit(3);
            for (;;) {
                const int c = ::accept(srv, nullptr, nullptr);
                char b[4096];
                while (c >= 0 && ::read(c, b, sizeof(b)) > 0) {
                }
                if (c >= 0)
                    ::close(c);
            }
        }
        ::close(ready[1]);
        char b = 0;
        if (pid < 0 || ::read(ready[0], &b, 1) != 1)
            stop();
        ::close(ready[0]);
    }
    ~ForeignListener() { stop(); }
    void stop()
    {
        if (pid > 0) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);
        }
        pid = -1;
    }
};

class TestSingleInstance : public QObject
{
    Q_OBJECT
    QString m_runtime;

    static QString key(const char* name)
    {
        return QString("tw-test-%1-%2").arg(name).arg(QCoreApplication::applicationPid());
    }

    QString program() const
    {
        return QCoreApplication::applicationDirPath() + "/../app/tidewell";
    }

private slots:
    void initTestCase()
    {
        // The user's runtime folder, shared with the programs the tests start.
        m_runtime = TestEnv::instance()->root() + "/runtime";
        QVERIFY(::mkdir(QFile::encodeName(m_runtime).constData(), 0700) == 0);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime));
    }

    void secondStartHandsItsLinkOver()
    {
        if (!QFile::exists(program()))
            QSKIP("the program is not built");
        SingleInstance guard(SingleInstance::userKey());
        QVERIFY(guard.isPrimary());
        QVERIFY(guard.isListening());
        TidewellSdk root;
        connect(&guard, &SingleInstance::receivedMessage, &root, &TidewellSdk::handleMessage);
        QSignalSpy changed(&root, &TidewellSdk::extraExtlinkChanged);

        auto start = [&](const QStringList& args) {
            QProcess p;
            p.setProcessChannelMode(QProcess::ForwardedErrorChannel);
            p.start(program(), args);
            if (!p.waitForStarted(20000))
                return -100;
            // The test's event loop runs meanwhile, so the guard can answer.
            QElapsedTimer t;
            t.start();
            while (p.state() != QProcess::NotRunning && t.elapsed() < 30000)
                QTest::qWait(20);
            return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -200;
        };

        QCOMPARE(start({"-a", linkText("S7", "C7")}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 1, 20000);
        const QVariantMap link = root.extraExtlink();
        QCOMPARE(link.value("shareId").toString(), QString("S7"));
        QCOMPARE(link.value("code").toString(), QString("C7"));
        QCOMPARE(link.value("url").toString(),
                 QString("https://a.%1/share?shareId=S7&code=C7").arg(ShareLinkInfo::shareDomain()));

        // The same link again changes nothing; words that are no link neither.
        QCOMPARE(start({"--argument=" + linkText("S7", "C7")}), 0);
        QCOMPARE(start({"-a", "hello"}), 0);
        QTest::qWait(300);
        QCOMPARE(changed.count(), 1);

        QCOMPARE(start({"-a", linkText("S8", "")}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 2, 20000);
        QCOMPARE(root.extraExtlink().value("shareId").toString(), QString("S8"));

        // An argument with blanks arrives as the one argument it was: the
        // second link inside it is no option of its own.
        QCOMPARE(start({"-a", linkText("S9", "C 9")}), 0);
        QTRY_COMPARE_WITH_TIMEOUT(changed.count(), 3, 20000);
        QCOMPARE(root.extraExtlink().value("shareId").toString(), QString("S9"));
        QCOMPARE(root.extraExtlink().value("code").toString(), QString("C 9"));
        QCOMPARE(start({"-a", linkText("S10", "c") + " -a " + linkText("S11", "d")}), 0);
        QTest::qWait(300);
        QCOMPARE(changed.count(), 3);
    }

    // A start whose hand-over fails while another process holds the lock
    // never runs beside it: it says why, on the terminal and in the log,
    // and ends with a non-zero code. Each time exactly one program runs.
    void failedHandOverNeverRunsASecondProgram()
    {
        if (!QFile::exists(program()))
            QSKIP("the program is not built");
        const QString logs = TestEnv::instance()->root() + "/data/tidewell/tidewell/logs";
        auto logText = [&] {
            QByteArray all;
            for (const QFileInfo& fi : QDir(logs).entryInfoList({"tw_*_log.txt"}, QDir::Files)) {
                QFile f(fi.filePath());
                if (f.open(QIODevice::ReadOnly))
                    all += f.readAll();
            }
            return all;
        };
        auto refused = [&](const Started& r, const char* why) {
            QVERIFY2(!r.running, "a second program kept running");
            QVERIFY2(r.code != 0, r.output.constData());
            QVERIFY2(r.output.contains(why), r.output.constData());
            QVERIFY2(r.output.contains("this start ends"), r.output.constData());
            QVERIFY2(logText().contains(why), logText().constData());
        };

        {
            // A holder of the lock that does not listen (hung, or gone wrong).
            LockHolder holder(m_runtime + "/" + SingleInstance::userKey() + ".lock");
            QVERIFY(holder.fd >= 0);
            refused(startRaw(program(), {"-a", linkText("S1", "").toUtf8()}), "no running instance answers");
            if (QTest::currentTestFailed())
                return;
        }
        if (::geteuid() == 0) {
            // A listener that runs as another user: the peer check fails.
            LockHolder holder(m_runtime + "/" + SingleInstance::userKey() + ".lock");
            QVERIFY(holder.fd >= 0);
            ForeignListener foreign(m_runtime + "/" + SingleInstance::userKey() + ".socket");
            QVERIFY(foreign.pid > 0);
            refused(startRaw(program(), {"-a", linkText("S2", "").toUtf8()}), "not held by this user");
            if (QTest::currentTestFailed())
                return;
        }

        // A running instance, then a link too long to hand over and one
        // that is no UTF-8.
        SingleInstance guard(SingleInstance::userKey());
        QVERIFY(guard.isListening());
        QSignalSpy got(&guard, &SingleInstance::receivedMessage);
        refused(startRaw(program(), {"-a", linkText("S3", QString(120 * 1024, 'c')).toUtf8()}),
                "too long to hand over");
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(got.count(), 0);
        const Started r =
            startRaw(program(), {"-a", QByteArray::fromPercentEncoding("larkvault://x/share?shareId=%ff%fe%c3")});
        QVERIFY2(!r.running, "a second program kept running");
        // Handed over as well as it can be read.
        QCOMPARE(r.code, 0);
        QTRY_COMPARE_WITH_TIMEOUT(got.count(), 1, 10000);
        QVERIFY(got[0][0].toByteArray().contains("share?shareId="));
        QVERIFY(guard.isListening());
    }

    void ownCommandLine()
    {
        TidewellSdk root;
        QSignalSpy changed(&root, &TidewellSdk::extraExtlinkChanged);
        root.handleArguments({"tidewell"});
        root.handleArguments({"tidewell", "-a", "larkvault://evil.com/share?shareId=x"});
        root.handleArguments({"tidewell", "--unknown", "-a", "/share"});
        QCOMPARE(changed.count(), 0);
        root.handleArguments({"tidewell", "--argument", linkText("S1", "")});
        QCOMPARE(changed.count(), 1);
        QCOMPARE(root.extraExtlink().value("shareId").toString(), QString("S1"));
        // The page clears it once it has offered the link.
        root.setExtraExtlink(QVariantMap());
        QCOMPARE(changed.count(), 2);
    }

    void laterStartInTheSameSession()
    {
        const QString k = key("same");
        auto first = std::make_unique<SingleInstance>(k);
        QVERIFY(first->isPrimary());
        QSignalSpy got(first.get(), &SingleInstance::receivedMessage);
        {
            SingleInstance second(k);
            QVERIFY(!second.isPrimary());
            QVERIFY(second.handOver({"prog", "-a", linkText("S2", "c")}));
            QTRY_COMPARE_WITH_TIMEOUT(got.count(), 1, 10000);
            QCOMPARE(QString::fromUtf8(got[0][0].toByteArray()),
                     "prog -a " + linkText("S2", "c"));
            // Too long for a command line: not sent.
            QVERIFY(!second.handOver({QString(SingleInstance::kMaxMessage + 1, 'x')}));
            QVERIFY(second.errorString().contains("too long"));
            QTest::qWait(100);
            QCOMPARE(got.count(), 1);
        }
        // Once the first is gone the next start is the first.
        first.reset();
        SingleInstance next(k);
        QVERIFY(next.isPrimary());
    }

    void nobodyToHandOverTo()
    {
        const QString k = key("none");
        auto first = std::make_unique<SingleInstance>(k);
        SingleInstance second(k);
        QVERIFY(!second.isPrimary());
        first.reset();
        QVERIFY(!second.handOver({"prog"}));
        QVERIFY(second.errorString().contains("no running instance answers"));
        // Its holder gone, the lock is taken and later starts reach this one.
        QVERIFY(second.takeOver());
        QVERIFY(second.isPrimary());
        QVERIFY(second.isListening());
        QSignalSpy got(&second, &SingleInstance::receivedMessage);
        SingleInstance third(k);
        QVERIFY(third.handOver({"prog", "x"}));
        QTRY_COMPARE(got.count(), 1);
    }

    void argumentsSurviveTheHandOver()
    {
        const QString k = key("args");
        SingleInstance first(k);
        QSignalSpy got(&first, &SingleInstance::receivedMessage);
        SingleInstance second(k);
        const QStringList args = {"prog",
                                  "-a",
                                  linkText("A", "1") + " -a " + linkText("B", "2"),
                                  "",
                                  "say \"hi\"",
                                  "back\\slash \\\" end\\",
                                  "\"",
                                  "tab\there",
                                  QString::fromUtf8("\xe6\x97\x85 \xe8\xa1\x8c"),
                                  "  "};
        QVERIFY(second.handOver(args));
        QTRY_COMPARE(got.count(), 1);
        const QByteArray message = got[0][0].toByteArray();
        QCOMPARE(SingleInstance::decodeArguments(message), args);

        // The receiver sees one argument, which is no link: link B is not taken.
        TidewellSdk root;
        QSignalSpy changed(&root, &TidewellSdk::extraExtlinkChanged);
        root.handleMessage(message);
        QCOMPARE(changed.count(), 0);
        root.handleMessage(SingleInstance::encodeArguments({"prog", "-a", linkText("S3", "C 3")}));
        QCOMPARE(changed.count(), 1);
        QCOMPARE(root.extraExtlink().value("code").toString(), QString("C 3"));

        // Plain arguments travel as before: joined by single blanks.
        QCOMPARE(SingleInstance::encodeArguments({"prog", "-a", "x"}), QByteArray("prog -a x"));
        QCOMPARE(SingleInstance::decodeArguments("prog  -a x "),
                 (QStringList{"prog", "-a", "x"}));
    }

    // Lock and socket never in a shared folder: names planted there by
    // another user change nothing.
    void onlyAPrivateFolderIsUsed()
    {
        const QString k = key("folder");
        {
            SingleInstance first(k);
            QCOMPARE(first.folder(), m_runtime);
            QVERIFY(QFileInfo::exists(first.serverPath()));
            QVERIFY(first.lockPath().startsWith(m_runtime + "/"));
        }
        const QString shared = QDir::tempPath();
        QDir(shared).mkpath(k + "/held");
        QDir(shared).mkpath(k + ".lock/held");
        QDir(shared).mkpath(k + ".socket/held");
        const QString wide = TestEnv::instance()->root() + "/wide";
        QVERIFY(::mkdir(QFile::encodeName(wide).constData(), 0755) == 0);
        ::chmod(QFile::encodeName(wide).constData(), 0755);
        // Writable by the group only: a member could plant a socket there.
        const QString group = TestEnv::instance()->root() + "/group";
        QVERIFY(::mkdir(QFile::encodeName(group).constData(), 0770) == 0);
        ::chmod(QFile::encodeName(group).constData(), 0770);
        QStringList unusable = {m_runtime + "/missing", wide, group};
        if (::geteuid() == 0) {
            const QString foreign = TestEnv::instance()->root() + "/foreign";
            QVERIFY(::mkdir(QFile::encodeName(foreign).constData(), 0700) == 0);
            QVERIFY(::chown(QFile::encodeName(foreign).constData(), 65534, 65534) == 0);
            unusable << foreign;
        }
        for (const QString& runtime : unusable) {
            EnvScope env("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
            SingleInstance first(k);
            QVERIFY2(first.isPrimary() && first.isListening(), qPrintable(runtime));
            QCOMPARE(first.folder(), getAppDataPath() + "run");
            QCOMPARE(modeOf(first.folder()), 0700);
            QSignalSpy got(&first, &SingleInstance::receivedMessage);
            SingleInstance second(k);
            QVERIFY(!second.isPrimary());
            QVERIFY2(second.handOver({"prog", "x"}), qPrintable(second.errorString()));
            QTRY_COMPARE(got.count(), 1);
        }
        QDir(shared + "/" + k).removeRecursively();
        QDir(shared + "/" + k + ".lock").removeRecursively();
        QDir(shared + "/" + k + ".socket").removeRecursively();

        // Our own folder widened by someone is made private again.
        EnvScope env("XDG_RUNTIME_DIR", "");
        for (int mode : {0777, 0730}) {
            ::chmod(QFile::encodeName(getAppDataPath() + "run").constData(), mode_t(mode));
            SingleInstance again(k);
            QVERIFY(again.isListening());
            QCOMPARE(modeOf(again.folder()), 0700);
        }
    }

    // A lock left by a crash, empty or naming a process that is gone, is
    // taken over; one held by a live process is not.
    void leftoverLocksAreTakenOver()
    {
        const QString k = key("stale");
        const QString lock = m_runtime + "/" + k + ".lock";
        for (const QByteArray& content : {QByteArray(), QByteArray("999999\ntidewell\nhost\n"),
                                          QByteArray("\xff\xfe garbage")}) {
            QFile f(lock);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(content);
            f.close();
            SingleInstance first(k);
            QVERIFY(first.isPrimary());
            QVERIFY(first.isListening());
        }

        LockHolder holder(lock);
        QVERIFY(holder.fd >= 0);
        auto blocked = std::make_unique<SingleInstance>(k);
        QVERIFY(!blocked->isPrimary());
        QVERIFY(!blocked->handOver({"prog"}));
        QVERIFY(!blocked->errorString().isEmpty());
        // Never taken from a live holder.
        QVERIFY(!blocked->takeOver());
        QVERIFY(!blocked->isPrimary());
        QVERIFY(!blocked->isListening());
        QVERIFY(blocked->errorString().contains("cannot lock"));
        holder.release();
        // Once the holder is gone it is.
        QVERIFY(blocked->takeOver());
        QVERIFY(blocked->isListening());
        QVERIFY(!SingleInstance(k).isPrimary());
        blocked.reset();
        SingleInstance next(k);
        QVERIFY(next.isListening());
    }

    void peerOfAnotherUserIsRefused()
    {
        int pair[2];
        QVERIFY(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, pair) == 0);
        QVERIFY(SingleInstance::samePeerUser(pair[0]));
        ::close(pair[0]);
        ::close(pair[1]);
        int pipeFds[2];
        QVERIFY(::pipe(pipeFds) == 0);
        QString why;
        QVERIFY(!SingleInstance::samePeerUser(pipeFds[0], &why));
        QVERIFY(!why.isEmpty());
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);

        if (::geteuid() != 0)
            QSKIP("another user's process needs root to start");
        // A process of another user connects to a socket it may reach.
        QTemporaryDir dir(QDir::tempPath() + "/tw-peer-XXXXXX");
        QVERIFY(dir.isValid());
        ::chmod(QFile::encodeName(dir.path()).constData(), 0777);
        const QByteArray path = QFile::encodeName(dir.path() + "/s");
        sockaddr_un addr{};
        addr.sun_family = AF_UNIX;
        QVERIFY(size_t(path.size()) < sizeof(addr.sun_path));
        std::memcpy(addr.sun_path, path.constData(), size_t(path.size()));
        const int srv = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        QVERIFY(srv >= 0);
        QVERIFY(::bind(srv, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) == 0);
        ::chmod(path.constData(), 0777);
        QVERIFY(::listen(srv, 1) == 0);
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(2);
            const int c = ::socket(AF_UNIX, SOCK_STREAM, 0);
            if (::connect(c, reinterpret_cast<sockaddr*>(&addr), sizeof(addr)) != 0)
                ::_exit(3);
            char b;
            // Stays connected until the test has looked.
            while (::read(c, &b, 1) > 0) {
            }
            ::_exit(0);
        }
        QVERIFY(child > 0);
        pollfd pfd{srv, POLLIN, 0};
        const bool connected = ::poll(&pfd, 1, 15000) == 1;
        const int conn = connected ? ::accept(srv, nullptr, nullptr) : -1;
        why.clear();
        const bool same = SingleInstance::samePeerUser(conn, &why);
        if (conn >= 0)
            ::close(conn);
        ::close(srv);
        int status = 0;
        ::waitpid(child, &status, 0);
        QVERIFY2(connected, qPrintable(QString("child ended with %1").arg(status)));
        QVERIFY(!same);
        QVERIFY2(why.contains("65534"), qPrintable(why));
    }
};

TW_TEST_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
