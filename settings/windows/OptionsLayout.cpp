#include "OptionsWindow.h"

#include "Language.h"
#include "OptionTable.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

const OptionEntry &Entry(const QString &key) { return *FindOption(key); }

// The lists and boxes of the general settings, in the order they are shown.
const char *const GeneralLists[] = {"timeOutTimer",   "squelch", "autoPowerOff", "backLight",
                                    "channelDisplay", "scan",    "keyLock"};
const char *const Switches[] = {"fmReceive", "batterySave", "beep", "manualSetup", "roger"};
const char *const VfoLists[] = {"step", "duplex"};
const char *const VfoLowerLists[] = {"bandwidth", "power"};
const char *const VfoChecks[] = {"vox", "busyLockout", "txStop"};

QGroupBox *Frame(QWidget *parent, const char *name)
{
    auto *frame = new QGroupBox(parent);
    frame->setObjectName(QString::fromLatin1(name));
    return frame;
}

// Labels in column 0, controls in column 1 (as wide as the widest of the
// frame), INV boxes in column 2; spare width goes to the empty column 3.
QGridLayout *FormGrid(QGroupBox *frame)
{
    auto *grid = new QGridLayout(frame);
    grid->setColumnStretch(3, 1);
    grid->setHorizontalSpacing(12);
    return grid;
}

// Captions of the controls that are not option fields.
struct FixedText {
    const char *name;
    const char *chinese;
    const char *english;
};
const FixedText FixedTexts[] = {
    {"Frame_VOX", "声控设置", "VOX"},
    {"Frame_PowerOn", "开机", "Power On"},
    {"Frame_vfo", "频率模式", "Frequncy Mode"},
    {"Check_DNI", "INV", "INV"},
    {"Check_ENI", "INV", "INV"},
    {"Label_From", "从", "From"},
    {"Label_to", "到", "to"},
    {"Label3", "MHZ", "MHZ"},
    {"Command_Close", "关闭", "Close"},
    {"Command_Help", "帮助", "Help"},
};

// What a screen reader says of a control beyond its caption: its own name
// where the caption beside it would not tell it apart (shared, missing or
// naming only a part), and what it does where the caption is terse. Both
// by the control's objectName.
struct SpokenText {
    const char *name;
    const char *nameChinese, *nameEnglish; // empty: the caption beside it
    const char *descriptionChinese, *descriptionEnglish;
};
const SpokenText SpokenTexts[] = {
    {"Text_RX_Freq", "频率模式接收频率(MHZ)", "VFO receive frequency (MHz)", "", ""},
    {"Text_Offset_Freq", "频率模式频差频率(MHZ)", "VFO offset frequency (MHz)",
     "发射频率与接收频率之差，小于 70 MHZ", "Between transmit and receive frequency, below 70 MHz"},
    {"Text_pvfo_d0", "工作频率范围下限(MHZ)", "Working range from (MHz)", "", ""},
    {"Text_pvfo_d1", "工作频率范围上限(MHZ)", "Working range to (MHz)", "", ""},
    {"Check_DNI", "解码反相(INV)", "Decode tone inverted (INV)", "只显示，随解码选择变化",
     "Shown only; follows the decode tone"},
    {"Check_ENI", "编码反相(INV)", "Encode tone inverted (INV)", "只显示，随编码选择变化",
     "Shown only; follows the encode tone"},
    {"Combo_TOT", "", "", "连续发射超过此分钟数即停止；关 = 不限制",
     "Transmitting stops after this many minutes; Off = no limit"},
    {"Combo_APO", "", "", "无操作此小时数后自动关机；关 = 不关机",
     "Automatic power-off after this many hours without use; Off = never"},
    {"Combo_Mdf", "", "", "对讲机显示信道的频率还是名称",
     "Whether the radio shows a channel's frequency or its name"},
    {"Combo_Scan", "", "", "扫描方式：时间、载波或搜索",
     "Scan mode: TO time-operated, CO carrier-operated, SE search"},
    {"Combo_KL_Mode", "", "", "按键锁定时锁定哪些键", "Which keys the key lock locks"},
    {"Combo_VOX_lever", "", "", "声控灵敏度，1 到 8", "VOX sensitivity, 1 to 8"},
    {"Combo_Pon_Mode", "", "", "开机时显示：无、电压或开机显示字符",
     "What the radio shows at power-on: nothing, the supply voltage or the message"},
    {"Text_Pon_Msg", "", "", "最多 5 个字母、数字或 - _ *", "Up to 5 letters, digits or - _ *"},
    {"Text_Pon_PWD", "", "", "4 位数字", "Four digits"},
    {"Check_Menu", "", "", "允许在对讲机菜单中修改设置",
     "Settings may be changed in the radio's menu"},
    {"Check_FM_STRX", "", "", "收音时仍接收对讲信号",
     "Calls are received while the FM radio plays"},
    {"Check_Save", "", "", "电池省电", "Battery save"},
    {"Check_ROGER", "", "", "结束通话时发提示音", "A tone at the end of each transmission"},
    {"Combo_Step", "", "", "频率模式下的频率步进", "Frequency step of the VFO"},
    {"Combo_Sft_d", "", "", "发射频率高于（加频）或低于（减频）接收频率一个频差",
     "Transmit above (Plus) or below (Minus) the receive frequency by the offset"},
    {"Check_Bcl", "", "", "繁忙锁定：信道忙时禁止发射",
     "Busy channel lockout: no transmitting on a busy channel"},
    {"Check_Only_Chann", "", "", "对讲机只能在信道模式下工作",
     "The radio works in channel mode only"},
};

// The controls named by SpokenTexts have no buddy label: a screen reader
// would take the label's text over their own name.
bool HasOwnName(QWidget *control)
{
    for (const SpokenText &t : SpokenTexts)
        if (control->objectName() == QLatin1String(t.name))
            return *t.nameEnglish != 0;
    return false;
}

} // namespace

QComboBox *OptionsWindow::addList(const QString &key)
{
    auto *list = new QComboBox(this);
    list->setObjectName(Entry(key).control);
    list->setEditable(false);
    list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    list->installEventFilter(this);
    lists_[key] = list;
    addLabel(key);
    return list;
}

QCheckBox *OptionsWindow::addCheck(const QString &key)
{
    auto *box = new QCheckBox(this);
    box->setObjectName(Entry(key).control);
    checks_[key] = box;
    return box;
}

QLabel *OptionsWindow::addLabel(const QString &key)
{
    auto *label = new QLabel(this);
    label->setObjectName(Entry(key).label);
    labels_[key] = label;
    return label;
}

QLineEdit *OptionsWindow::addField(const char *name, OptionTextField kind)
{
    auto *field = new QLineEdit(this);
    field->setObjectName(QString::fromLatin1(name));
    // Pasted, dropped or composed text would bypass the key rules: a paste
    // is typed key by key instead, and there is no menu, drop or input
    // method to get around it.
    field->setContextMenuPolicy(Qt::NoContextMenu);
    field->setAcceptDrops(false);
    field->setAttribute(Qt::WA_InputMethodEnabled, false);
    field->installEventFilter(this);
    fields_[field] = kind;
    return field;
}

void OptionsWindow::buildControls()
{
    generalFrame_ = Frame(this, "Frame_general");
    switchFrame_ = Frame(this, "Frame_switches");
    voxFrame_ = Frame(this, "Frame_VOX");
    modeFrame_ = Frame(this, "Frame_mode");
    powerOnFrame_ = Frame(this, "Frame_PowerOn");
    vfoFrame_ = Frame(this, "Frame_vfo");
    rangeFrame_ = Frame(this, "Frame_Freq_range");

    for (const char *key : GeneralLists)
        addList(QLatin1String(key));
    for (const char *key : Switches)
        addCheck(QLatin1String(key));
    addList(QStringLiteral("voxLevel"));
    addList(QStringLiteral("voxDelay"));
    QCheckBox *receiveStop = addCheck(QStringLiteral("voxReceiveStop"));
    receiveStop->setEnabled(false);
    receiveStop->setVisible(false);

    frequencyMode_ = new QRadioButton(modeFrame_);
    frequencyMode_->setObjectName(QStringLiteral("Option_freq"));
    channelMode_ = new QRadioButton(modeFrame_);
    channelMode_->setObjectName(QStringLiteral("Option_chann"));
    addCheck(QStringLiteral("channelOnly"));

    addList(QStringLiteral("powerOnDisplay"));
    addLabel(QStringLiteral("powerOnMessage"));
    message_ = addField("Text_Pon_Msg", OptionTextField::Message);
    addCheck(QStringLiteral("password"));
    addLabel(QStringLiteral("passwordPin"));
    password_ = addField("Text_Pon_PWD", OptionTextField::Password);

    addLabel(QStringLiteral("rx"));
    receive_ = addField("Text_RX_Freq", OptionTextField::Receive);
    addList(QStringLiteral("decode"));
    addList(QStringLiteral("encode"));
    for (const char *key : VfoLists)
        addList(QLatin1String(key));
    addLabel(QStringLiteral("offset"));
    offset_ = addField("Text_Offset_Freq", OptionTextField::Offset);
    for (const char *key : VfoLowerLists)
        addList(QLatin1String(key));
    for (const char *key : VfoChecks)
        addCheck(QLatin1String(key));
    decodeInverted_ = new QCheckBox(this);
    decodeInverted_->setObjectName(QStringLiteral("Check_DNI"));
    encodeInverted_ = new QCheckBox(this);
    encodeInverted_->setObjectName(QStringLiteral("Check_ENI"));
    for (QCheckBox *indicator : {decodeInverted_, encodeInverted_})
        indicator->setEnabled(false);
    // The computed transmit frequency is kept but never shown.
    transmit_ = new QLineEdit(this);
    transmit_->setObjectName(QStringLiteral("Text_TX_Freq"));
    transmit_->setVisible(false);

    fromLabel_ = new QLabel(rangeFrame_);
    fromLabel_->setObjectName(QStringLiteral("Label_From"));
    lower_ = addField("Text_pvfo_d0", OptionTextField::RangeLimit);
    toLabel_ = new QLabel(rangeFrame_);
    toLabel_->setObjectName(QStringLiteral("Label_to"));
    upper_ = addField("Text_pvfo_d1", OptionTextField::RangeLimit);
    mhzLabel_ = new QLabel(rangeFrame_);
    mhzLabel_->setObjectName(QStringLiteral("Label3"));

    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("Command_Close"));
    help_ = new QPushButton(this);
    help_->setObjectName(QStringLiteral("Command_Help"));

    // Room for the longest text each field takes, in the current font.
    const QFontMetrics metrics = fontMetrics();
    const int digit = metrics.horizontalAdvance(u'0');
    receive_->setMinimumWidth(digit * 12);
    offset_->setMinimumWidth(digit * 12);
    for (QLineEdit *limit : {lower_, upper_})
        limit->setFixedWidth(digit * 7);
    for (QLineEdit *text : {password_, message_})
        text->setMinimumWidth(digit * 12);
}

void OptionsWindow::buildLayout()
{
    // A label column and a control column in every frame, so that labels
    // line up in both languages.
    auto addRow = [this](QGridLayout *grid, const QString &key, QWidget *control) {
        const int row = grid->rowCount();
        grid->addWidget(labels_.at(key), row, 0);
        grid->addWidget(control, row, 1);
        if (!HasOwnName(control))
            labels_.at(key)->setBuddy(control);
    };

    QGridLayout *general = FormGrid(generalFrame_);
    for (const char *key : GeneralLists)
        addRow(general, QLatin1String(key), lists_.at(QLatin1String(key)));

    auto *switches = new QVBoxLayout(switchFrame_);
    for (const char *key : Switches)
        switches->addWidget(checks_.at(QLatin1String(key)));

    QGridLayout *vox = FormGrid(voxFrame_);
    addRow(vox, QStringLiteral("voxLevel"), lists_.at(QStringLiteral("voxLevel")));
    addRow(vox, QStringLiteral("voxDelay"), lists_.at(QStringLiteral("voxDelay")));
    vox->addWidget(checks_.at(QStringLiteral("voxReceiveStop")), vox->rowCount(), 0, 1, 3);

    auto *mode = new QGridLayout(modeFrame_);
    mode->addWidget(frequencyMode_, 0, 0);
    mode->addWidget(channelMode_, 0, 1);
    mode->addWidget(checks_.at(QStringLiteral("channelOnly")), 1, 0, 1, 2);
    mode->setColumnStretch(2, 1);

    QGridLayout *powerOn = FormGrid(powerOnFrame_);
    addRow(powerOn, QStringLiteral("powerOnDisplay"), lists_.at(QStringLiteral("powerOnDisplay")));
    addRow(powerOn, QStringLiteral("powerOnMessage"), message_);
    powerOn->addWidget(checks_.at(QStringLiteral("password")), powerOn->rowCount(), 0, 1, 3);
    addRow(powerOn, QStringLiteral("passwordPin"), password_);

    QGridLayout *vfo = FormGrid(vfoFrame_);
    addRow(vfo, QStringLiteral("rx"), receive_);
    addRow(vfo, QStringLiteral("decode"), lists_.at(QStringLiteral("decode")));
    vfo->addWidget(decodeInverted_, vfo->rowCount() - 1, 2);
    addRow(vfo, QStringLiteral("encode"), lists_.at(QStringLiteral("encode")));
    vfo->addWidget(encodeInverted_, vfo->rowCount() - 1, 2);
    for (const char *key : VfoLists)
        addRow(vfo, QLatin1String(key), lists_.at(QLatin1String(key)));
    addRow(vfo, QStringLiteral("offset"), offset_);
    for (const char *key : VfoLowerLists)
        addRow(vfo, QLatin1String(key), lists_.at(QLatin1String(key)));
    auto *vfoChecks = new QHBoxLayout;
    for (const char *key : VfoChecks)
        vfoChecks->addWidget(checks_.at(QLatin1String(key)));
    vfoChecks->addStretch();
    vfo->addLayout(vfoChecks, vfo->rowCount(), 0, 1, 4);

    auto *range = new QHBoxLayout(rangeFrame_);
    for (QWidget *w :
         std::initializer_list<QWidget *>{fromLabel_, lower_, toLabel_, upper_, mhzLabel_})
        range->addWidget(w);
    range->addStretch();

    auto *left = new QVBoxLayout;
    left->addWidget(generalFrame_);
    left->addWidget(switchFrame_);
    left->addStretch();
    auto *middle = new QVBoxLayout;
    middle->addWidget(voxFrame_);
    middle->addWidget(modeFrame_);
    middle->addWidget(powerOnFrame_);
    middle->addStretch();
    auto *right = new QVBoxLayout;
    right->addWidget(vfoFrame_);
    right->addWidget(rangeFrame_);
    right->addStretch();

    auto *columns = new QHBoxLayout;
    columns->addLayout(left, 1);
    columns->addLayout(middle, 1);
    columns->addLayout(right, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(close_);
    buttons->addWidget(help_);
    auto *page = new QVBoxLayout(this);
    page->addLayout(columns, 1);
    page->addLayout(buttons);
}

void OptionsWindow::applyTexts()
{
    setWindowTitle(Texts("可选参数", "Optional Features"));
    for (const auto &[key, label] : labels_)
        label->setText(Entry(key).caption.text());
    for (const auto &[key, box] : checks_)
        box->setText(Entry(key).caption.text());
    const OptionEntry &mode = Entry(QStringLiteral("workMode"));
    modeFrame_->setTitle(mode.caption.text());
    frequencyMode_->setText(mode.items.at(0).text());
    channelMode_->setText(mode.items.at(1).text());
    rangeFrame_->setTitle(Entry(QStringLiteral("workingRange")).caption.text());
    for (const FixedText &t : FixedTexts) {
        const QString text = Texts(t.chinese, t.english);
        const QString name = QString::fromLatin1(t.name);
        if (auto *frame = findChild<QGroupBox *>(name))
            frame->setTitle(text);
        else if (auto *label = findChild<QLabel *>(name))
            label->setText(text);
        else if (auto *button = findChild<QAbstractButton *>(name))
            button->setText(text);
    }
    for (const SpokenText &t : SpokenTexts) {
        auto *control = findChild<QWidget *>(QLatin1String(t.name));
        if (*t.nameEnglish)
            control->setAccessibleName(Texts(t.nameChinese, t.nameEnglish));
        if (*t.descriptionEnglish)
            control->setAccessibleDescription(Texts(t.descriptionChinese, t.descriptionEnglish));
    }
}

void OptionsWindow::fillLists()
{
    for (const auto &[key, list] : lists_) {
        list->clear();
        list->addItems(Entry(key).itemTexts());
        list->setCurrentIndex(-1);
    }
}
