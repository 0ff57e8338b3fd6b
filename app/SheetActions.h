// File -> Print... and File -> Export PDF: the channel sheet of the image in
// memory, through Qt's print preview or straight into a PDF file.
#pragma once

class QWidget;

void PrintChannelSheetWithPreview(QWidget *parent);
void ExportChannelSheetPdf(QWidget *parent);
