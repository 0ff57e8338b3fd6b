// The read window Form_Comm_Read and the write window Form_Comm_Write: the
// same controls around a RadioLink in read or write mode.
#pragma once

#include "ChildWindow.h"
#include "RadioLink.h"

class QLabel;
class QProgressBar;
class QPushButton;
class SerialLink;

class TransferWindow : public ChildWindow, public LinkView {
    Q_OBJECT
public:
    explicit TransferWindow(LinkMode mode);

    RadioLink &engine();

    // LinkView
    void showMessage(const LinkMessage &message) override;
    void setProgress(int percent) override;
    void setStatus(const LinkText &status) override;
    void closeWindow() override;

protected:
    void applyTexts() override;
    QRect placement() const override;
    void onLoad() override;
    bool canClose() override;

private:
    LinkMode mode_;
    SerialLink *link_;
    QLabel *status_;
    QProgressBar *progress_;
    QPushButton *start_;
    QPushButton *cancel_;
    QPushButton *help_;
};
