// Form_Compare: what differs between the image in memory and a channel
// file, in the table the verify window shows. Neither side is changed; the
// table follows every change of the image.
#pragma once

#include "ChildWindow.h"

class DifferenceTable;
class QLabel;
class QPushButton;

class CompareWindow : public ChildWindow {
    Q_OBJECT
public:
    CompareWindow();

    // Asks for a file and compares with it; a cancelled choice keeps the
    // comparison shown.
    void chooseFile();
    // Reads the file and compares with it; false (message shown) when it
    // cannot be read, and the comparison shown stays.
    bool compareWith(const QString &path);

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;

private:
    void showResult();

    QLabel *file_;
    QLabel *result_;
    DifferenceTable *table_;
    QPushButton *choose_;
    QPushButton *close_;
};

// File_Compare: opens the window and asks for the file.
void OpenCompareWindow();
