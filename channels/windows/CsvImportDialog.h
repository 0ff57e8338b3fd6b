// The import report (Form_Csv_Import): every changed or refused row of a
// CSV channel list with its line, column and reason, before anything is
// stored. The user chooses where the rows go (the file's channel numbers,
// or in file order from a chosen channel) and applies or cancels. A paste
// shows the same report without the choice: pasted rows go from the
// channel pasted on.
#pragma once

#include "ChannelCsv.h"

#include <QDialog>

class QLabel;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableWidget;

class CsvImportDialog : public QDialog {
    Q_OBJECT
public:
    enum class Use { Import, Paste };
    CsvImportDialog(CsvFile file, Use use, CsvPlacement placement, QWidget *parent = nullptr);

    // What Apply stores.
    const CsvImportPlan &plan() const { return plan_; }

private:
    void applyTexts();
    void replan();

    CsvFile file_;
    Use use_;
    CsvPlacement placement_;
    CsvImportPlan plan_;
    QRadioButton *fileNumbers_ = nullptr;
    QRadioButton *fileOrder_ = nullptr;
    QSpinBox *firstChannel_ = nullptr;
    QTableWidget *report_ = nullptr;
    QLabel *clean_ = nullptr;
    QLabel *summary_ = nullptr;
    QPushButton *apply_ = nullptr;
    QPushButton *cancel_ = nullptr;
};
