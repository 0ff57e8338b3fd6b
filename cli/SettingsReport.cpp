#include "SettingsReport.h"

#include "ChannelTexts.h"
#include "Conversions.h"
#include "Globals.h"
#include "ImageRoutines.h"
#include "Language.h"

#include <QStringList>
#include <algorithm>

namespace {

struct Pair {
    const char *chinese;
    const char *english;
};

QString Text(const Pair &pair) { return Texts(pair.chinese, pair.english); }

// A list shows a stored value beyond its last item as the last item.
QString Item(std::initializer_list<Pair> items, int value)
{
    const int index = std::clamp(value, 0, int(items.size()) - 1);
    return Text(*(items.begin() + index));
}

// "Off", then the numbers 1..last.
QString OffOrNumber(int value, int last)
{
    const int index = std::clamp(value, 0, last);
    return index == 0 ? Texts("关", "Off") : QString::number(index);
}

QString Number(int value, int first, int last)
{
    return QString::number(std::clamp(value + first, first, last));
}

QString OnOff(bool on) { return on ? Texts("开", "On") : Texts("关", "Off"); }

bool Bit(int row, int column, int bit) { return (RadioData[row][column] >> bit) & 1; }

int Cell(int row, int column) { return RadioData[row][column]; }

// The VFO's tone lists hold the ToneList entries without their blanks.
QString VfoTone(int typeColumn)
{
    const int type = Cell(VfoRow, typeColumn);
    const int index = Cell(VfoRow, typeColumn + 1);
    const int position = type == ErasedByte || index == ErasedByte ? 0 : TonePosition(type, index);
    return position < 0 ? QString() : ToneList[position].trimmed();
}

QString Codes(int row, int first, int count)
{
    QString text;
    for (int c = first; c < first + count; ++c)
        text += CodeToChar(Cell(row, c));
    return text;
}

QString PasswordDigits()
{
    QString text;
    for (int c = 0; c < 4; ++c)
        if (Cell(PasswordRow, c) >= 0 && Cell(PasswordRow, c) <= 9)
            text += QString::number(Cell(PasswordRow, c));
    return text;
}

ReportItem Make(const char *key, const Pair &label, const QString &value)
{
    return {QString::fromLatin1(key), Text(label).trimmed(), value};
}

} // namespace

QString VfoTitle() { return Texts("频率模式", "Frequncy Mode"); }

QString OptionsTitle() { return Texts("可选参数", "Optional Features"); }

QList<ReportItem> VfoItems()
{
    const auto &r = RadioData[VfoRow];
    const int flagsA = r[12], flagsB = r[13];
    return {
        Make("rx", {"接收频率(MHZ)", "RX Frequncy(MHZ)"}, BcdToText(r[0], r[1], r[2], r[3])),
        Make("offset", {"频差频率(MHZ)", "Offset Frequncy(MHZ) "}, BcdToText(r[4], r[5], r[6], r[7])),
        Make("duplex", {"频差方向", "Duplex"},
             Item({{"关", "Off"}, {"加频", "Plus"}, {"减频", "Minus"}}, (flagsA >> 6) & 3)),
        Make("tx", {"发射频率(MHZ)", "TX Frequency"}, TransmitText(VfoRow)),
        Make("decode", {"解码", "Decode"}, VfoTone(8)),
        Make("encode", {"编码", "Encode"}, VfoTone(10)),
        Make("step", {"步进频率(KHZ)", "Step(KHZ)"},
             Item({{"5K", "5K"}, {"6.25K", "6.25K"}, {"10K", "10K"}, {"12.5K", "12.5K"},
                   {"25K", "25K"}, {"37.5K", "37.5K"}, {"50K", "50K"}, {"100K", "100K"}},
                  flagsB & 7)),
        Make("bandwidth", {"宽带/窄带", "Wide / Narrow"},
             Item({{"窄带", "Narrow"}, {"宽带", "Wide"}}, (flagsB >> 5) & 1)),
        Make("power", {"发射功率", "TX Power"},
             Item({{"低功率", "Low"}, {"中功率", "Mid"}, {"高功率", "High"}}, flagsA & 3)),
        Make("vox", {"声控", "VOX"}, OnOff(flagsB & 0x40)),
        Make("busyLockout", {"繁忙锁定", "BCL"}, OnOff(flagsB & 0x80)),
        Make("txStop", {"禁止发射", "TX Stop"}, OnOff(flagsB & 0x10)),
    };
}

QList<ReportItem> OptionItems()
{
    const int o = OptionRow;
    const BandLimits range = DecodeBandLimits();
    return {
        Make("workingRange", {"工作频率范围", "Frequncy Range"},
             Texts("从 %1 到 %2 MHZ", "From %1 to %2 MHZ").arg(range.low).arg(range.high)),
        Make("squelch", {"静噪等级", "Squelch Level"}, Number(Cell(o, 0), 0, 9)),
        Make("timeOutTimer", {"超时定时器[分钟]", "Time Out Timer[Min]"}, OffOrNumber(Cell(o, 3), 7)),
        Make("autoPowerOff", {"自动关机[小时]", "APO[Hour]"}, OffOrNumber(Cell(o, 4), 15)),
        Make("backLight", {"背光灯", "Back Light"},
             Item({{"关闭", "Off"}, {"自动", "Key"}, {"持续点亮", "Cont"}}, Cell(o, 2) & 3)),
        Make("channelDisplay", {"信道显示方式", "Channel Disp Way"},
             Item({{"频率", "Frequncy"}, {"名称", "Name"}}, Bit(o, 1, 7))),
        Make("scan", {"扫描方式", "Scans"},
             Item({{"时间", "TO"}, {"载波", "CO"}, {"搜索", "SE"}}, Cell(o, 1) & 3)),
        Make("keyLock", {"按键锁定模式", "KeyLock Mode"},
             Item({{"按键和上下键", "Key&UPDN"}, {"PTT键", "PTTLock"}, {"按键", "Key"}, {"全部", "ALL"}},
                  Cell(o, 7) & 0x7F)),
        Make("voxLevel", {"声控等级", "VOV Gain Level"}, Number(Cell(o, 5), 1, 8)),
        Make("voxDelay", {"声控延迟[秒]", "VOX Delay Time[S]"}, Number(Cell(o, 6), 1, 4)),
        Make("workMode", {"工作模式", "Work Mode"},
             Item({{"频率模式", "Frequncy"}, {"信道模式", "Channel"}}, Bit(o, 2, 6))),
        Make("channelOnly", {"仅工作在信道模式", "Only Channel Mode"}, OnOff(Bit(o, 10, 3))),
        Make("powerOnDisplay", {"开机显示模式", "MsgMode"},
             Item({{"关", "Off"}, {"电压", "DC"}, {"信息", "MSG"}}, (Cell(o, 2) >> 4) & 3)),
        Make("powerOnMessage", {"开机显示字符", "PowerOn MSG"}, Codes(PasswordRow, 4, 5)),
        Make("password", {"对讲机密码", "Radio Password"}, OnOff(Bit(o, 2, 3))),
        Make("passwordPin", {"密码设置", "Password Pin"}, PasswordDigits()),
        Make("batterySave", {"电池省电", "Save"}, OnOff(Bit(o, 1, 6))),
        Make("beep", {"哔音", "Beep"}, OnOff(Bit(o, 2, 7))),
        // The manual set-up box is ticked when its bit is clear.
        Make("manualSetup", {"手动设置", "Manual set-up"}, OnOff(!Bit(o, 1, 2))),
        Make("fmReceive", {"收音时允许接收", "Receiver When Radio Working"}, OnOff(Bit(o, 1, 5))),
        Make("roger", {"结束通话提示音", "Roger"}, OnOff(Bit(o, 1, 3))),
        Make("subBandReceive", {"接收允许", "Receive Enabled"}, OnOff(Bit(o, 7, 7))),
        Make("powerOnChannel", {"开机信道", "Power-on Channel"}, QString::number(Cell(o, 12))),
    };
}
