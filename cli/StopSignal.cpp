#include "StopSignal.h"

void StopSignal::request() { emit stopRequested(++count_); }

#ifdef Q_OS_WIN

#include <atomic>
#include <qt_windows.h>

namespace {

std::atomic<StopSignal *> Listener{nullptr};

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT && event != CTRL_CLOSE_EVENT)
        return FALSE;
    StopSignal *listener = Listener.load();
    if (!listener)
        return FALSE;
    QMetaObject::invokeMethod(listener, &StopSignal::request, Qt::QueuedConnection);
    return TRUE;
}

} // namespace

StopSignal::StopSignal(QObject *parent) : QObject(parent)
{
    Listener.store(this);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

StopSignal::~StopSignal()
{
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    Listener.store(nullptr);
}

#else

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int Pipe[2] = {-1, -1};
struct sigaction Previous[2];

void OnSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(Pipe[1], &byte, 1);
}

} // namespace

StopSignal::StopSignal(QObject *parent) : QObject(parent)
{
    if (::pipe(Pipe) != 0)
        return;
    for (int fd : Pipe)
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    notifier_ = new QSocketNotifier(Pipe[0], QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this] {
        char bytes[16];
        ssize_t n = 0;
        while ((n = ::read(Pipe[0], bytes, sizeof bytes)) > 0)
            for (ssize_t i = 0; i < n; ++i)
                request();
    });
    struct sigaction action { };
    action.sa_handler = OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, &Previous[0]);
    sigaction(SIGTERM, &action, &Previous[1]);
}

StopSignal::~StopSignal()
{
    if (Pipe[0] < 0)
        return;
    sigaction(SIGINT, &Previous[0], nullptr);
    sigaction(SIGTERM, &Previous[1], nullptr);
    delete notifier_;
    ::close(Pipe[0]);
    ::close(Pipe[1]);
    Pipe[0] = Pipe[1] = -1;
}

#endif
