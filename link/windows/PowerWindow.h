// The power-adjust window Form_Adjust_Txp: three sliders for the radio's
// low, mid and high transmit power, live. It connects as it opens, shows
// the values the radio reports, and sends the power block each time a
// slider moves; it closes itself as soon as the link is down. Moves are
// stored into row 240 through the change path and stay there after it
// closes.
#pragma once

#include "ChildWindow.h"
#include "PowerExchange.h"
#include "RadioLink.h"

#include <array>

class QLabel;
class QPushButton;
class QScrollBar;
class SerialLink;

class PowerWindow : public ChildWindow, public LinkView {
    Q_OBJECT
public:
    PowerWindow();
    ~PowerWindow() override;

    RadioLink &engine();

    // LinkView
    void showMessage(const PromptMessage &message) override;
    void setProgress(int) override { }
    void setStatus(const BilingualText &) override { }
    void closeWindow() override;
    void portOpenTried(bool opened) override;

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;
    bool canClose() override;

private:
    void radioReported(const PowerLevels &levels);
    void sliderMoved(int level, int value);

    PowerExchange exchange_;
    SerialLink *link_;
    std::array<QScrollBar *, Calibration::LevelCount> sliders_{};
    std::array<QLabel *, Calibration::LevelCount> titles_{};
    std::array<QLabel *, Calibration::LevelCount> values_{};
    QPushButton *close_ = nullptr;
    QPushButton *help_ = nullptr;
};
