// The texts a channel row shows, computed from an image alone, so that the
// grid, the channel rules and the command-line tool show exactly the same
// thing.
#pragma once

#include "Globals.h"

#include <QString>
#include <optional>

// Texts of columns 1..7 of one channel row in the current language. An
// empty optional means "leave the cell as it is": an unknown tone type or
// power bits 3 carry no text of their own.
struct ChannelRowTexts {
    bool empty = true; // cell 0 erased: the row shows nothing
    QString receive;
    QString transmit;
    std::optional<QString> decode;
    std::optional<QString> encode;
    std::optional<QString> power;
    QString bandwidth;
    QString name;
};

ChannelRowTexts ChannelTextsOf(const ImageTable &image, int channel);

// Receive frequency text of a channel or VFO record: 446.00625, 400.00000.
QString ReceiveText(const ImageTable &image, int row);
// Transmit frequency text: RX shifted by the offset, padded to 9 characters.
QString TransmitText(const ImageTable &image, int row);
// "关"/"OFF" for no tone, the ToneList entry with its blanks, nothing for an
// unknown type.
std::optional<QString> ToneText(int type, int index);
std::optional<QString> PowerText(int powerBits);
QString BandwidthText(bool wide);
// The five name codes of a channel; codes without a character add nothing.
QString ChannelName(const ImageTable &image, int channel);

// Window caption of the grid for a channel: "... [ Channel -  5 ]".
QString ChannelCaption(int channel);

// The list items of the grid's and the edit window's selectors. The tone
// list is "关"/"OFF", then ToneList entries 1..264 without their blanks.
QString ToneOffText();
QStringList ToneItems();
QStringList PowerItems();
QStringList BandwidthItems();
