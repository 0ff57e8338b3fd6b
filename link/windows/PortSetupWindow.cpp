#include "PortSetupWindow.h"

#include "Globals.h"
#include "Language.h"
#include "PortBinding.h"
#include "SessionState.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

PortSetupWindow::PortSetupWindow()
    : ChildWindow(WindowId::PortSetup),
      frame_(new QGroupBox(this)),
      group_(new QButtonGroup(this)),
      deviceLabel_(new QLabel(this)),
      device_(new QLineEdit(this)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this))
{
    setObjectName(QStringLiteral("Form_setup"));
    frame_->setObjectName(QStringLiteral("Frame1"));
    deviceLabel_->setObjectName(QStringLiteral("Label_device"));
    device_->setObjectName(QStringLiteral("Text_device"));
    ok_->setObjectName(QStringLiteral("Command_ok"));
    cancel_->setObjectName(QStringLiteral("Command1"));

    auto *grid = new QGridLayout(frame_);
    for (int i = 0; i < PortChoices; ++i) {
        options_[i] = new QRadioButton(QStringLiteral("COM%1").arg(i + 1), frame_);
        options_[i]->setObjectName(QStringLiteral("Option%1").arg(i + 1));
        devices_[i] = new QLabel(frame_);
        devices_[i]->setObjectName(QStringLiteral("Label_device%1").arg(i + 1));
        group_->addButton(options_[i], i + 1);
        // Two columns of four, each option with its device beside it.
        grid->addWidget(options_[i], i % 4, (i / 4) * 2);
        grid->addWidget(devices_[i], i % 4, (i / 4) * 2 + 1);
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    deviceLabel_->setBuddy(device_);
    // The keys go as the eye reads: the ports, the device, the buttons.
    setTabOrder(options_[PortChoices - 1], device_);
    setTabOrder(device_, ok_);
    setTabOrder(ok_, cancel_);

    auto *deviceRow = new QHBoxLayout;
    deviceRow->addWidget(deviceLabel_);
    deviceRow->addWidget(device_, 1);
#ifdef Q_OS_WIN
    // Port N is COMN there; there is nothing to bind.
    deviceLabel_->hide();
    device_->hide();
#endif

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame_, 1);
    layout->addLayout(deviceRow);
    layout->addLayout(buttons);

    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            showDevice();
    });
    connect(ok_, &QPushButton::clicked, this, &PortSetupWindow::accept);
    connect(cancel_, &QPushButton::clicked, this, [this] { unload(); });
    setEscapeButton(cancel_);
}

void PortSetupWindow::applyTexts()
{
    setWindowTitle(Texts("通讯端口设置", "Communication Port Setup"));
    frame_->setTitle(Texts("端口设置", "Port Setup"));
    deviceLabel_->setText(Texts("设备：", "Device:"));
    ok_->setText(Texts("确 定", "Confirm"));
    cancel_->setText(Texts("取 消", "Cancel"));
}

QRect PortSetupWindow::placement(const FrameSizes &sizes) const
{
    const QSize inner = sizes.inner;
    return centred(sizes, QSize(inner.width() / 2, int(inner.height() / 1.8)), 500);
}

void PortSetupWindow::onLoad()
{
    for (int i = 0; i < PortChoices; ++i) {
        const QString device = DeviceForPort(i + 1);
        devices_[i]->setText(device.isEmpty() ? QString() : QStringLiteral(" (%1)").arg(device));
        // An empty label would be read out by the frame's title.
        devices_[i]->setVisible(!device.isEmpty());
        // Heard with the port's name, as the device is seen beside it.
        options_[i]->setAccessibleDescription(device);
    }
    group_->setExclusive(false);
    for (QRadioButton *option : options_)
        option->setChecked(false);
    group_->setExclusive(true);
    if (PortNumber >= 1 && PortNumber <= PortChoices) {
        options_[PortNumber - 1]->setChecked(true);
        options_[PortNumber - 1]->setFocus(); // the keys start at the port chosen
    }
    showDevice();
}

int PortSetupWindow::selectedPort() const
{
    for (int n = 1; n <= PortChoices; ++n)
        if (options_[n - 1]->isChecked())
            return n;
    return 0;
}

void PortSetupWindow::showDevice()
{
    const int n = selectedPort();
    device_->setText(n > 0 ? DeviceForPort(n) : QString());
}

void PortSetupWindow::accept()
{
    const int n = selectedPort();
    if (n > 0) {
        SessionState::instance().setPort(n);
#ifndef Q_OS_WIN
        // A typed path binds this number; clearing the field goes back to
        // the device the system lists for it.
        const QString typed = device_->text().trimmed();
        if (typed != DeviceForPort(n))
            BindPort(n, typed == DefaultDeviceForPort(n) ? QString() : typed);
#endif
    }
    if (PortErrorFlag) {
        // The last opening failed: stay, so the user can try another port.
        onLoad();
        return;
    }
    unload();
}
