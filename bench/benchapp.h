#pragma once

#include <QCoreApplication>
#include <QTemporaryDir>

// The application object of an engine benchmark: made with a temporary home
// (see useTemporaryHome), Qt chatter below critical silenced and the
// metatypes registered like the program's.
class BenchApp
{
public:
    BenchApp(int& argc, char** argv);

private:
    // Sets up the environment before the application object exists.
    struct Home
    {
        Home();
        QTemporaryDir dir;
    };

    Home m_home;
    QCoreApplication m_app;
};
