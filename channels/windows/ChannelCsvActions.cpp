#include "ChannelCsvActions.h"

#include "ChannelChanges.h"
#include "ChannelCsv.h"
#include "ChannelCsvFile.h"
#include "ChannelGrid.h"
#include "CsvImportDialog.h"
#include "ImageChanges.h"
#include "Language.h"
#include "Messages.h"
#include "RecordCodec.h"
#include "Windows.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <algorithm>

namespace {

QString Filter()
{
    return Texts("CSV 信道列表 (*.csv);;所有文件 (*)", "CSV channel lists (*.csv);;All files (*)");
}

// The grid, in front, shows the channels: the first at the top, all of
// them selected, so that a look and Undo go together.
void ShowInGrid(const QList<int> &channels)
{
    if (channels.isEmpty())
        return;
    auto *grid = Windows::FindAs<ChannelGridWindow>(WindowId::ChannelGrid);
    if (!grid)
        grid = qobject_cast<ChannelGridWindow *>(Windows::Open(WindowId::ChannelGrid));
    if (!grid)
        return;
    if (QMdiArea *area = grid->mdiArea())
        area->setActiveSubWindow(qobject_cast<QMdiSubWindow *>(grid->parentWidget()));
    grid->showChannels(ChannelSet(channels.begin(), channels.end()));
}

// Applies what the user accepted, as one change, and shows what it changed.
void Store(ChangeKind kind, const CsvImportPlan &plan)
{
    if (plan.placed.isEmpty())
        return;
    const ImageChange change = ImageChanges::instance().apply(
        kind, [&plan](ImageTable &image) { ApplyCsvImport(image, plan); });
    QList<int> channels = ChannelsTouched(change);
    if (channels.isEmpty()) // the list held what the channels hold already
        for (const CsvImportPlan::Placed &placed : plan.placed)
            channels << placed.channel;
    std::sort(channels.begin(), channels.end());
    ShowInGrid(channels);
}

} // namespace

void ExportChannelsCsv(QWidget *parent)
{
    // What is typed goes out too; a field that refuses it comes first.
    if (!Windows::CommitTyped())
        return;
    QString path = QFileDialog::getSaveFileName(
        parent, Texts("导出 CSV 信道列表", "Export CSV Channel List"), QString(), Filter());
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".csv");
    ExportChannelsCsvTo(path, parent);
}

bool ExportChannelsCsvTo(const QString &path, QWidget *parent)
{
    if (!Windows::CommitTyped())
        return false;
    BilingualText error;
    if (!WriteChannelCsvFile(path, ExportChannelCsv(RadioData), &error)) {
        ShowWarning(parent, error);
        return false;
    }
    int count = 0;
    for (int n = 1; n <= ChannelCount; ++n)
        count += Record::IsEmpty(RadioData, n) ? 0 : 1;
    const QString shown = QDir::toNativeSeparators(path);
    ShowInformation(parent,
                    BilingualText{QStringLiteral("已导出 %1 个信道到 %2。").arg(count).arg(shown),
                                  (count == 1 ? QStringLiteral("Exported %1 channel to %2.")
                                              : QStringLiteral("Exported %1 channels to %2."))
                                      .arg(count)
                                      .arg(shown)});
    return true;
}

void ImportChannelsCsv(QWidget *parent)
{
    if (!Windows::CommitTyped())
        return;
    const QString path = QFileDialog::getOpenFileName(
        parent, Texts("导入 CSV 信道列表", "Import CSV Channel List"), QString(), Filter());
    if (!path.isEmpty())
        ImportChannelsCsvFrom(path, parent);
}

void ImportChannelsCsvFrom(const QString &path, QWidget *parent)
{
    if (!Windows::CommitTyped())
        return;
    QByteArray text;
    BilingualText error;
    if (!ReadChannelCsvFile(path, text, &error)) {
        ShowWarning(parent, error);
        return;
    }
    const CsvFile file = ParseChannelCsv(text, CurrentBand());
    if (file.error) {
        ShowWarning(parent, *file.error);
        return;
    }
    if (file.rows.isEmpty()) {
        ShowWarning(parent, BilingualText{QStringLiteral("文件中没有信道行。"),
                                          QStringLiteral("The file holds no channel rows.")});
        return;
    }
    CsvImportDialog dialog(file, CsvImportDialog::Use::Import, {}, parent);
    if (dialog.exec() == QDialog::Accepted)
        Store(ChangeKind::CsvImport, dialog.plan());
}

QByteArray ChannelsCsvText(const QList<int> &channels)
{
    return ExportChannelCsv(RadioData, channels);
}

void PasteChannelsCsv(const QByteArray &text, int at, QWidget *parent)
{
    const CsvFile file = ParseChannelCsv(text, CurrentBand());
    if (file.error || file.rows.isEmpty()) {
        ShowWarning(parent, BilingualText{QStringLiteral("剪贴板中没有信道列表。"),
                                          QStringLiteral("The clipboard holds no channel list.")});
        return;
    }
    const CsvPlacement placement{CsvPlacement::Mode::Relative, at};
    const CsvImportPlan plan = PlanCsvImport(file, placement, &RadioData);
    if (plan.report.isEmpty()) {
        Store(ChangeKind::Paste, plan);
        return;
    }
    CsvImportDialog dialog(file, CsvImportDialog::Use::Paste, placement, parent);
    if (dialog.exec() == QDialog::Accepted)
        Store(ChangeKind::Paste, dialog.plan());
}
