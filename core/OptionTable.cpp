#include "OptionTable.h"

#include <algorithm>

namespace {

BilingualText Same(const char *text) { return {QString::fromUtf8(text), QString::fromUtf8(text)}; }

// The numbers first..last, written the same in both languages, after an
// optional "off" item.
QList<BilingualText> Numbers(int first, int last, bool withOff = false)
{
    QList<BilingualText> items;
    if (withOff)
        items << Bilingual("关", "Off");
    for (int n = first; n <= last; ++n)
        items << BilingualText{QString::number(n), QString::number(n)};
    return items;
}

OptionEntry List(const char *key, const char *control, const char *label, BilingualText caption,
                 CellField field, QList<BilingualText> items)
{
    return {QString::fromLatin1(key),
            QString::fromLatin1(control),
            QString::fromLatin1(label),
            caption,
            OptionKind::List,
            field,
            items};
}

OptionEntry Check(const char *key, const char *control, BilingualText caption, CellField field)
{
    return {QString::fromLatin1(key),
            QString::fromLatin1(control),
            QString(),
            caption,
            OptionKind::Check,
            field,
            {}};
}

OptionEntry Other(const char *key, const char *control, const char *label, BilingualText caption,
                  OptionKind kind, CellField field = {})
{
    return {QString::fromLatin1(key),
            QString::fromLatin1(control),
            QString::fromLatin1(label),
            caption,
            kind,
            field,
            {}};
}

OptionEntry Hidden(OptionEntry entry)
{
    entry.hidden = true;
    return entry;
}

OptionEntry BeyondLastIsFirst(OptionEntry entry)
{
    entry.beyondLastIsFirst = true;
    return entry;
}

QList<OptionEntry> BuildVfoTable()
{
    const int v = VfoRow;
    return {
        Other("rx", "Text_RX_Freq", "Label_RX_freq", Bilingual("接收频率(MHZ)", "RX Frequncy(MHZ)"),
              OptionKind::Frequency, {v, Record::Rx.column}),
        Other("offset", "Text_Offset_Freq", "Label_offset",
              Bilingual("频差频率(MHZ)", "Offset Frequncy(MHZ) "), OptionKind::Frequency,
              {v, Record::Offset.column}),
        BeyondLastIsFirst(
            List("duplex", "Combo_Sft_d", "Label_Sft_d", Bilingual("频差方向", "Duplex"),
                 Record::Shift.at(v),
                 {Bilingual("关", "Off"), Bilingual("加频", "Plus"), Bilingual("减频", "Minus")})),
        // The window keeps it in a hidden field without a caption; this one
        // is for reports.
        Other("tx", "Text_TX_Freq", "", Bilingual("发射频率(MHZ)", "TX Frequency"),
              OptionKind::Transmit),
        Other("decode", "Combo_Decode", "Label_Decode", Bilingual("解码", "Decode"),
              OptionKind::Tone, {v, Record::Decode.typeColumn}),
        Other("encode", "Combo_Encode", "Label_Encode", Bilingual("编码", "Encode"),
              OptionKind::Tone, {v, Record::Encode.typeColumn}),
        List("step", "Combo_Step", "Label_Step", Bilingual("步进频率(KHZ)", "Step(KHZ)"),
             Record::Step.at(v),
             {Same("5K"), Same("6.25K"), Same("10K"), Same("12.5K"), Same("25K"), Same("37.5K"),
              Same("50K"), Same("100K")}),
        List("bandwidth", "Combo_WN", "Label_WN", Bilingual("宽带/窄带", "Wide / Narrow"),
             Record::Wide.at(v), {Bilingual("窄带", "Narrow"), Bilingual("宽带", "Wide")}),
        List("power", "Combo_TXP", "Label_TXP", Bilingual("发射功率", "TX Power"),
             Record::Power.at(v),
             {Bilingual("低功率", "Low"), Bilingual("中功率", "Mid"), Bilingual("高功率", "High")}),
        Check("vox", "Check_VOX_SW", Bilingual("声控", "VOX"), Record::Vox.at(v)),
        Check("busyLockout", "Check_Bcl", Bilingual("繁忙锁定", "BCL"), Record::BusyLock.at(v)),
        Check("txStop", "Check_TxStop", Bilingual("禁止发射", "TX Stop"), Record::TxStop.at(v)),
    };
}

QList<OptionEntry> BuildOptionTable()
{
    using namespace Options;
    return {
        Other("workingRange", "Frame_Freq_range", "", Bilingual("工作频率范围", "Frequncy Range"),
              OptionKind::Range, {BandLimitRow, 0}),
        List("squelch", "Combo_Sql", "Label_sql", Bilingual("静噪等级", "Squelch Level"), Squelch,
             Numbers(0, 9)),
        List("timeOutTimer", "Combo_TOT", "Label_tot",
             Bilingual("超时定时器[分钟]", "Time Out Timer[Min]"), TimeOutTimer,
             Numbers(1, 7, true)),
        List("autoPowerOff", "Combo_APO", "Label_APO", Bilingual("自动关机[小时]", "APO[Hour]"),
             AutoPowerOff, Numbers(1, 15, true)),
        List("backLight", "Combo_Lamp", "Label_lamp", Bilingual("背光灯", "Back Light"), BackLight,
             {Bilingual("关闭", "Off"), Bilingual("自动", "Key"), Bilingual("持续点亮", "Cont")}),
        List("channelDisplay", "Combo_Mdf", "Label_mdf",
             Bilingual("信道显示方式", "Channel Disp Way"), ChannelDisplay,
             {Bilingual("频率", "Frequncy"), Bilingual("名称", "Name")}),
        List("scan", "Combo_Scan", "Label_Scan", Bilingual("扫描方式", "Scans"), ScanMode,
             {Bilingual("时间", "TO"), Bilingual("载波", "CO"), Bilingual("搜索", "SE")}),
        List("keyLock", "Combo_KL_Mode", "Label_KL_Mode", Bilingual("按键锁定模式", "KeyLock Mode"),
             KeyLockMode,
             {Bilingual("按键和上下键", "Key&UPDN"), Bilingual("PTT键", "PTTLock"),
              Bilingual("按键", "Key"), Bilingual("全部", "ALL")}),
        List("voxLevel", "Combo_VOX_lever", "Label_vox_Lever",
             Bilingual("声控等级", "VOV Gain Level"), VoxLevel, Numbers(1, 8)),
        List("voxDelay", "Combo_VOX_Delay_Time", "Label_VOX_Delay_Time",
             Bilingual("声控延迟[秒]", "VOX Delay Time[S]"), VoxDelay, Numbers(1, 4)),
        Hidden(Check("voxReceiveStop", "Check_VOX_ReceStop",
                     Bilingual("接收时禁止声控", "VOX Inhibit on Receive"), VoxReceiveStop)),
        // Two option buttons in a frame: the items are their captions.
        List("workMode", "Frame_mode", "", Bilingual("工作模式", "Work Mode"), ChannelMode,
             {Bilingual("频率模式", "Frequncy"), Bilingual(" 信道模式", "Channel")}),
        Check("channelOnly", "Check_Only_Chann", Bilingual("仅工作在信道模式", "Only Channel Mode"),
              ChannelOnly),
        List("powerOnDisplay", "Combo_Pon_Mode", "Label_Pon_Mode",
             Bilingual("开机显示模式", "MsgMode"), PowerOnDisplay,
             {Bilingual("关", "Off"), Bilingual("电压", "DC"), Bilingual("信息", "MSG")}),
        Other("powerOnMessage", "Text_Pon_Msg", "Label_Pon_msg",
              Bilingual("开机显示字符", "PowerOn MSG"), OptionKind::Message,
              {PasswordRow, MessageColumn}),
        Check("password", "Check_Pon_PWD", Bilingual("对讲机密码", "Radio Password"),
              PowerOnPassword),
        Other("passwordPin", "Text_Pon_PWD", "Label_Pon_PWD", Bilingual("密码设置", "Password Pin"),
              OptionKind::Password, {PasswordRow, 0}),
        Check("batterySave", "Check_Save", Bilingual("电池省电", "Save"), BatterySave),
        Check("beep", "Check_Beep", Bilingual("哔音", "Beep"), Beep),
        Check("manualSetup", "Check_Menu", Bilingual("手动设置", "Manual set-up"), ManualSetup),
        Check("fmReceive", "Check_FM_STRX",
              Bilingual("收音时允许接收", "Receiver When Radio Working"), FmReceive),
        Check("roger", "Check_ROGER", Bilingual("结束通话提示音", "Roger"), Roger),
        // Edited by the model-select window.
        Check("subBandReceive", "Check_SC", Bilingual("接收允许", "Receive Enabled"),
              SubBandReceive),
        // Set by the write preparation; no control edits it.
        Other("powerOnChannel", "", "", Bilingual("开机信道", "Power-on Channel"),
              OptionKind::Number, PowerOnChannel),
    };
}

} // namespace

QStringList OptionEntry::itemTexts() const
{
    QStringList texts;
    if (kind == OptionKind::Tone) {
        for (int position = 0; position <= ToneDcsInvertLast; ++position)
            texts << ToneList[position].trimmed();
        return texts;
    }
    for (const BilingualText &item : items)
        texts << item.text();
    return texts;
}

int OptionEntry::shownIndex(int stored) const
{
    const int last = std::max(0, int(items.size()) - 1);
    if (stored > last && beyondLastIsFirst)
        return 0;
    return std::clamp(stored, 0, last);
}

const QList<OptionEntry> &VfoOptionTable()
{
    static const QList<OptionEntry> table = BuildVfoTable();
    return table;
}

const QList<OptionEntry> &OptionTable()
{
    static const QList<OptionEntry> table = BuildOptionTable();
    return table;
}

const OptionEntry *FindOption(const QString &key)
{
    for (const QList<OptionEntry> *table : {&VfoOptionTable(), &OptionTable()})
        for (const OptionEntry &entry : *table)
            if (entry.key == key)
                return &entry;
    return nullptr;
}
