#include "ChannelEditWindow.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

template<class T> T *Make(const char *name, QWidget *parent)
{
    auto *widget = new T(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// Enabled editors show the window colour, disabled ones (a blank channel)
// the button face.
void UseButtonFaceWhenDisabled(QWidget *widget)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Disabled, QPalette::Base,
                     palette.color(QPalette::Active, QPalette::Button));
    widget->setPalette(palette);
}

} // namespace

void ChannelEditWindow::build()
{
    makeControls();
    connectControls();
    layOut();
}

void ChannelEditWindow::makeControls()
{
    labelChannel_ = Make<QLabel>("Label_CHN", this);
    channelNumber_ = Make<QLineEdit>("Text_CHN", this);
    channelNumber_->setMaximumWidth(channelNumber_->fontMetrics().horizontalAdvance(u'0') * 6 + 12);
    scroll_ = Make<QScrollBar>("VScroll1", this);
    scroll_->setOrientation(Qt::Vertical);
    scroll_->setRange(0, 129);
    scroll_->setPageStep(1);
    // Taking the focus lets a field being typed in commit before the move.
    scroll_->setFocusPolicy(Qt::WheelFocus);
    scroll_->setFixedHeight(channelNumber_->sizeHint().height() * 3 / 2);

    labelReceive_ = Make<QLabel>("Label_RX_freq", this);
    receive_ = Make<QLineEdit>("Text_RX_Freq", this);
    labelTransmit_ = Make<QLabel>("Label_TX_freq", this);
    transmit_ = Make<QLineEdit>("Text_TX_Freq", this);
    labelDecode_ = Make<QLabel>("Label_Decode", this);
    decode_ = Make<QComboBox>("Combo_Decode", this);
    labelEncode_ = Make<QLabel>("Label_Encode", this);
    encode_ = Make<QComboBox>("Combo_Encode", this);
    labelPower_ = Make<QLabel>("Label_TXP", this);
    power_ = Make<QComboBox>("Combo_TXP", this);
    labelBandwidth_ = Make<QLabel>("Label_WN", this);
    bandwidth_ = Make<QComboBox>("Combo_WN", this);
    labelName_ = Make<QLabel>("Label_Name", this);
    name_ = Make<QLineEdit>("Text_Name", this);
    vox_ = Make<QCheckBox>("Check_VOX", this);
    busyLock_ = Make<QCheckBox>("Check_Bcl", this);
    scanAdd_ = Make<QCheckBox>("Check_Scan", this);
    txStop_ = Make<QCheckBox>("Check_TxStop", this);
    close_ = Make<QPushButton>("Command_Close", this);
    help_ = Make<QPushButton>("Command_Help", this);
    for (QPushButton *button : {close_, help_})
        button->setAutoDefault(false);

    for (QWidget *editor : std::initializer_list<QWidget *>{receive_, transmit_, name_, decode_,
                                                            encode_, power_, bandwidth_})
        UseButtonFaceWhenDisabled(editor);
    for (QObject *watched : std::initializer_list<QObject *>{
             channelNumber_, receive_, transmit_, name_, decode_, encode_, power_, bandwidth_})
        watched->installEventFilter(this);
}

// Channel number and scroll bar on top, the fields in two columns, the
// switches in a row, the buttons at the bottom; Tab goes the same way.
void ChannelEditWindow::layOut()
{
    labelChannel_->setBuddy(channelNumber_);
    auto *number = new QHBoxLayout;
    number->addWidget(labelChannel_);
    number->addWidget(channelNumber_);
    number->addWidget(scroll_);
    number->addStretch(1);

    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(16);
    fields->setVerticalSpacing(18);
    const std::pair<QLabel *, QWidget *> left[] = {{labelReceive_, receive_},
                                                   {labelDecode_, decode_},
                                                   {labelPower_, power_},
                                                   {labelName_, name_}};
    const std::pair<QLabel *, QWidget *> right[] = {
        {labelTransmit_, transmit_}, {labelEncode_, encode_}, {labelBandwidth_, bandwidth_}};
    for (int r = 0; r < 4; ++r) {
        left[r].first->setBuddy(left[r].second);
        fields->addWidget(left[r].first, r, 0);
        fields->addWidget(left[r].second, r, 1);
        if (r < 3) {
            right[r].first->setBuddy(right[r].second);
            fields->addWidget(right[r].first, r, 2);
            fields->addWidget(right[r].second, r, 3);
        }
    }
    fields->setColumnStretch(1, 1);
    fields->setColumnStretch(3, 1);

    auto *switches = new QHBoxLayout;
    for (QCheckBox *box : {vox_, busyLock_, scanAdd_, txStop_}) {
        switches->addWidget(box);
        switches->addStretch(1);
    }

    QHBoxLayout *buttons = buttonRow({close_, help_});

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addLayout(number);
    layout->addSpacing(24);
    layout->addLayout(fields);
    layout->addSpacing(28);
    layout->addLayout(switches);
    layout->addStretch(1);
    layout->addLayout(buttons);

    setTabOrder(channelNumber_, scroll_);
    setTabOrder(scroll_, receive_);
    setTabOrder(receive_, transmit_);
    setTabOrder(transmit_, decode_);
    setTabOrder(decode_, encode_);
    setTabOrder(encode_, power_);
    setTabOrder(power_, bandwidth_);
    setTabOrder(bandwidth_, name_);
    setTabOrder(name_, vox_);
    setTabOrder(vox_, busyLock_);
    setTabOrder(busyLock_, scanAdd_);
    setTabOrder(scanAdd_, txStop_);
    setTabOrder(txStop_, close_);
    setTabOrder(close_, help_);
}
