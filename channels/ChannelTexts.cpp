#include "ChannelTexts.h"

#include "Conversions.h"
#include "Globals.h"
#include "Language.h"

#include <QStringList>

QString ReceiveText(const ImageTable &image, int row)
{
    const auto &r = image[row];
    return BcdToText(r[0], r[1], r[2], r[3]);
}

QString TransmitText(const ImageTable &image, int row)
{
    const auto &r = image[row];
    const double rx = NumericValue(ReceiveText(image, row));
    const double offset = NumericValue(BcdToText(r[4], r[5], r[6], r[7]));
    int direction = (r[12] & 0xC0) / 64;
    if (direction > 2)
        direction = 0;
    const double tx = direction == 1 ? rx + offset : direction == 2 ? rx - offset : rx;
    QString text = NumberText(tx);
    if (text.size() < 9) {
        if (text.size() < 4)
            text += u'.';
        text = text.leftJustified(9, u'0');
    }
    return text;
}

QString TransmitText(int row) { return TransmitText(RadioData, row); }

QString ToneOffText() { return Texts("关", "OFF"); }

std::optional<QString> ToneText(int type, int index)
{
    if (type == ErasedByte || index == ErasedByte)
        return ToneOffText();
    const int position = TonePosition(type, index);
    if (position < 0)
        return std::nullopt;
    return ToneList[position];
}

QStringList PowerItems()
{
    return IsChinese ? QStringList{QStringLiteral("低"), QStringLiteral("中"), QStringLiteral("高")}
                     : QStringList{QStringLiteral("Low"), QStringLiteral("Mid"),
                                   QStringLiteral("High")};
}

QStringList BandwidthItems()
{
    return IsChinese ? QStringList{QStringLiteral("窄带"), QStringLiteral("宽带")}
                     : QStringList{QStringLiteral("Narrow"), QStringLiteral("Wide")};
}

std::optional<QString> PowerText(int powerBits)
{
    const QStringList items = PowerItems();
    if (powerBits < 0 || powerBits >= items.size())
        return std::nullopt;
    return items.at(powerBits);
}

QString BandwidthText(bool wide) { return BandwidthItems().at(wide ? 1 : 0); }

QString ChannelName(const ImageTable &image, int channel)
{
    // Index k of the name sequence is row 160 + k / 16, column k % 16.
    QString name;
    for (int k = (channel - 1) * NameLength; k < channel * NameLength; ++k)
        name += CodeToChar(image[NameRowFirst + k / BlockSize][k % BlockSize]);
    return name;
}

ChannelRowTexts ChannelTextsOf(const ImageTable &image, int channel)
{
    ChannelRowTexts texts;
    const auto &r = image[channel];
    if (r[0] == ErasedByte)
        return texts;
    texts.empty = false;
    texts.receive = ReceiveText(image, channel);
    texts.transmit = TransmitText(image, channel);
    texts.decode = ToneText(r[8], r[9]);
    texts.encode = ToneText(r[10], r[11]);
    texts.power = PowerText(r[12] & 3);
    texts.bandwidth = BandwidthText(r[13] & 0x20);
    texts.name = ChannelName(image, channel);
    return texts;
}

ChannelRowTexts ChannelTextsOf(int channel) { return ChannelTextsOf(RadioData, channel); }

QString ChannelCaption(int channel)
{
    return Texts("信道参数编辑 [ 信道 - ", "Channel Information [ Channel - ") +
           SignedNumberText(channel) + QStringLiteral(" ]");
}
