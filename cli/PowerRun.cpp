#include "PowerRun.h"

#include "CliSupport.h"
#include "Globals.h"
#include "Language.h"
#include "SerialLink.h"
#include "Transfer.h"

#include <QEventLoop>
#include <functional>

namespace {

// What the power window shows, for the console: its messages are errors.
// The window closing (the link watch found the link down) and a failed
// opening end the run.
class PowerConsole : public LinkView {
public:
    std::function<void()> onLinked;
    std::function<void()> onEnded;
    bool messageShown = false;

    void showMessage(const PromptMessage &message) override
    {
        messageShown = true;
        PrintError(message.text.text());
    }
    void setProgress(int) override { }
    void setStatus(const BilingualText &) override { }
    void closeWindow() override { onEnded(); }
    void transferEnded(bool completed) override
    {
        if (!completed)
            onEnded();
    }
    void linked() override { onLinked(); }
};

} // namespace

bool RunPower(ImageTable &image, const std::optional<PowerLevels> &set, PowerLevels &reported)
{
    PowerExchange power({[&image, &reported](const PowerLevels &levels) {
                             reported = levels;
                             // As the window's sliders, which start at 0, take them.
                             StorePowerLevels(image, levels, PowerLevels{});
                         },
                         [&image] { return CalibrationBlock(image); }});
    PowerConsole view;
    SerialLink link(power, view);
    UsePortOn(link);
    RadioLink &engine = link.engine();

    QEventLoop loop;
    bool finished = false;
    bool succeeded = false;
    bool setSent = false;
    auto finish = [&](bool success) {
        if (finished)
            return;
        finished = true;
        succeeded = success;
        loop.quit();
    };
    view.onEnded = [&] { finish(false); };
    view.onLinked = [&] {
        // The first acknowledge answers the frame with the radio's own
        // values; the new ones go as one frame, like moves of the sliders.
        if (set && !setSent) {
            setSent = true;
            StorePowerLevels(image, *set, reported);
            engine.sendNow();
            return;
        }
        finish(true);
    };

    engine.windowOpened();
    if (!finished)
        loop.exec();
    engine.closeRequested();
    if (!succeeded && !view.messageShown)
        PrintError(Texts("与对讲机联络失败 ！", "Fail connect with transceiver."));
    return succeeded;
}
