#include "SheetActions.h"

#include "ChannelSheet.h"
#include "Language.h"
#include "Messages.h"
#include "Windows.h"

#include <QFileDialog>
#include <QLocale>
#include <QPrintPreviewDialog>
#include <QPrinter>

namespace {

// Paper as the user's region uses it: Letter where US customary units rule.
QPageSize RegionalPaper()
{
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem
                         ? QPageSize::Letter
                         : QPageSize::A4);
}

} // namespace

void PrintChannelSheetWithPreview(QWidget *parent)
{
    // The sheet shows what is typed; a field that refuses it comes first.
    if (!Windows::CommitTyped())
        return;
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(RegionalPaper());
    printer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
    printer.setDocName(Texts("QL540 信道表", "QL540 Channel Sheet"));
    QPrintPreviewDialog preview(&printer, parent);
    preview.setObjectName(QStringLiteral("Form_Print_Preview"));
    preview.setWindowTitle(Texts("打印预览", "Print Preview"));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [](QPrinter *target) { PaintChannelSheet(RadioData, *target); });
    preview.exec();
}

void ExportChannelSheetPdf(QWidget *parent)
{
    if (!Windows::CommitTyped())
        return;
    QString path = QFileDialog::getSaveFileName(parent, Texts("导出 PDF", "Export PDF"), QString(),
                                                Texts("PDF 文件 (*.pdf)", "PDF files (*.pdf)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
        path += QLatin1String(".pdf");
    QString error;
    if (!SaveChannelSheetPdf(RadioData, path, RegionalPaper(), &error))
        ShowWarning(parent, BilingualText{QStringLiteral("无法写入 %1：%2").arg(path, error),
                                          QStringLiteral("Cannot write %1: %2").arg(path, error)});
}
