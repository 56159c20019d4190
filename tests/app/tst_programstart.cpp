#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTcpSocket>

#include "tests/testenv.h"

// The program as a new user starts it: headless, no device configured, so
// it starts the bundled sample device and lists its files; a second start
// hands its link over; the sample device ends with the program.
class TstProgramStart : public QObject
{
    Q_OBJECT

    QString program() const { return QCoreApplication::applicationDirPath() + "/../app/tidewell"; }

    static bool waitFor(QProcess& p, QByteArray& log, const QByteArray& text, int ms)
    {
        QElapsedTimer t;
        t.start();
        while (!log.contains(text) && t.elapsed() < ms && p.state() == QProcess::Running) {
            p.waitForReadyRead(200);
            log += p.readAllStandardError() + p.readAllStandardOutput();
        }
        return log.contains(text);
    }

    // A device request without the token the program handed the server.
    static QByteArray askWithoutToken(int port)
    {
        QTcpSocket s;
        s.connectToHost("127.0.0.1", quint16(port));
        if (!s.waitForConnected(3000))
            return QByteArray();
        const QByteArray body = R"({"command":"getDirPath","data":{"fileId":0,"pageNo":1,"pageSize":60}})";
        s.write("POST /device/directTransfer.json HTTP/1.1\r\nHost: 127.0.0.1\r\nContent-Type: application/json\r\n"
                "Connection: close\r\nContent-Length: " + QByteArray::number(body.size()) + "\r\n\r\n" + body);
        QByteArray answer;
        while (s.waitForReadyRead(3000))
            answer += s.readAll();
        return answer;
    }

    static bool listening(int port)
    {
        QTcpSocket s;
        s.connectToHost("127.0.0.1", quint16(port));
        return s.waitForConnected(1000);
    }

    static QProcessEnvironment verbose()
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TIDEWELL_LOG_LEVEL", "debug");
        return env;
    }

    // The program's own log folder in the test's HOME.
    static QString logDir()
    {
        return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/tidewell/tidewell/logs";
    }
    static QByteArray logText()
    {
        QByteArray all;
        for (const QFileInfo& fi : QDir(logDir()).entryInfoList(QDir::Files, QDir::Time)) {
            QFile f(fi.absoluteFilePath());
            if (f.open(QIODevice::ReadOnly))
                all += f.readAll();
        }
        return all;
    }

private slots:
    // Without being asked for more the terminal gets warnings and errors
    // only; the log file gets everything.
    void quietTerminalFullLogFile()
    {
        QProcess p;
        p.start(program(), QStringList());
        QVERIFY(p.waitForStarted(10000));
        QElapsedTimer t;
        t.start();
        while (!logText().contains("DirListModel::rFilelist - result 1") && t.elapsed() < 50000
               && p.state() == QProcess::Running)
            QTest::qWait(200);
        const QByteArray log = logText();
        QVERIFY2(log.contains("DirListModel::rFilelist - result 1"), log.right(2000).constData());
        QVERIFY(log.contains(" D "));
        const QByteArray terminal = p.readAllStandardError() + p.readAllStandardOutput();
        p.kill();
        p.waitForFinished(5000);
        for (const QByteArray& line : terminal.split('\n'))
            QVERIFY2(!QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\\.\\d+ [DI] ").match(QString::fromUtf8(line)).hasMatch(),
                     line.constData());
    }

    void startsOnTheSampleDeviceAndHandsOverLinks()
    {
        QProcess first;
        first.setProcessEnvironment(verbose());
        first.start(program(), QStringList());
        QVERIFY(first.waitForStarted(10000));
        QByteArray log;
        QVERIFY2(waitFor(first, log, "sample device on 127.0.0.1 port", 90000), log.right(2000).constData());
        QVERIFY2(waitFor(first, log, "DirListModel::rFilelist - result 1", 30000), log.right(2000).constData());
        const QRegularExpression portRe("sample device on 127.0.0.1 port (\\d+)");
        const int port = portRe.match(QString::fromUtf8(log)).captured(1).toInt();
        QVERIFY(port > 0);
        // Received links are resolved by the sample device.
        QVERIFY2(waitFor(first, log, QString("links are resolved by http://127.0.0.1:%1").arg(port).toUtf8(), 10000),
                 log.right(2000).constData());

        // Another local user cannot read the sample without the token.
        const QByteArray answer = askWithoutToken(port);
        QVERIFY2(!answer.contains("\"code\":1") && !answer.contains("Documents"), answer.constData());

        // A second start gives its link to this one and ends at once.
        QProcess second;
        second.start(program(), {"-a", "larkvault://a.share.tidewell.net/share?shareId=handed-1&code=ab%20c"});
        QVERIFY(second.waitForFinished(20000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(waitFor(first, log, "link page opened for handed-1", 15000), log.right(2000).constData());

        // A link given as it stands, as a generic desktop handler passes it.
        QProcess third;
        third.start(program(), {"larkvault://a.share.tidewell.net/share?shareId=handed-2&code=x1"});
        QVERIFY(third.waitForFinished(20000));
        QCOMPARE(third.exitCode(), 0);
        QVERIFY2(waitFor(first, log, "link page opened for handed-2", 15000), log.right(2000).constData());

        // The sample device ends with the program, however it ends.
        first.kill();
        first.waitForFinished(5000);
        QTRY_VERIFY_WITH_TIMEOUT(!listening(port), 10000);
    }
};

TW_TEST_MAIN(TstProgramStart)
#include "tst_programstart.moc"
