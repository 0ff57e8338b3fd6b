// Form_setup: which of COM1..COM8 the cable is on, and (outside Windows)
// which serial device each number stands for.
#pragma once

#include "ChildWindow.h"

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class PortSetupWindow : public ChildWindow {
    Q_OBJECT
public:
    PortSetupWindow();

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;

private:
    int selectedPort() const;
    void showDevice();
    void accept();

    QGroupBox *frame_;
    QButtonGroup *group_;
    std::array<QRadioButton *, 8> options_{};
    std::array<QLabel *, 8> devices_{};
    QLabel *deviceLabel_;
    QLineEdit *device_;
    QPushButton *ok_;
    QPushButton *cancel_;
};
