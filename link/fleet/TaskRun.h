// One task (a read, a write, a look for the radio) on one serial device,
// with a link of its own: the exchange, the link engine on that device and
// the view that keeps what the user would see. Several run side by side on
// one event loop; none touches another or the program's globals.
#pragma once

#include "LinkExchange.h"
#include "LinkIo.h"

#include <QElapsedTimer>
#include <QObject>
#include <memory>
#include <optional>

class SerialLink;

class TaskRun : public QObject, public LinkView {
    Q_OBJECT
public:
    enum class End {
        Completed,
        Failed, // after the retries, or the port would not open
        Absent, // nothing answered the handshake (only when asked for)
    };
    enum class Attempts {
        AsTheWindows, // the retries of the windows
        // A first attempt that no radio answers ends the run at once as
        // Absent (the production line polls for its radio this way); once
        // a radio has identified itself the retries run as in the windows.
        UntilAnswered,
        // One attempt only: Absent if no radio answered, Failed if one did
        // and the attempt broke off (the line's look at a written radio: a
        // radio pulled out mid-look must not be waited for through the
        // retries, the next one would be taken for it).
        One,
    };
    TaskRun(const QString &device, std::unique_ptr<LinkExchange> exchange, Attempts attempts,
            QObject *parent = nullptr);
    ~TaskRun() override;

    void start();
    // Stops at once: timers stopped, port closed, no more notices.
    void halt();

    LinkExchange &exchange() { return *exchange_; }
    const QString &device() const { return device_; }
    // Openings of the port: one per attempt.
    int attempts() const { return attempts_; }
    // A radio identified itself in some attempt of this run.
    bool identified() const;
    bool busy() const;
    int percent() const { return percent_; }
    const BilingualText &status() const { return status_; }
    // The last message an error would have shown in a box (empty if none).
    const BilingualText &error() const { return error_; }
    qint64 elapsedMs() const { return clock_.isValid() ? clock_.elapsed() : 0; }

    // LinkView
    void showMessage(const PromptMessage &message) override;
    void setProgress(int percent) override;
    void setStatus(const BilingualText &status) override;
    void closeWindow() override { }
    void transferEnded(bool completed) override;

signals:
    void changed();
    void ended(TaskRun::End end);

private:
    class Link;
    void noteIdentified();
    void finish(End end);

    QString device_;
    std::unique_ptr<LinkExchange> exchange_;
    Attempts mode_;
    Link *link_;
    bool halted_ = false;
    bool finished_ = false;
    bool completed_ = false;
    bool identified_ = false;
    int attempts_ = 0;
    int percent_ = 0;
    BilingualText status_;
    BilingualText error_;
    QElapsedTimer clock_;
};
