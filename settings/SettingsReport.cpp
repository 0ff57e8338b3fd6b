#include "SettingsReport.h"

#include "ChannelTexts.h"
#include "Globals.h"
#include "Language.h"
#include "OptionTable.h"
#include "OptionValueText.h"
#include "RecordCodec.h"

namespace {

QList<ReportItem> Items(const QList<OptionEntry> &table, const ImageTable &image)
{
    QList<ReportItem> items;
    for (const OptionEntry &entry : table)
        if (!entry.hidden)
            items << ReportItem{entry.key, entry.caption.text().trimmed(),
                                OptionValueText(entry, image)};
    return items;
}

} // namespace

QString VfoTitle() { return Texts("频率模式", "Frequncy Mode"); }

QString OptionsTitle() { return Texts("可选参数", "Optional Features"); }

QList<ReportItem> VfoItems(const ImageTable &image) { return Items(VfoOptionTable(), image); }

QList<ReportItem> OptionItems(const ImageTable &image) { return Items(OptionTable(), image); }
