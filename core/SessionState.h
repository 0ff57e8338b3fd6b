// What the user has chosen beside the image: the channel the grid and the
// channel edit window edit, the model and the band the editors check
// against, the serial port and the interface language. The globals that
// hold it (CurrentChannel, ModelIndex, BandLowMHz, BandHighMHz, PortNumber,
// IsChinese) can be read anywhere but
// are written only here, and every change is announced, so windows and
// status panels follow it instead of looking it up.
//
// Like ImageChanges for the image, this is the one path by which these
// change; nothing is emitted when a value stays as it was.
#pragma once

#include <QObject>

class SessionState : public QObject {
    Q_OBJECT
public:
    static SessionState &instance();

    // CurrentChannel, 1..128.
    void setCurrentChannel(int n);
    // BandLowMHz..BandHighMHz, the limits of every frequency check.
    void setBand(double low, double high);
    // ModelIndex, and the band the status bar names for it: the model
    // select window's choice, or the model an undone band record belongs to.
    void setModel(int index, double low, double high);
    // PortNumber, 1..8.
    void setPort(int n);
    // IsChinese: the language every text is shown in from now on. Windows
    // already showing texts are rebuilt by the language switch.
    void setChinese(bool chinese);

    // The band last given with setModel.
    double modelLowMHz() const { return modelLow_; }
    double modelHighMHz() const { return modelHigh_; }

    // The start-up state: Chinese, channel 1, model 0 with its band, port 1.
    void reset();

signals:
    void currentChannelChanged(int n);
    void bandChanged(double low, double high);
    void modelChanged(int index, double low, double high);
    void portChanged(int n);
    void languageChanged(bool chinese);

private:
    SessionState() = default;
    double modelLow_ = 0;
    double modelHigh_ = 0;
};
