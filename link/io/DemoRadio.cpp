#include "DemoRadio.h"

#include "LinkIo.h"
#include "RadioSimCore.h"

#include <QTimer>
#include <algorithm>
#include <memory>

namespace {

// One radio for the whole run, whichever window talks to it.
struct Radio {
    std::unique_ptr<RadioSimCore> core;
    bool paced = true;
    QElapsedTimer clock;
    qint64 lineFreeUs = 0; // when the radio's last queued byte is through
};

Radio &TheRadio()
{
    static Radio radio;
    return radio;
}

// 10 bits a byte at 9600 baud; the radio takes a moment to turn round.
qint64 ByteUs() { return TheRadio().paced ? 1000000 * 10 / 9600 : 0; }
qint64 TurnaroundUs() { return TheRadio().paced ? 2000 : 0; }

} // namespace

bool IsDemoDevice(const QString &device) { return device == QLatin1String(DemoDeviceName); }

void StartDemoRadio(bool paced)
{
    Radio &radio = TheRadio();
    radio.core = std::make_unique<RadioSimCore>(SampleRadioMemory());
    radio.paced = paced;
    radio.clock.start();
    radio.lineFreeUs = 0;
}

DemoSerialDevice::DemoSerialDevice(QObject *parent) : SerialDevice(parent), timer_(new QTimer(this))
{
    setObjectName(QStringLiteral("MSC"));
    timer_->setSingleShot(true);
    timer_->setTimerType(Qt::PreciseTimer);
    connect(timer_, &QTimer::timeout, this, &DemoSerialDevice::deliver);
}

DemoSerialDevice::~DemoSerialDevice() = default;

qint64 DemoSerialDevice::nowUs() const { return TheRadio().clock.nsecsElapsed() / 1000; }

bool DemoSerialDevice::open(const QString &, bool, PortOpenResult &result)
{
    if (!TheRadio().core) {
        result.notFound = true;
        return false;
    }
    incoming_.clear();
    open_ = true;
    return true;
}

void DemoSerialDevice::close()
{
    // What the radio still sends is lost with the line.
    open_ = false;
    incoming_.clear();
    timer_->stop();
}

void DemoSerialDevice::write(const QByteArray &bytes)
{
    Radio &radio = TheRadio();
    if (!open_ || !radio.core)
        return;
    const qint64 now = nowUs();
    for (int i = 0; i < bytes.size(); ++i) {
        // Each byte reaches the radio after its own wire time.
        const qint64 arrives = now + (i + 1) * ByteUs();
        const auto reply = radio.core->feed(uint8_t(bytes.at(i)), arrives / 1000);
        if (!reply)
            continue;
        qint64 t = std::max(arrives + TurnaroundUs(), radio.lineFreeUs);
        for (char byte : reply->bytes) {
            t += ByteUs();
            incoming_.emplace_back(t, byte);
        }
        if (!reply->afterPause.isEmpty())
            t += qint64(reply->afterPauseMs) * 1000;
        for (char byte : reply->afterPause) {
            t += ByteUs();
            incoming_.emplace_back(t, byte);
        }
        radio.lineFreeUs = t;
    }
    radio.core->takeLog();
    schedule();
}

void DemoSerialDevice::discardInput()
{
    // Only what has arrived; bytes still on the wire come later.
    const qint64 now = nowUs();
    while (!incoming_.empty() && incoming_.front().first <= now)
        incoming_.pop_front();
}

void DemoSerialDevice::schedule()
{
    if (incoming_.empty()) {
        timer_->stop();
        return;
    }
    const qint64 waitUs = std::max<qint64>(0, incoming_.front().first - nowUs());
    timer_->start(int((waitUs + 999) / 1000));
}

void DemoSerialDevice::deliver()
{
    const qint64 now = nowUs();
    QByteArray bytes;
    while (!incoming_.empty() && incoming_.front().first <= now) {
        bytes += incoming_.front().second;
        incoming_.pop_front();
    }
    schedule();
    if (!bytes.isEmpty())
        emit bytesArrived(bytes);
}
