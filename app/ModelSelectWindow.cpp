#include "ModelSelectWindow.h"

#include "Conversions.h"
#include "ImageChanges.h"
#include "ImageRoutines.h"
#include "Language.h"
#include "RecordCodec.h"
#include "SessionState.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QString MainBandWord(int position) { return position == 0 ? "UHF" : "VHF"; }

// The dual-band models pair UHF with VHF: table entry 1 is the sub band of
// entry 0 and entry 0 that of every other model.
QString SubBandWord(int position) { return position == 0 ? "VHF" : "UHF"; }
int SubBandEntry(int position) { return position == 0 ? 1 : 0; }

void SetBandFromRecord()
{
    const BandLimits limits = DecodeBandLimits(RadioData);
    SessionState::instance().setBand(limits.low, limits.high);
}

// The model at that position with its band, for the editors and for the
// status bar.
void ChooseModel(int position)
{
    const double low = BandTable[position];
    const double high = BandTable[position + ModelCount];
    SessionState::instance().setBand(low, high);
    SessionState::instance().setModel(position, low, high);
}

} // namespace

void FollowBandRecord()
{
    SetBandFromRecord();
    const int model = ModelByBand(int(BandLowMHz), int(BandHighMHz)).value_or(ModelIndex);
    SessionState::instance().setModel(model, BandLowMHz, BandHighMHz);
}

QString BandLabelText(const QString &word, double low, double high, bool upperBlank)
{
    return u' ' + word + NumberText(low) + QStringLiteral(" -- ")
           + (upperBlank ? SignedNumberText(high) : NumberText(high)) + QStringLiteral(" MHZ");
}

ModelSelectWindow::ModelSelectWindow()
    : ChildWindow(WindowId::ModelSelect),
      modelLabel_(new QLabel(this)),
      models_(new QComboBox(this)),
      mainBandLabel_(new QLabel(this)),
      mainBand_(new QLabel(this)),
      subBandLabel_(new QLabel(this)),
      subBand_(new QLabel(this)),
      subBandReceive_(new QCheckBox(this)),
      confirm_(new QPushButton(this)),
      cancel_(new QPushButton(this))
{
    setObjectName(QStringLiteral("Form_type"));
    modelLabel_->setObjectName(QStringLiteral("Label1"));
    models_->setObjectName(QStringLiteral("Combo_type"));
    mainBandLabel_->setObjectName(QStringLiteral("Label2"));
    mainBand_->setObjectName(QStringLiteral("Label_band"));
    subBandLabel_->setObjectName(QStringLiteral("Label3"));
    subBand_->setObjectName(QStringLiteral("Label_SubBand"));
    subBandReceive_->setObjectName(QStringLiteral("Check_SC"));
    confirm_->setObjectName(QStringLiteral("Command_enter"));
    cancel_->setObjectName(QStringLiteral("Command_Cancel"));

    models_->setEditable(false); // pick-only
    models_->installEventFilter(this);
    for (QLabel *label : {mainBand_, subBand_}) {
        label->setFrameShape(QFrame::Panel);
        label->setFrameShadow(QFrame::Sunken);
        label->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    }

    auto *grid = new QGridLayout;
    grid->addWidget(modelLabel_, 0, 0);
    grid->addWidget(models_, 0, 1, 1, 2);
    grid->addWidget(mainBandLabel_, 1, 0);
    grid->addWidget(mainBand_, 1, 1, 1, 2);
    grid->addWidget(subBandLabel_, 2, 0);
    grid->addWidget(subBand_, 2, 1);
    grid->addWidget(subBandReceive_, 2, 2);
    grid->setColumnStretch(1, 1);
    grid->setVerticalSpacing(12);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(confirm_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    // The window is as tall as its controls (see placement); should it be
    // made taller, the room goes below them.
    auto *page = new QVBoxLayout(this);
    page->addLayout(grid);
    page->addSpacing(24);
    page->addLayout(buttons);
    page->addStretch(1);

    connect(models_, &QComboBox::currentIndexChanged, this, [this](int position) {
        if (position >= 0)
            modelSelected(position);
    });
    // Stored at once, so Cancel keeps it.
    connect(subBandReceive_, &QCheckBox::toggled, this, [](bool on) {
        ImageChanges::instance().apply(ChangeKind::ModelSelect, [on](ImageTable &image) {
            Options::SubBandReceive.set(image, on);
        });
    });
    connect(confirm_, &QPushButton::clicked, this, &ModelSelectWindow::confirm);
    connect(cancel_, &QPushButton::clicked, this, [this] { unload(); });
    setEscapeButton(cancel_);
    modelLabel_->setBuddy(models_);
}

void ModelSelectWindow::applyTexts()
{
    setWindowTitle(Texts("机型选择", "Model Select"));
    modelLabel_->setText(Texts("机  型", "Model"));
    mainBandLabel_->setText(Texts("主频段", "Main band"));
    subBandLabel_->setText(Texts("副频段", "Vice-band"));
    subBandReceive_->setText(Texts("接收允许", "Receive Enabled"));
    subBandReceive_->setAccessibleDescription(Texts("在副频段上接收", "Receive on the vice-band"));
    confirm_->setText(Texts("确 定", "Confirm"));
    cancel_->setText(Texts("取 消", "Cancel"));
}

QRect ModelSelectWindow::placement(const FrameSizes &sizes) const
{
    // The width follows the main window; the height is what the controls
    // need, title bar and frame included, so that no empty band sits above
    // or below them (a fixed share of the main window's height left one).
    const QSize inner = sizes.inner;
    const QWidget *frame = parentWidget() ? parentWidget() : this;
    return centred(sizes, QSize(qRound(inner.width() / 1.8), frame->sizeHint().height()), 500);
}

void ModelSelectWindow::onLoad()
{
    // Fill without selecting, so that choosing ModelIndex below runs the
    // selection handler like a user's pick.
    {
        const QSignalBlocker quiet(models_);
        models_->clear();
        for (const QString &name : ModelNames)
            models_->addItem(name);
        models_->setCurrentIndex(-1);
    }
    models_->setCurrentIndex(ModelIndex);

    const int position = models_->currentIndex();
    ChooseModel(position);

    // The editors check against what the radio itself says it covers.
    SetBandFromRecord();
    mainBand_->setText(BandLabelText(MainBandWord(position), BandLowMHz, BandHighMHz, false));
    const int sub = SubBandEntry(position);
    subBand_->setText(
        BandLabelText(SubBandWord(position), BandTable[sub], BandTable[sub + ModelCount]));

    subBandReceive_->setChecked(Options::SubBandReceive.get(RadioData));

    // With the band texts in, the labels have their full height: fit the
    // window to them.
    if (QWidget *frame = parentWidget())
        frame->setGeometry(placement(frameSizes()));
}

bool ModelSelectWindow::eventFilter(QObject *watched, QEvent *event)
{
    // Pick-only: a typed letter would otherwise jump to a matching model.
    // Space still opens the list.
    if (watched == models_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool typing =
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            && !key->text().isEmpty() && key->text().at(0).isPrint();
        if (typing && key->key() != Qt::Key_Space)
            return true;
    }
    return ChildWindow::eventFilter(watched, event);
}

void ModelSelectWindow::modelSelected(int position)
{
    SetBandFromRecord();
    showBands(position);
}

void ModelSelectWindow::showBands(int position)
{
    if (position == ModelIndex) {
        const int sub = SubBandEntry(position);
        mainBand_->setText(BandLabelText(MainBandWord(position), BandLowMHz, BandHighMHz));
        subBand_->setText(
            BandLabelText(SubBandWord(position), BandTable[sub], BandTable[sub + ModelCount]));
    } else {
        mainBand_->setText(BandLabelText(MainBandWord(position), BandTable[position],
                                         BandTable[position + ModelCount]));
        subBand_->setText(BandLabelText(SubBandWord(position), BandLowMHz, BandHighMHz));
    }
}

void ModelSelectWindow::confirm()
{
    const int position = models_->currentIndex();
    ChooseModel(position);
    // The band record follows, and the VFO moves to a fixed point just
    // inside the new band.
    ImageChanges::instance().apply(ChangeKind::ModelSelect, [position](ImageTable &image) {
        StoreModelChoice(image, position);
    });

    showBands(position);
    unload();
}
