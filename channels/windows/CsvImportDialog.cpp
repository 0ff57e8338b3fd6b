#include "CsvImportDialog.h"

#include "Language.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

CsvImportDialog::CsvImportDialog(CsvFile file, Use use, CsvPlacement placement, QWidget *parent)
    : QDialog(parent), file_(std::move(file)), use_(use), placement_(placement)
{
    setObjectName(QStringLiteral("Form_Csv_Import"));
    setModal(true);

    fileNumbers_ = new QRadioButton(this);
    fileNumbers_->setObjectName(QStringLiteral("Option_FileNumbers"));
    fileOrder_ = new QRadioButton(this);
    fileOrder_->setObjectName(QStringLiteral("Option_FileOrder"));
    auto *group = new QButtonGroup(this);
    group->addButton(fileNumbers_);
    group->addButton(fileOrder_);
    firstChannel_ = new QSpinBox(this);
    firstChannel_->setObjectName(QStringLiteral("Spin_FirstChannel"));
    firstChannel_->setRange(1, ChannelCount);
    firstChannel_->setValue(placement_.firstChannel);
    // Without a Location column there are no numbers to keep.
    fileNumbers_->setEnabled(file_.hasLocation);
    const bool inOrder = placement_.mode == CsvPlacement::Mode::FileOrder || !file_.hasLocation;
    (inOrder ? fileOrder_ : fileNumbers_)->setChecked(true);
    firstChannel_->setEnabled(inOrder);

    report_ = new QTableWidget(0, 4, this);
    report_->setObjectName(QStringLiteral("Table_Report"));
    report_->verticalHeader()->hide();
    report_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    report_->setTabKeyNavigation(false); // arrows through the rows, Tab on
    report_->setSelectionBehavior(QAbstractItemView::SelectRows);
    report_->horizontalHeader()->setStretchLastSection(true);
    report_->setWordWrap(false);
    clean_ = new QLabel(this);
    clean_->setObjectName(QStringLiteral("Label_Clean"));
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("Label_Summary"));
    apply_ = new QPushButton(this);
    apply_->setObjectName(QStringLiteral("Command_Apply"));
    apply_->setDefault(true);
    cancel_ = new QPushButton(this);
    cancel_->setObjectName(QStringLiteral("Command_Cancel"));

    auto *order = new QHBoxLayout;
    order->addWidget(fileOrder_);
    order->addWidget(firstChannel_);
    order->addStretch(1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(summary_, 1);
    buttons->addWidget(apply_);
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    // The placement choice belongs to an import; a paste lays it out hidden.
    layout->addWidget(fileNumbers_);
    layout->addLayout(order);
    if (use_ == Use::Paste) {
        fileNumbers_->hide();
        fileOrder_->hide();
        firstChannel_->hide();
    }
    layout->addWidget(clean_);
    layout->addWidget(report_, 1);
    layout->addLayout(buttons);

    connect(fileNumbers_, &QRadioButton::toggled, this, [this] { replan(); });
    connect(firstChannel_, &QSpinBox::valueChanged, this, [this] { replan(); });
    connect(apply_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    applyTexts();
    replan();
    resize(760, 420);
}

void CsvImportDialog::applyTexts()
{
    setWindowTitle(use_ == Use::Import ? Texts("导入 CSV 信道列表", "Import CSV Channel List")
                                       : Texts("粘贴信道", "Paste Channels"));
    fileNumbers_->setText(Texts("使用文件中的信道号", "Keep the file's channel numbers"));
    fileOrder_->setText(Texts("按文件顺序放置，从信道", "Place rows in file order from channel"));
    report_->setHorizontalHeaderLabels({Texts("行", "Line"), Texts("列", "Column"),
                                        Texts("结果", "Result"), Texts("原因", "Reason")});
    firstChannel_->setAccessibleName(Texts("起始信道", "First channel"));
    report_->setAccessibleName(Texts("导入报告", "Import report"));
    apply_->setText(Texts("应用", "Apply"));
    cancel_->setText(Texts("取消", "Cancel"));
}

void CsvImportDialog::replan()
{
    if (use_ == Use::Import) {
        placement_.mode = fileNumbers_->isChecked() ? CsvPlacement::Mode::FileNumbers
                                                    : CsvPlacement::Mode::FileOrder;
        placement_.firstChannel = firstChannel_->value();
        firstChannel_->setEnabled(fileOrder_->isChecked());
    }
    plan_ = PlanCsvImport(file_, placement_, &RadioData);

    report_->setRowCount(int(plan_.report.size()));
    for (int i = 0; i < plan_.report.size(); ++i) {
        const CsvIssue &issue = plan_.report.at(i);
        const QString result = issue.kind == CsvIssue::Kind::Refused   ? Texts("拒绝", "refused")
                               : issue.kind == CsvIssue::Kind::Changed ? Texts("已更改", "changed")
                                                                       : Texts("说明", "note");
        const QStringList cells{QString::number(issue.line), issue.column, result,
                                issue.reason.text()};
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            item->setToolTip(CsvIssueText(issue));
            item->setData(Qt::AccessibleDescriptionRole, item->toolTip()); // heard, not hovered
            report_->setItem(i, c, item);
        }
    }
    report_->resizeColumnsToContents();
    clean_->setText(
        plan_.report.isEmpty()
            ? Texts("每一行都将按文件中的内容写入。", "Every row is applied as the file has it.")
            : Texts(
                "以下各行有更改或被拒绝（行号从表头第 1 行算起）：",
                "These rows are changed or refused (line numbers count the header as line 1):"));
    summary_->setText(CsvPlanSummary(plan_));
    apply_->setEnabled(!plan_.placed.isEmpty());
}
