#include "Transfer.h"

#include "CliSupport.h"
#include "Globals.h"
#include "PortBinding.h"
#include "ReadExchange.h"
#include "SerialLink.h"
#include "SessionState.h"
#include "VerifyExchange.h"
#include "WritePreparation.h"

#include <QEventLoop>
#include <functional>

namespace {

// What a transfer window shows, as console output. Messages are modal boxes
// in the window; here a message before the end of a completed transfer is an
// error and always printed, the completion notice only when not quiet.
class ConsoleView : public LinkView {
public:
    explicit ConsoleView(ProgressOutput &progress) : progress_(progress) { }

    std::function<void()> onEnded;
    bool ended() const { return ended_; }
    bool completed() const { return completed_; }

    void showMessage(const PromptMessage &message) override
    {
        if (completed_ && progress_.style() == ProgressOutput::Style::Quiet)
            return;
        progress_.breakLine();
        PrintError(message.text.text());
    }
    void setProgress(int percent) override { progress_.setPercent(percent); }
    void setStatus(const BilingualText &status) override
    {
        status_ = status.text();
        progress_.setStatus(status_);
    }
    void closeWindow() override { }
    void transferEnded(bool completed) override
    {
        if (ended_)
            return;
        completed_ = completed;
        if (completed) {
            // The engine has already set the final status. A console run
            // ends at 100%; the write window's bar stops at 99 as it closes.
            progress_.setPercent(100);
            progress_.setStatus(status_);
        }
        progress_.breakLine();
        ended_ = true;
        if (onEnded)
            onEnded();
    }

private:
    ProgressOutput &progress_;
    bool ended_ = false;
    bool completed_ = false;
    QString status_;
};

} // namespace

namespace {

// The device --port named, when it named one rather than a number.
QString &NamedDevice()
{
    static QString device;
    return device;
}

} // namespace

void UsePort(const QString &device)
{
    bool isNumber = false;
    const int n = device.toInt(&isNumber);
    if (isNumber && n >= 1 && n <= PortChoices) {
        BindPort(n, QString());
        SessionState::instance().setPort(n);
        NamedDevice().clear();
        return;
    }
    SessionState::instance().setPort(1);
    BindPort(PortNumber, device);
    NamedDevice() = device;
}

void UsePortOn(SerialLink &link)
{
    if (!NamedDevice().isEmpty())
        link.setDevice(NamedDevice());
}

namespace {

TransferResult Run(LinkExchange &exchange, ProgressOutput::Style style)
{
    ProgressOutput progress(style);
    ConsoleView view(progress);
    SerialLink link(exchange, view);
    UsePortOn(link);
    QEventLoop loop;
    view.onEnded = [&loop] { loop.quit(); };

    RadioLink &engine = link.engine();
    engine.windowOpened();
    engine.startPressed();
    if (!view.ended()) {
        // The write preparation refuses before anything is opened or sent.
        if (!engine.busy())
            return TransferResult::Refused;
        loop.exec();
    }
    return view.completed() ? TransferResult::Completed : TransferResult::Failed;
}

} // namespace

TransferResult RunRead(ProgressOutput::Style style, ImageTable &image)
{
    ReadExchange read;
    const TransferResult result = Run(read, style);
    if (result == TransferResult::Completed)
        StoreBlocks(read.blocks(), image);
    return result;
}

TransferResult RunWrite(ProgressOutput::Style style, ImageTable &image)
{
    WriteExchange write(
        [&image](WriteBlocks &blocks) { return PrepareWriteBlocksOf(image, blocks); });
    return Run(write, style);
}

TransferResult RunVerifyRead(ProgressOutput::Style style, ImageTable &radio)
{
    VerifyExchange verify;
    const TransferResult result = Run(verify, style);
    if (result == TransferResult::Completed)
        radio = VerifiedRows(verify.blocks());
    return result;
}
