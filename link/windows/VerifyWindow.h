// Form_Verify: reads blocks 0..239 back from the radio and lists what
// differs from the image in memory as a write would send it. The image is
// never changed. After a completed write it opens by itself, ready to start
// with one click.
#pragma once

#include "ChildWindow.h"
#include "RadioLink.h"
#include "VerifyExchange.h"

class DifferenceTable;
class QLabel;
class QProgressBar;
class QPushButton;
class SerialLink;

class VerifyWindow : public ChildWindow, public LinkView {
    Q_OBJECT
public:
    VerifyWindow();
    ~VerifyWindow() override;

    RadioLink &engine();
    // Opens the window after a completed write, saying so.
    static void OfferAfterWrite();
    // What the radio held at the last completed verify is no longer known
    // (a write has changed it).
    static void ForgetLastRead();

    // LinkView
    void showMessage(const PromptMessage &message) override;
    void setProgress(int percent) override;
    void setStatus(const BilingualText &status) override;
    void closeWindow() override;
    void portOpenTried(bool opened) override;
    void transferEnded(bool completed) override;

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;
    bool canClose() override;

private:
    void start();
    void showResult();

    VerifyExchange exchange_;
    SerialLink *link_;
    QLabel *status_;
    QProgressBar *progress_;
    QLabel *result_;
    DifferenceTable *table_;
    QPushButton *start_;
    QPushButton *close_;
};
