#include "Fleet.h"

Fleet::Fleet(QObject *parent) : QObject(parent) { }

void Fleet::setPorts(const QStringList &devices, const PortJob &job, bool productionLine)
{
    qDeleteAll(stations_);
    stations_.clear();
    records_.clear();
    line_ = productionLine;
    for (const QString &device : devices) {
        auto *station = new PortStation(device, job, productionLine, this);
        connect(station, &PortStation::changed, this, [this, station] { emit changed(station); });
        connect(station, &PortStation::recorded, this, [this](const PortRecord &record) {
            records_ << record;
            emit recorded(record);
        });
        connect(station, &PortStation::finishedChanged, this, [this] {
            if (!running())
                emit allFinished();
        });
        stations_ << station;
    }
}

PortStation *Fleet::station(const QString &device) const
{
    for (PortStation *station : stations_)
        if (station->device() == device)
            return station;
    return nullptr;
}

void Fleet::start()
{
    for (PortStation *station : stations_)
        station->start();
}

bool Fleet::running() const
{
    return std::any_of(stations_.begin(), stations_.end(),
                       [](PortStation *s) { return !s->finished(); });
}

QList<PortRecord> Fleet::latest() const
{
    QList<PortRecord> latest;
    for (PortStation *station : stations_)
        latest << station->current();
    return latest;
}

int Fleet::completedCount() const
{
    const QList<PortRecord> counted = line_ ? records_ : latest();
    return int(std::count_if(counted.begin(), counted.end(), [](const PortRecord &r) {
        return r.outcome == PortOutcome::Completed;
    }));
}

int Fleet::failedCount() const
{
    const QList<PortRecord> counted = line_ ? records_ : latest();
    return int(std::count_if(counted.begin(), counted.end(), [](const PortRecord &r) {
        return r.outcome != PortOutcome::Completed && r.outcome != PortOutcome::Pending
               && r.outcome != PortOutcome::Running;
    }));
}

QList<PortStation *> Fleet::finishAndStop()
{
    QList<PortStation *> finishing;
    for (PortStation *station : stations_) {
        station->finishAndStop();
        if (!station->finished())
            finishing << station;
    }
    return finishing;
}

void Fleet::abort()
{
    for (PortStation *station : stations_)
        station->abort();
}
