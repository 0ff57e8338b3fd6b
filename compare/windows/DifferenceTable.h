// The table of differences that the verify and compare windows show: what
// differs (the channel and field, or the row and columns), then its text
// on each side. It only shows; it stores nothing.
#pragma once

#include "ImageDiff.h"

#include <QTableWidget>

class DifferenceTable : public QTableWidget {
    Q_OBJECT
public:
    explicit DifferenceTable(QWidget *parent = nullptr);

    // Column titles in the current language: "项目"/"Item", then the sides;
    // and the table's name for a screen reader.
    void setSides(const QString &left, const QString &right);
    void showDifferences(const QList<ImageDifference> &differences);
};
