#include "PortSetupWindow.h"

#include "Globals.h"
#include "Language.h"
#include "PortBinding.h"
#include "PortWatch.h"
#include "SessionState.h"
#include "SystemPortSource.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

constexpr int PortNameRole = Qt::UserRole;
constexpr int ChineseRole = Qt::UserRole + 1;
constexpr int EnglishRole = Qt::UserRole + 2;

} // namespace

PortSetupWindow::PortSetupWindow()
    : ChildWindow(WindowId::PortSetup),
      frame_(new QGroupBox(this)),
      group_(new QButtonGroup(this)),
      portsLabel_(new QLabel(this)),
      ports_(new QListWidget(this)),
      deviceLabel_(new QLabel(this)),
      device_(new QLineEdit(this)),
      ok_(new QPushButton(this)),
      cancel_(new QPushButton(this))
{
    setObjectName(QStringLiteral("Form_setup"));
    frame_->setObjectName(QStringLiteral("Frame1"));
    portsLabel_->setObjectName(QStringLiteral("Label_ports"));
    ports_->setObjectName(QStringLiteral("List_ports"));
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
    portsLabel_->setBuddy(ports_);
    deviceLabel_->setBuddy(device_);
    // The keys go as the eye reads: the numbers, the ports, the device, the
    // buttons.
    setTabOrder(options_[PortChoices - 1], ports_);
    setTabOrder(ports_, device_);
    setTabOrder(device_, ok_);
    setTabOrder(ok_, cancel_);

    auto *deviceRow = new QHBoxLayout;
    deviceRow->addWidget(deviceLabel_);
    deviceRow->addWidget(device_, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame_);
    layout->addWidget(portsLabel_);
    layout->addWidget(ports_, 1);
    layout->addLayout(deviceRow);
    layout->addLayout(buttons);

    connect(group_, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            showDevice();
    });
    // Choosing a port from the list puts it into the device field, which
    // the number takes on Confirm; typing a port that is listed shows it
    // chosen there.
    connect(ports_, &QListWidget::currentItemChanged, this, [this](QListWidgetItem *item) {
        if (item && !item->data(PortNameRole).toString().isEmpty()) {
            device_->setText(item->data(PortNameRole).toString());
            deviceEdited_ = true;
        }
    });
    connect(ports_, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        if (!item->data(PortNameRole).toString().isEmpty())
            accept();
    });
    connect(device_, &QLineEdit::textEdited, this, [this](const QString &text) {
        deviceEdited_ = true;
        selectListed(text);
    });
    connect(device_, &QLineEdit::returnPressed, this, &PortSetupWindow::accept);
    connect(ok_, &QPushButton::clicked, this, &PortSetupWindow::accept);
    connect(cancel_, &QPushButton::clicked, this, [this] { unload(); });
    setEscapeButton(cancel_);

    // The list follows cables plugged in and pulled out while it is open.
    connect(&PortWatch::instance(), &PortWatch::portsChanged, this,
            [this](const QList<PortEntry> &ports) {
                if (!isLoaded())
                    return;
                listPorts(ports);
                showDevices();
                // A device the user has not touched follows the list (on
                // Linux a number stands for the n-th port listed).
                if (!deviceEdited_)
                    showDevice();
            });
}

void PortSetupWindow::applyTexts()
{
    setWindowTitle(Texts("通讯端口设置", "Communication Port Setup"));
    frame_->setTitle(Texts("端口设置", "Port Setup"));
    portsLabel_->setText(Texts("本机现有的串口：", "Serial ports on this computer:"));
    ports_->setAccessibleName(Texts("本机现有的串口", "Serial ports on this computer"));
    ports_->setAccessibleDescription(Texts("选中的端口填入设备栏，确定后用于所选的 COM 号",
                                           "The port chosen goes into the device field and, on "
                                           "Confirm, to the COM number chosen above"));
    deviceLabel_->setText(Texts("设备：", "Device:"));
    device_->setAccessibleName(Texts("设备", "Device"));
    device_->setPlaceholderText(HostPortPlatform() == PortPlatform::Windows
                                    ? Texts("例如 COM12", "e.g. COM12")
                                    : Texts("例如 /dev/ttyUSB0", "e.g. /dev/ttyUSB0"));
    ok_->setText(Texts("确 定", "Confirm"));
    cancel_->setText(Texts("取 消", "Cancel"));
    for (int row = 0; row < ports_->count(); ++row) {
        QListWidgetItem *item = ports_->item(row);
        item->setText(IsChinese ? item->data(ChineseRole).toString()
                                : item->data(EnglishRole).toString());
    }
}

QRect PortSetupWindow::placement(const FrameSizes &sizes) const
{
    const QSize inner = sizes.inner;
    return centred(sizes, QSize(inner.width() / 2, int(inner.height() / 1.8)), 500);
}

void PortSetupWindow::onLoad()
{
    PortWatch::instance().watch(this);
    listPorts(PresentPorts());
    group_->setExclusive(false);
    for (QRadioButton *option : options_)
        option->setChecked(false);
    group_->setExclusive(true);
    if (PortNumber >= 1 && PortNumber <= PortChoices) {
        options_[PortNumber - 1]->setChecked(true);
        options_[PortNumber - 1]->setFocus(); // the keys start at the port chosen
    }
    showDevices();
    showDevice();
}

void PortSetupWindow::onUnload() { PortWatch::instance().unwatch(this); }

// Beside each number the device it stands for, where that is not the
// number's own name.
void PortSetupWindow::showDevices()
{
    for (int i = 0; i < PortChoices; ++i) {
        const QString device = DeviceForPort(i + 1);
        const bool differs = PortNumberLabel(i + 1) != options_[i]->text();
        devices_[i]->setText(differs ? QStringLiteral(" (%1)").arg(device) : QString());
        // An empty label would be read out by the frame's title.
        devices_[i]->setVisible(differs);
        // Heard with the port's name, as the device is seen beside it.
        options_[i]->setAccessibleDescription(differs ? device : QString());
    }
}

void PortSetupWindow::listPorts(const QList<PortEntry> &ports)
{
    present_ = ports;
    const QSignalBlocker quiet(ports_);
    ports_->clear();
    for (const PortEntry &port : ports) {
        const BilingualText line = PortLine(port, HostPortPlatform());
        auto *item = new QListWidgetItem(line.text(), ports_);
        item->setData(PortNameRole, port.name);
        item->setData(ChineseRole, line.chinese);
        item->setData(EnglishRole, line.english);
    }
    if (ports.isEmpty()) {
        const BilingualText none{QStringLiteral("未找到串口（可在下面的设备栏输入名称）"),
                                 QStringLiteral("No serial port found (type its name into the "
                                                "device field below)")};
        auto *item = new QListWidgetItem(none.text(), ports_);
        item->setData(ChineseRole, none.chinese);
        item->setData(EnglishRole, none.english);
        item->setFlags(Qt::ItemIsEnabled);
    }
    selectListed(device_->text());
}

void PortSetupWindow::selectListed(const QString &name)
{
    const QSignalBlocker quiet(ports_);
    const PortEntry *port = FindPort(present_, ResolvePortLink(name), HostPortPlatform());
    ports_->setCurrentItem(nullptr);
    ports_->clearSelection();
    for (int row = 0; port && row < ports_->count(); ++row)
        if (ports_->item(row)->data(PortNameRole).toString() == port->name)
            ports_->setCurrentRow(row);
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
    QString device = n > 0 ? DeviceForPort(n) : QString();
    // A number whose port is not there, with exactly one USB cable present:
    // the cable is offered, Confirm takes it.
    if (n > 0 && !PortExists(device))
        if (const std::optional<PortEntry> cable = SoleUsbCable(present_))
            device = cable->name;
    device_->setText(device);
    deviceEdited_ = false;
    selectListed(device);
}

void PortSetupWindow::accept()
{
    const int n = selectedPort();
    if (n > 0) {
        SessionState::instance().setPort(n);
        // The port typed or chosen binds this number; clearing the field
        // goes back to the port the number stands for by itself.
        const QString typed = device_->text().trimmed();
        if (typed != DeviceForPort(n))
            BindPort(n, typed.isEmpty() || SamePort(typed, DefaultDeviceForPort(n)) ? QString()
                                                                                    : typed);
    }
    if (PortErrorFlag) {
        // The last opening failed: stay, so the user can try another port.
        onLoad();
        return;
    }
    unload();
}
