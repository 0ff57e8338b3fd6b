#include "PowerWindow.h"

#include "Globals.h"
#include "ImageChanges.h"
#include "Language.h"
#include "Messages.h"
#include "RecordCodec.h"
#include "SerialLink.h"
#include "Windows.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace {

struct LevelNames {
    const char *slider, *title, *value;
    const char *chinese, *english;
};
const LevelNames Levels[Calibration::LevelCount] = {
    {"HScroll_L", "Label_Low", "Label_L", "低功率", "Low Power"},
    {"HScroll_M", "Label_Mid", "Label_M", "中功率", "Mid Power"},
    {"HScroll_H", "Label_High", "Label_H", "高功率", "High Power"},
};

} // namespace

PowerWindow::PowerWindow()
    : ChildWindow(WindowId::Power),
      exchange_({[this](const PowerLevels &levels) { radioReported(levels); },
                 [] { return CalibrationBlock(RadioData); }}),
      link_(new SerialLink(exchange_, *this, this))
{
    setObjectName(QStringLiteral("Form_Adjust_Txp"));

    auto *grid = new QGridLayout;
    grid->setHorizontalSpacing(16);
    grid->setVerticalSpacing(20);
    grid->setColumnStretch(1, 1);
    for (int k = 0; k < Calibration::LevelCount; ++k) {
        titles_[k] = new QLabel(this);
        titles_[k]->setObjectName(QString::fromLatin1(Levels[k].title));
        sliders_[k] = new QScrollBar(Qt::Horizontal, this);
        sliders_[k]->setObjectName(QString::fromLatin1(Levels[k].slider));
        sliders_[k]->setRange(0, 255);
        sliders_[k]->setSingleStep(1);
        sliders_[k]->setPageStep(1);
        sliders_[k]->setMinimumHeight(20);
        // A scroll bar takes no focus of its own; these are the window's
        // controls and are moved by the arrow keys too.
        sliders_[k]->setFocusPolicy(Qt::StrongFocus);
        values_[k] = new QLabel(QStringLiteral("0"), this);
        values_[k]->setObjectName(QString::fromLatin1(Levels[k].value));
        // Room for "255", so the slider does not shift as the value grows.
        values_[k]->setMinimumWidth(
            values_[k]->fontMetrics().horizontalAdvance(QStringLiteral("0000")));
        values_[k]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        titles_[k]->setBuddy(sliders_[k]);
        grid->addWidget(titles_[k], k, 0);
        grid->addWidget(sliders_[k], k, 1);
        grid->addWidget(values_[k], k, 2);
        connect(sliders_[k], &QScrollBar::valueChanged, this,
                [this, k](int value) { sliderMoved(k, value); });
    }

    // Made after the sliders: a screen reader reviews them in this order.
    close_ = new QPushButton(this);
    close_->setObjectName(QStringLiteral("Command_Close"));
    help_ = new QPushButton(this);
    help_->setObjectName(QStringLiteral("Command_Help"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {close_, help_}) {
        button->setMinimumWidth(90);
        buttons->addWidget(button);
        buttons->addStretch();
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addStretch();
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(close_, &QPushButton::clicked, this, [this] { unload(); });
    setEscapeButton(close_);
    // The help button has never had an action.
}

// A window that goes without its close handler (the program ends) still
// tells a connected radio to leave. The link goes before the exchange: its
// port and timers must not outlive it.
PowerWindow::~PowerWindow()
{
    link_->engine().closeRequested();
    delete link_;
}

RadioLink &PowerWindow::engine() { return link_->engine(); }

void PowerWindow::applyTexts()
{
    setWindowTitle(Texts("发射功率调整", "Power Adjust"));
    for (int k = 0; k < Calibration::LevelCount; ++k)
        titles_[k]->setText(Texts(Levels[k].chinese, Levels[k].english));
    close_->setText(Texts("关闭", "Close"));
    help_->setText(Texts("帮助", "Help"));
}

QRect PowerWindow::placement(const FrameSizes &sizes) const
{
    const QSize main = sizes.window;
    const int width = int(main.width() / 1.8);
    const int height = main.height() / 2;
    return QRect((main.width() - width) / 2, (main.height() - height) / 3, width, height);
}

void PowerWindow::onLoad() { link_->engine().windowOpened(); }

bool PowerWindow::canClose() { return link_->engine().closeRequested(); }

void PowerWindow::showMessage(const PromptMessage &message) { ShowWarning(this, message); }

void PowerWindow::closeWindow() { Windows::Unload(windowId()); }

void PowerWindow::portOpenTried(bool opened) { PortErrorFlag = !opened; }

// The radio's values become the image's and the sliders'. A slider that
// changes counts as moved, as it would by hand, but the link sends nothing
// until the identification is through; the first frame then carries them.
void PowerWindow::radioReported(const PowerLevels &levels)
{
    PowerLevels shown;
    for (int k = 0; k < Calibration::LevelCount; ++k)
        shown[k] = sliders_[k]->value();
    ImageChanges::instance().apply(ChangeKind::PowerCalibration, [&](ImageTable &image) {
        StorePowerLevels(image, levels, shown);
    });
    for (int k = 0; k < Calibration::LevelCount; ++k) {
        const QSignalBlocker quiet(sliders_[k]);
        sliders_[k]->setValue(levels[k]);
        values_[k]->setText(QString::number(sliders_[k]->value()));
    }
}

void PowerWindow::sliderMoved(int level, int value)
{
    values_[level]->setText(QString::number(value));
    ImageChanges::instance().apply(ChangeKind::PowerCalibration, [&](ImageTable &image) {
        StorePowerLevel(image, level, value);
    });
    link_->engine().sendNow();
}
