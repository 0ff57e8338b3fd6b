#include "ChannelTexts.h"

#include "Conversions.h"
#include "Globals.h"
#include "Language.h"
#include "RecordCodec.h"

#include <QStringList>

QString ReceiveText(const ImageTable &image, int row) { return Record::Rx.text(image, row); }

QString TransmitText(const ImageTable &image, int row)
{
    QString text = NumberText(Record::TxMHz(image, row));
    if (text.size() < 9) {
        if (text.size() < 4)
            text += u'.';
        text = text.leftJustified(9, u'0');
    }
    return text;
}

QString ToneOffText() { return Texts("关", "OFF"); }

QStringList ToneItems()
{
    QStringList items{ToneOffText()};
    for (int p = 1; p <= ToneDcsInvertLast; ++p)
        items << ToneList[p].trimmed();
    return items;
}

std::optional<QString> ToneText(int type, int index)
{
    if (type == ErasedByte || index == ErasedByte)
        return ToneOffText();
    const int position = TonePosition(type, index);
    if (position < 0)
        return std::nullopt;
    return ToneList[position];
}

QStringList PowerItems() { return {Texts("低", "Low"), Texts("中", "Mid"), Texts("高", "High")}; }

QStringList BandwidthItems() { return {Texts("窄带", "Narrow"), Texts("宽带", "Wide")}; }

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
    QString name;
    for (int k = 0; k < NameLength; ++k)
        name += CodeToChar(NameCell(channel, k).get(image));
    return name;
}

ChannelRowTexts ChannelTextsOf(const ImageTable &image, int channel)
{
    ChannelRowTexts texts;
    if (Record::IsEmpty(image, channel))
        return texts;
    texts.empty = false;
    texts.receive = ReceiveText(image, channel);
    texts.transmit = TransmitText(image, channel);
    const ToneCode decode = Record::Decode.get(image, channel);
    const ToneCode encode = Record::Encode.get(image, channel);
    texts.decode = ToneText(decode.type, decode.index);
    texts.encode = ToneText(encode.type, encode.index);
    texts.power = PowerText(Record::Power.get(image, channel));
    texts.bandwidth = BandwidthText(Record::Wide.get(image, channel) != 0);
    texts.name = ChannelName(image, channel);
    return texts;
}

QString ChannelCaption(int channel)
{
    return Texts("信道参数编辑 [ 信道 - ", "Channel Information [ Channel - ")
           + SignedNumberText(channel) + QStringLiteral(" ]");
}
