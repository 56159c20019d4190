#pragma once

#include <csignal>
#include <string>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QStandardPaths>

// A private X server with Mesa's software OpenGL for tests that draw video:
// its display number comes back through a pipe, so parallel tests never
// pick the same one. start() sets DISPLAY and the xcb platform; false when
// Xvfb is missing or does not come up.
class XvfbDisplay
{
public:
    ~XvfbDisplay() { stop(); }

    bool running() const { return m_pid > 0; }

    bool start()
    {
        if (QStandardPaths::findExecutable("Xvfb").isEmpty())
            return false;
        int fds[2];
        if (::pipe(fds) != 0)
            return false;
        const pid_t pid = ::fork();
        if (pid < 0)
            return false;
        if (pid == 0) {
            // Goes with the test if it dies: a leftover server would hold
            // the test's output open and stall the runner.
            ::prctl(PR_SET_PDEATHSIG, SIGTERM);
            if (::getppid() == 1)
                ::_exit(127);
            ::close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24", "-nolisten", "tcp",
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        std::string display;
        char c;
        while (::read(fds[0], &c, 1) == 1 && c != '\n')
            display.push_back(c);
        ::close(fds[0]);
        if (display.empty()) {
            ::kill(pid, SIGTERM);
            ::waitpid(pid, nullptr, 0);
            return false;
        }
        m_pid = pid;
        qputenv("DISPLAY", QByteArray(":") + QByteArray::fromStdString(display));
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("LIBGL_ALWAYS_SOFTWARE", "1");
        return true;
    }

    void stop()
    {
        if (m_pid > 0) {
            ::kill(m_pid, SIGTERM);
            ::waitpid(m_pid, nullptr, 0);
        }
        m_pid = 0;
    }

private:
    pid_t m_pid = 0;
};
