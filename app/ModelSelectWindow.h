// Form_type: choosing the radio model. The choice sets the band limits the
// editors check against, the radio's band-limit record and the VFO.
#pragma once

#include "ChildWindow.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;

class ModelSelectWindow : public ChildWindow {
    Q_OBJECT
public:
    ModelSelectWindow();

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void modelSelected(int position);
    void showBands(int position);
    void confirm();

    QLabel *modelLabel_;
    QComboBox *models_;
    QLabel *mainBandLabel_;
    QLabel *mainBand_;
    QLabel *subBandLabel_;
    QLabel *subBand_;
    QCheckBox *subBandReceive_;
    QPushButton *confirm_;
    QPushButton *cancel_;
};

// Text of a band label: " UHF400 --  470 MHZ". The upper limit gets the
// sign blank of a positive number unless upperBlank is false.
QString BandLabelText(const QString &word, double low, double high, bool upperBlank = true);

// Undo or redo wrote the band-limit record: the editors' limits, the model
// chosen and the status bar follow the record, as choosing the model set
// them. The model stays as it is when no model has those limits.
void FollowBandRecord();
