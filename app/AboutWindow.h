// frmAbout: product title, version line, description and legal warning in
// the current language, and a button that starts the system-information
// tool.
#pragma once

#include "ChildWindow.h"

class QLabel;
class QPushButton;

class AboutWindow : public ChildWindow {
    Q_OBJECT
public:
    AboutWindow();

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;

private:
    void startSystemInfo();

    QLabel *title_;
    QLabel *version_;
    QLabel *description_;
    QLabel *disclaimer_;
    QPushButton *ok_;
    QPushButton *systemInfo_;
};
