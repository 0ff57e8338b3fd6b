// Form_Batch_Write: the image in memory written into several radios at
// once, one per ticked serial port, or into one radio after another on each
// port (the production line) until stopped. Each port has its own progress,
// result and, after a failure, its own retry.
#pragma once

#include "ChildWindow.h"
#include "Language.h"

class Fleet;
class PortStation;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;
struct PortRecord;

class BatchWriteWindow : public ChildWindow {
    Q_OBJECT
public:
    BatchWriteWindow();
    ~BatchWriteWindow() override;

    bool running() const;
    Fleet *fleet() const { return fleet_; }

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;
    bool canClose() override;
    void onUnload() override;

private:
    enum Column {
        PortColumn,
        ProgressColumn,
        ResultColumn,
        TimeColumn,
        AttemptsColumn,
        RetryColumn,
        ColumnCount
    };

    void listPorts();
    int addPortRow(const QString &device, const BilingualText &label);
    int rowOf(const QString &device) const;
    void addTypedPort();
    void start();
    void stop();
    void showStation(PortStation *station);
    void recorded(const PortRecord &record);
    void finished();
    void showCount();
    void setRunning(bool running);
    void nameRetry(QPushButton *retry, int row);
    void nameProgress(int row);

    Fleet *fleet_ = nullptr;
    bool stopping_ = false;
    QLabel *portsLabel_;
    QTableWidget *table_;
    QLineEdit *device_;
    QPushButton *add_;
    QPushButton *refresh_;
    QCheckBox *each_;
    QCheckBox *verify_;
    QLabel *count_;
    QLabel *status_;
    QPushButton *start_;
    QPushButton *stop_;
    QPushButton *close_;
};
