#include "DifferenceTable.h"

#include "Language.h"

#include <QHeaderView>

DifferenceTable::DifferenceTable(QWidget *parent) : QTableWidget(0, 3, parent)
{
    setObjectName(QStringLiteral("Table_Diff"));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Arrows move through the rows; Tab goes on to the window's buttons.
    setTabKeyNavigation(false);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setAlternatingRowColors(true);
    verticalHeader()->setVisible(false);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    horizontalHeader()->setSectionResizeMode(1, QHeaderView::Stretch);
    horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
}

void DifferenceTable::setSides(const QString &left, const QString &right)
{
    setHorizontalHeaderLabels({Texts("项目", "Item"), left, right});
    setAccessibleName(Texts("不同之处", "Differences"));
}

void DifferenceTable::showDifferences(const QList<ImageDifference> &differences)
{
    setRowCount(int(differences.size()));
    for (int i = 0; i < differences.size(); ++i) {
        const ImageDifference &d = differences.at(i);
        const QString texts[] = {d.what + QStringLiteral("  ") + d.field,
                                 ShownDifferenceValue(d.left), ShownDifferenceValue(d.right)};
        for (int c = 0; c < 3; ++c) {
            auto *item = new QTableWidgetItem(texts[c]);
            item->setToolTip(texts[c]);
            setItem(i, c, item);
        }
    }
}
