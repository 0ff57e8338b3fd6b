#include "ChannelReport.h"

#include "ChannelEditTexts.h"
#include "ChannelGridTexts.h"
#include "ChannelTexts.h"
#include "RecordCodec.h"

namespace {

struct ChannelSwitch {
    const char *key;
    QString (*title)();
    RecordField field;
};
const ChannelSwitch Switches[] = {
    {"vox", ChannelEditTexts::Vox, Record::Vox},
    {"busyLock", ChannelEditTexts::BusyLock, Record::BusyLock},
    {"scanAdd", ChannelEditTexts::ScanAdd, Record::ScanAdd},
    {"txStop", ChannelEditTexts::TxStop, Record::TxStop},
};

// A cell the grid leaves as it was is empty after a load, and so it is
// here. Tone texts carry the blanks of the tone list, which a table has no
// use for.
QString ToneCell(const std::optional<QString> &tone) { return tone.value_or(QString()).trimmed(); }

} // namespace

QStringList ChannelColumnTitles()
{
    QStringList titles = GridTexts::HeaderFormat().split(u'|');
    for (QString &title : titles)
        title = title.remove(u'^').trimmed();
    return titles;
}

QStringList ChannelSwitchTitles()
{
    QStringList titles;
    for (const ChannelSwitch &s : Switches)
        titles << s.title().trimmed();
    return titles;
}

QString OnOffText(bool on) { return on ? Texts("开", "On") : Texts("关", "Off"); }

QStringList ChannelRowCells(const ImageTable &image, int channel)
{
    const ChannelRowTexts t = ChannelTextsOf(image, channel);
    QStringList cells{QString::number(channel),
                      t.receive,
                      t.transmit,
                      ToneCell(t.decode),
                      ToneCell(t.encode),
                      t.power.value_or(QString()),
                      t.bandwidth,
                      t.name};
    for (const ChannelSwitch &s : Switches)
        cells << OnOffText(s.field.get(image, channel) != 0);
    return cells;
}

QList<ChannelSwitchState> ChannelSwitchStates(const ImageTable &image, int channel)
{
    QList<ChannelSwitchState> states;
    for (const ChannelSwitch &s : Switches)
        states << ChannelSwitchState{QLatin1String(s.key), s.field.get(image, channel) != 0};
    return states;
}
