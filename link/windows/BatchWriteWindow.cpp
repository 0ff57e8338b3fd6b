#include "BatchWriteWindow.h"

#include "Fleet.h"
#include "FleetJobs.h"
#include "Globals.h"
#include "Language.h"
#include "Messages.h"
#include "PortBinding.h"
#include "SpokenStatus.h"
#include "SystemPortSource.h"
#include "Windows.h"
#include "WritePreparation.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>

namespace {

constexpr int DeviceRole = Qt::UserRole;
// The row's label in either language, for the language switch.
constexpr int ChineseRole = Qt::UserRole + 1;
constexpr int EnglishRole = Qt::UserRole + 2;

// What the user chose survives the window's reload (a language switch) and
// its next opening in this run: typed devices, ticks, the line mode.
struct Choices {
    QStringList added;
    QStringList ticked;
    bool each = false;
    bool verify = false;
};
Choices &Remembered()
{
    static Choices choices;
    return choices;
}

} // namespace

BatchWriteWindow::BatchWriteWindow()
    : ChildWindow(WindowId::BatchWrite),
      portsLabel_(new QLabel(this)),
      table_(new QTableWidget(this)),
      device_(new QLineEdit(this)),
      add_(new QPushButton(this)),
      refresh_(new QPushButton(this)),
      each_(new QCheckBox(this)),
      verify_(new QCheckBox(this)),
      count_(new QLabel(this)),
      status_(new QLabel(this)),
      start_(new QPushButton(this)),
      stop_(new QPushButton(this)),
      close_(new QPushButton(this))
{
    setObjectName(QStringLiteral("Form_Batch_Write"));
    portsLabel_->setObjectName(QStringLiteral("Label_ports"));
    table_->setObjectName(QStringLiteral("Table_ports"));
    device_->setObjectName(QStringLiteral("Text_device"));
    add_->setObjectName(QStringLiteral("Command_Add"));
    refresh_->setObjectName(QStringLiteral("Command_Refresh"));
    each_->setObjectName(QStringLiteral("Check_each"));
    verify_->setObjectName(QStringLiteral("Check_verify"));
    count_->setObjectName(QStringLiteral("Label_count"));
    status_->setObjectName(QStringLiteral("Label_status"));
    start_->setObjectName(QStringLiteral("Command_Start"));
    stop_->setObjectName(QStringLiteral("Command_Stop"));
    close_->setObjectName(QStringLiteral("Command_Cancel"));

    table_->setColumnCount(ColumnCount);
    table_->verticalHeader()->hide();
    table_->setSelectionMode(QAbstractItemView::NoSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Arrows move through the ports, Space ticks one; Tab goes on.
    table_->setTabKeyNavigation(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    table_->horizontalHeader()->setSectionResizeMode(ResultColumn, QHeaderView::Stretch);

    auto *addRow = new QHBoxLayout;
    addRow->addWidget(device_, 1);
    addRow->addWidget(add_);
    addRow->addWidget(refresh_);

    auto *countRow = new QHBoxLayout;
    countRow->addWidget(each_);
    countRow->addWidget(verify_);
    countRow->addStretch();
    countRow->addWidget(count_);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {start_, stop_, close_}) {
        button->setMinimumWidth(90);
        buttons->addWidget(button);
        buttons->addStretch();
    }

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(portsLabel_);
    layout->addWidget(table_, 1);
    layout->addLayout(addRow);
    layout->addLayout(countRow);
    layout->addWidget(status_);
    layout->addLayout(buttons);

    connect(add_, &QPushButton::clicked, this, &BatchWriteWindow::addTypedPort);
    connect(device_, &QLineEdit::returnPressed, this, &BatchWriteWindow::addTypedPort);
    connect(refresh_, &QPushButton::clicked, this, &BatchWriteWindow::listPorts);
    connect(start_, &QPushButton::clicked, this, &BatchWriteWindow::start);
    connect(stop_, &QPushButton::clicked, this, &BatchWriteWindow::stop);
    connect(close_, &QPushButton::clicked, this, [this] { unload(); });
    setEscapeButton(close_);
    setRunning(false);
}

// The fleet goes first: its links must not outlive the window's rows.
BatchWriteWindow::~BatchWriteWindow() { delete fleet_; }

bool BatchWriteWindow::running() const { return fleet_ && fleet_->running(); }

void BatchWriteWindow::applyTexts()
{
    setWindowTitle(Texts("批量写入", "Write to several radios"));
    portsLabel_->setText(Texts(
        "勾选接有对讲机的串口，把当前数据同时写入每一台：",
        "Tick the serial ports with a radio; the data in memory is written into each at once:"));
    table_->setHorizontalHeaderLabels({Texts("端口", "Port"), Texts("进度", "Progress"),
                                       Texts("结果", "Result"), Texts("用时", "Time"),
                                       Texts("尝试次数", "Attempts"), QString()});
    device_->setPlaceholderText(
        HostPortPlatform() == PortPlatform::Windows
            ? Texts("其他串口，例如 COM12", "Another serial port, e.g. COM12")
            : Texts("其他串口设备，例如 /dev/ttyUSB3", "Another serial device, e.g. /dev/ttyUSB3"));
    table_->setAccessibleName(Texts("端口", "Ports"));
    table_->setAccessibleDescription(
        Texts("空格键勾选或取消勾选当前端口", "Space ticks or clears the current port"));
    device_->setAccessibleName(Texts("其他串口设备", "Another serial device"));
    device_->setAccessibleDescription(Texts("回车添加", "Enter adds it"));
    add_->setText(Texts("添加", "Add"));
    refresh_->setText(Texts("刷新端口", "Refresh ports"));
    each_->setText(Texts("流水线：每个端口逐台写入，取下一台换下一台，直到停止",
                         "Production line: on each port one radio after another, until stopped"));
    verify_->setText(Texts("写入后校验每一台", "Verify each radio after writing"));
    start_->setText(Texts("开始", "Start"));
    stop_->setText(stopping_ ? Texts("立即中断", "Break off now") : Texts("停止", "Stop"));
    close_->setText(Texts("关闭", "Close"));
    for (int row = 0; row < table_->rowCount(); ++row) {
        QTableWidgetItem *port = table_->item(row, PortColumn);
        port->setText(IsChinese ? port->data(ChineseRole).toString()
                                : port->data(EnglishRole).toString());
        if (auto *retry = qobject_cast<QPushButton *>(table_->cellWidget(row, RetryColumn)))
            nameRetry(retry, row);
        nameProgress(row);
    }
    showCount();
}

QRect BatchWriteWindow::placement(const FrameSizes &sizes) const
{
    const QSize inner = sizes.inner;
    return centred(sizes, QSize(inner.width() * 3 / 4, inner.height() * 3 / 4));
}

void BatchWriteWindow::onLoad()
{
    listPorts();
    for (const QString &device : Remembered().ticked)
        if (const int row = rowOf(device); row >= 0)
            table_->item(row, PortColumn)->setCheckState(Qt::Checked);
    each_->setChecked(Remembered().each);
    verify_->setChecked(Remembered().verify);
    status_->clear();
}

void BatchWriteWindow::onUnload()
{
    Remembered().ticked.clear();
    for (int row = 0; row < table_->rowCount(); ++row)
        if (table_->item(row, PortColumn)->checkState() == Qt::Checked)
            Remembered().ticked << table_->item(row, PortColumn)->data(DeviceRole).toString();
    Remembered().each = each_->isChecked();
    Remembered().verify = verify_->isChecked();
}

bool BatchWriteWindow::canClose()
{
    if (!running())
        return true;
    ShowWarning(this,
                BilingualText{QStringLiteral("正在进行读写操作,请勿关窗口 ！,"),
                              QStringLiteral("Read-write operating，don't close the window. ,")});
    return false;
}

// The ports the computer has, each with what it is, then those bound to a
// port number by hand and those typed here; each port once, however its
// name was written. Ticks survive a refresh.
void BatchWriteWindow::listPorts()
{
    if (running())
        return;
    QStringList ticked;
    for (int row = 0; row < table_->rowCount(); ++row)
        if (table_->item(row, PortColumn)->checkState() == Qt::Checked)
            ticked << table_->item(row, PortColumn)->data(DeviceRole).toString();
    table_->setRowCount(0);
    const PortPlatform platform = HostPortPlatform();
    for (const PortChoice &choice :
         PortsToChoose(PresentPorts(), BoundDevices() + Remembered().added + ticked, platform,
                       ResolvePortLink)) {
        const BilingualText label = choice.entry ? PortLine(*choice.entry, platform)
                                                 : BilingualText{choice.name, choice.name};
        const int row = addPortRow(choice.name, label);
        if (std::any_of(ticked.begin(), ticked.end(), [&](const QString &t) {
                return t == choice.name || SamePort(t, choice.name);
            }))
            table_->item(row, PortColumn)->setCheckState(Qt::Checked);
    }
}

int BatchWriteWindow::addPortRow(const QString &device, const BilingualText &label)
{
    const int row = table_->rowCount();
    table_->insertRow(row);
    auto *item = new QTableWidgetItem(label.text());
    item->setData(DeviceRole, device);
    item->setData(ChineseRole, label.chinese);
    item->setData(EnglishRole, label.english);
    // Selectable (the table shows no selection): a screen reader then
    // follows the keyboard from port to port.
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(Qt::Unchecked);
    table_->setItem(row, PortColumn, item);
    auto *bar = new QProgressBar;
    bar->setRange(0, 100);
    bar->setValue(0);
    bar->setObjectName(QStringLiteral("ProgressBar_%1").arg(row));
    table_->setCellWidget(row, ProgressColumn, bar);
    nameProgress(row);
    for (int column : {ResultColumn, TimeColumn, AttemptsColumn})
        table_->setItem(row, column, new QTableWidgetItem);
    return row;
}

int BatchWriteWindow::rowOf(const QString &device) const
{
    for (int row = 0; row < table_->rowCount(); ++row)
        if (const QString listed = table_->item(row, PortColumn)->data(DeviceRole).toString();
            listed == device || SamePort(listed, device))
            return row;
    return -1;
}

void BatchWriteWindow::addTypedPort()
{
    const QString device = device_->text().trimmed();
    if (device.isEmpty() || running())
        return;
    // A name that names no port at all ("COM5:") gets a row too: its
    // write then says the port does not exist.
    int row = rowOf(device);
    if (row < 0)
        row = addPortRow(device, {device, device});
    if (!Remembered().added.contains(device))
        Remembered().added << device;
    table_->item(row, PortColumn)->setCheckState(Qt::Checked);
    device_->clear();
}

void BatchWriteWindow::start()
{
    if (running())
        return;
    QStringList devices;
    for (int row = 0; row < table_->rowCount(); ++row)
        if (table_->item(row, PortColumn)->checkState() == Qt::Checked)
            devices << table_->item(row, PortColumn)->data(DeviceRole).toString();
    if (devices.isEmpty()) {
        ShowWarning(this, BilingualText{QStringLiteral("请至少勾选一个串口。"),
                                        QStringLiteral("Tick at least one serial port.")});
        return;
    }
    // The same preparation and checks as the write window; every radio of
    // the run gets the image as it stands now, with what is typed.
    if (!Windows::CommitTyped())
        return;
    auto blocks = std::make_shared<WriteBlocks>();
    if (const auto refusal = PrepareWriteBlocks(*blocks)) {
        ShowWarning(this, *refusal);
        return;
    }
    delete fleet_;
    fleet_ = new Fleet;
    fleet_->setPorts(devices, WriteJob(blocks, verify_->isChecked()), each_->isChecked());
    connect(fleet_, &Fleet::changed, this, &BatchWriteWindow::showStation);
    connect(fleet_, &Fleet::recorded, this, &BatchWriteWindow::recorded);
    connect(fleet_, &Fleet::allFinished, this, &BatchWriteWindow::finished);
    for (int row = 0; row < table_->rowCount(); ++row) {
        qobject_cast<QProgressBar *>(table_->cellWidget(row, ProgressColumn))->setValue(0);
        for (int column : {ResultColumn, TimeColumn, AttemptsColumn})
            table_->item(row, column)->setText(QString());
        table_->removeCellWidget(row, RetryColumn);
    }
    stopping_ = false;
    setRunning(true);
    ShowStatus(status_, Texts("正在写入……", "Writing…"));
    fleet_->start();
    for (PortStation *station : fleet_->stations())
        showStation(station);
    showCount();
}

void BatchWriteWindow::stop()
{
    if (!running())
        return;
    if (!stopping_) {
        stopping_ = true;
        const QList<PortStation *> finishing = fleet_->finishAndStop();
        if (!finishing.isEmpty())
            ShowStatus(
                status_,
                Texts("正在停止：先写完正在写入的对讲机。再按“立即中断”会使其只写入一部分。",
                      "Stopping: the radios being written are finished first. \"Break off now\" "
                      "leaves them half written."));
        applyTexts();
        return;
    }
    fleet_->abort();
}

void BatchWriteWindow::showStation(PortStation *station)
{
    const int row = rowOf(station->device());
    if (row < 0)
        return;
    const PortRecord &r = station->current();
    qobject_cast<QProgressBar *>(table_->cellWidget(row, ProgressColumn))
        ->setValue(station->state() == PortStation::State::Transferring
                           || r.outcome == PortOutcome::Completed
                       ? r.percent
                   : r.written ? 100
                               : 0);
    QString text = StationStateText(*station).text();
    if (station->productionLine())
        text = QStringLiteral("#%1  ").arg(r.number) + text;
    table_->item(row, ResultColumn)->setText(text);
    // What a verify found, at the pointer over the result.
    QStringList found;
    for (const ImageDifference &d : r.differences)
        found << DifferenceLine(d);
    table_->item(row, ResultColumn)->setToolTip(found.join(u'\n'));
    // and for a screen reader, which never sees a tool tip
    table_->item(row, ResultColumn)->setData(Qt::AccessibleDescriptionRole, found.join(u'\n'));
    table_->item(row, TimeColumn)->setText(r.elapsedMs > 0 ? ElapsedText(r.elapsedMs) : QString());
    table_->item(row, AttemptsColumn)
        ->setText(r.attempts > 0 ? QString::number(r.attempts) : QString());
}

void BatchWriteWindow::recorded(const PortRecord &record)
{
    showCount();
    const int row = rowOf(record.device);
    PortStation *station = fleet_->station(record.device);
    if (row < 0 || !station || station->productionLine()
        || record.outcome == PortOutcome::Completed)
        return;
    // A failed radio can be tried again on its own, while the others go on.
    auto *retry = new QPushButton;
    retry->setObjectName(QStringLiteral("Command_Retry_%1").arg(row));
    nameRetry(retry, row);
    connect(retry, &QPushButton::clicked, this, [this, station, row] {
        if (!fleet_ || fleet_->station(station->device()) != station)
            return;
        table_->removeCellWidget(row, RetryColumn);
        stopping_ = false;
        setRunning(true);
        ShowStatus(status_, Texts("正在写入……", "Writing…"));
        station->retry();
        showCount();
    });
    table_->setCellWidget(row, RetryColumn, retry);
}

// A screen reader tells the rows' buttons and bars apart by their port.
void BatchWriteWindow::nameRetry(QPushButton *retry, int row)
{
    retry->setText(Texts("重试", "Retry"));
    retry->setAccessibleName(
        Texts("重试 %1", "Retry %1").arg(table_->item(row, PortColumn)->text()));
}

void BatchWriteWindow::nameProgress(int row)
{
    if (QWidget *bar = table_->cellWidget(row, ProgressColumn))
        bar->setAccessibleName(
            Texts("%1 进度", "Progress of %1").arg(table_->item(row, PortColumn)->text()));
}

void BatchWriteWindow::finished()
{
    setRunning(false);
    stopping_ = false;
    applyTexts();
    ShowStatus(status_, Texts("已结束。", "Finished."));
}

void BatchWriteWindow::showCount()
{
    const int written = fleet_ ? fleet_->completedCount() : 0;
    const int failed = fleet_ ? fleet_->failedCount() : 0;
    count_->setText(
        Texts("已写入 %1 台，失败 %2 台", "%1 written, %2 failed").arg(written).arg(failed));
}

void BatchWriteWindow::setRunning(bool running)
{
    start_->setEnabled(!running);
    stop_->setEnabled(running);
    each_->setEnabled(!running);
    verify_->setEnabled(!running);
    add_->setEnabled(!running);
    refresh_->setEnabled(!running);
    device_->setEnabled(!running);
    table_->setEnabled(true);
    for (int row = 0; row < table_->rowCount(); ++row) {
        QTableWidgetItem *item = table_->item(row, PortColumn);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable
                       | (running ? Qt::NoItemFlags : Qt::ItemIsUserCheckable));
    }
}
