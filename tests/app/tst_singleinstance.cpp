// One running program per user: a later start hands its command line to the
// first and ends; the first takes a link out of it. Lock and socket live in a
// folder of the user's own, and what is left over from a crash never blocks.
#include "tests/testenv.h"

#include <QProcess>
#include <QTemporaryDir>
#include <cstring>
#include <memory>

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

    // A start whose hand-over fails runs as the first instead of ending.
    void failedHandOverStartsTheProgram()
    {
        if (!QFile::exists(program()))
            QSKIP("the program is not built");
        // A holder of the lock that does not listen (hung, or gone wrong).
        LockHolder holder(m_runtime + "/" + SingleInstance::userKey() + ".lock");
        QVERIFY(holder.fd >= 0);
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(program(), {"-a", linkText("S1", "")});
        QVERIFY(p.waitForStarted(20000));
        QByteArray out;
        QTRY_VERIFY_WITH_TIMEOUT((out += p.readAll()).contains("starting as the primary instance")
                                     || p.state() == QProcess::NotRunning,
                                 30000);
        QVERIFY2(out.contains("no running instance answers"), out.constData());
        QTest::qWait(500);
        QCOMPARE(p.state(), QProcess::Running);
        p.kill();
        p.waitForFinished(10000);
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
        second.takeOver();
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
        QStringList unusable = {m_runtime + "/missing", wide};
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
        ::chmod(QFile::encodeName(getAppDataPath() + "run").constData(), 0777);
        SingleInstance again(k);
        QVERIFY(again.isListening());
        QCOMPARE(modeOf(again.folder()), 0700);
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
        SingleInstance blocked(k);
        QVERIFY(!blocked.isPrimary());
        QVERIFY(!blocked.handOver({"prog"}));
        QVERIFY(!blocked.errorString().isEmpty());
        // Run anyway, without taking what the live holder has.
        blocked.takeOver();
        QVERIFY(blocked.isPrimary());
        QVERIFY(!blocked.isListening());
        holder.release();
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
