// Progress of a run over several ports on standard error. On a terminal one
// line per port, redrawn in place (at most ten times a second); otherwise a
// plain line per port at each tenth of its progress and at each change of
// its state. Results go to standard output as they are settled.
#pragma once

#include "PortStation.h"
#include "ProgressOutput.h"

#include <QHash>
#include <QObject>
#include <QTimer>
#include <cstdio>

class Fleet;
struct PortRecord;

class FleetProgress : public QObject {
    Q_OBJECT
public:
    FleetProgress(Fleet &fleet, ProgressOutput::Style style, FILE *out = stderr);

    // A note for the user (a stop request), printed above the port lines.
    void note(const QString &text);
    // Draws the last state and leaves the cursor below it.
    void finish();

    // The text of a port's line, without the bar.
    static QString StationText(const PortStation &station);

private:
    void stationChanged(PortStation *station);
    void recorded(const PortRecord &record);
    void redraw();
    void clearDrawn();
    void print(const QString &text);

    Fleet &fleet_;
    ProgressOutput::Style style_;
    FILE *out_;
    QTimer redraw_;
    int drawnLines_ = 0;
    // Lines style: what the last line of each port said, its state and the
    // tenth of its progress (or its waiting text).
    struct PrintedLine {
        PortStation::State state = PortStation::State::Idle;
        QString detail;
        bool operator==(const PrintedLine &) const = default;
    };
    QHash<PortStation *, PrintedLine> printed_;
};
