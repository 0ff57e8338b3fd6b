// Preloaded into a program (LD_PRELOAD) by bench/startup-time.sh, so that
// the program itself carries nothing for the benchmark. It notes when the
// program's main window is first exposed (the X server has mapped it and
// the program has come round to it) and when that first frame has been
// painted, appends both wall-clock times and the processor time the program
// had used by then (user and system), in microseconds, to the file named by
// QL540_STARTUP_PROBE, and ends the program.
#include <QCoreApplication>
#include <QEvent>
#include <QMainWindow>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <sys/resource.h>

namespace {

long long NowMicros()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now.tv_sec * 1000000LL + now.tv_nsec / 1000;
}

long long ProcessorMicros()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL + usage.ru_utime.tv_usec
           + usage.ru_stime.tv_usec;
}

class Probe : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (exposed_ || event->type() != QEvent::Expose)
            return false;
        auto *window = qobject_cast<QWindow *>(watched);
        if (!window || !window->isTopLevel() || !window->isExposed()
            || !qobject_cast<QMainWindow *>(QWidget::find(window->winId())))
            return false;
        exposed_ = NowMicros();
        // The expose is painted while it is handled; what is queued now runs
        // after that frame.
        QTimer::singleShot(0, this, [this] {
            const long long painted = NowMicros();
            const long long processor = ProcessorMicros();
            if (FILE *out = std::fopen(std::getenv("QL540_STARTUP_PROBE"), "a")) {
                std::fprintf(out, "%lld %lld %lld\n", exposed_, painted, processor);
                std::fclose(out);
            }
            QCoreApplication::quit();
        });
        return false;
    }

private:
    long long exposed_ = 0;
};

void InstallProbe()
{
    if (std::getenv("QL540_STARTUP_PROBE"))
        QCoreApplication::instance()->installEventFilter(new Probe(QCoreApplication::instance()));
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(InstallProbe)
