// Form_setup: which of COM1..COM8 the cable is on, and which port each
// number stands for: chosen from the ports the computer has now (each
// named by what it is, the list following cables plugged in and pulled
// out) or typed (any COM number on Windows, any path elsewhere).
#pragma once

#include "ChildWindow.h"
#include "PortInventory.h"

#include <array>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
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
    void onUnload() override;

private:
    int selectedPort() const;
    void showDevices();
    void showDevice();
    void listPorts(const QList<PortEntry> &ports);
    void selectListed(const QString &name);
    void accept();

    QGroupBox *frame_;
    QButtonGroup *group_;
    std::array<QRadioButton *, 8> options_{};
    std::array<QLabel *, 8> devices_{};
    QLabel *portsLabel_;
    QListWidget *ports_;
    QLabel *deviceLabel_;
    QLineEdit *device_;
    QPushButton *ok_;
    QPushButton *cancel_;
    QList<PortEntry> present_;
    bool deviceEdited_ = false; // typed or chosen since the number was chosen
};
