// The read window Form_Comm_Read and the write window Form_Comm_Write: the
// same controls around a radio link, each with its own exchange. The
// windows keep the shared globals: the read stores a completed read into
// RadioData, the write prepares it, and both set PortErrorFlag.
#pragma once

#include "ChildWindow.h"
#include "Language.h"
#include "RadioLink.h"

#include <memory>

class QLabel;
class QProgressBar;
class QPushButton;
class SerialLink;
class ReadExchange;

struct TransferCaptions {
    const char *name;
    BilingualText title;
    const char *startName;
    BilingualText start;
    // What a screen reader calls the progress bar.
    BilingualText progress;
};

class TransferWindow : public ChildWindow, public LinkView {
    Q_OBJECT
public:
    RadioLink &engine();

    // LinkView
    void showMessage(const PromptMessage &message) override;
    void setProgress(int percent) override;
    void setStatus(const BilingualText &status) override;
    void closeWindow() override;
    void portOpenTried(bool opened) override;

protected:
    TransferWindow(WindowId id, const TransferCaptions &captions,
                   std::unique_ptr<LinkExchange> exchange);
    ~TransferWindow() override;

    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;
    bool canClose() override;

private:
    const TransferCaptions &captions_;
    std::unique_ptr<LinkExchange> exchange_;
    SerialLink *link_;
    QLabel *status_;
    QProgressBar *progress_;
    QPushButton *start_;
    QPushButton *cancel_;
    QPushButton *help_;
};

class ReadWindow : public TransferWindow {
    Q_OBJECT
public:
    ReadWindow();
    void transferEnded(bool completed) override;

private:
    explicit ReadWindow(ReadExchange *read);

    ReadExchange *read_;
};

class WriteWindow : public TransferWindow {
    Q_OBJECT
public:
    WriteWindow();
    void transferEnded(bool completed) override;

protected:
    void onUnload() override;

private:
    bool offerVerify_ = false;
};
