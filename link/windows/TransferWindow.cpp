#include "TransferWindow.h"

#include "Globals.h"
#include "ImageChanges.h"
#include "ImageOrigin.h"
#include "Language.h"
#include "Messages.h"
#include "ReadExchange.h"
#include "SerialLink.h"
#include "SpokenStatus.h"
#include "VerifyWindow.h"
#include "Windows.h"
#include "WritePreparation.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const TransferCaptions ReadCaptions{
    "Form_Comm_Read",
    {QStringLiteral("从对讲机读取数据"), QStringLiteral("Read Data From Radio")},
    "Command_read",
    {QStringLiteral("读取"), QStringLiteral("Read")},
    {QStringLiteral("读取进度"), QStringLiteral("Read progress")}};
const TransferCaptions WriteCaptions{
    "Form_Comm_Write",
    {QStringLiteral("写数据到对讲机"), QStringLiteral("Write Data to Radio")},
    "Command_Write",
    {QStringLiteral("写入"), QStringLiteral("Write")},
    {QStringLiteral("写入进度"), QStringLiteral("Write progress")}};

} // namespace

TransferWindow::TransferWindow(WindowId id, const TransferCaptions &captions,
                               std::unique_ptr<LinkExchange> exchange)
    : ChildWindow(id),
      captions_(captions),
      exchange_(std::move(exchange)),
      link_(new SerialLink(*exchange_, *this, this)),
      status_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      start_(new QPushButton(this)),
      cancel_(new QPushButton(this)),
      help_(new QPushButton(this))
{
    setObjectName(QString::fromLatin1(captions.name));
    status_->setObjectName(QStringLiteral("Label_tr_count"));
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    start_->setObjectName(QString::fromLatin1(captions.startName));
    cancel_->setObjectName(QStringLiteral("Command_Cancel"));
    help_->setObjectName(QStringLiteral("Command_Help"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    progress_->setTextVisible(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {start_, cancel_, help_}) {
        button->setMinimumWidth(90);
        buttons->addWidget(button);
        buttons->addStretch();
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 16, 24, 16);
    layout->addStretch();
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(start_, &QPushButton::clicked, this, [this] {
        // Typed elsewhere while this window was open: stored (or refused)
        // before the image is taken or replaced.
        if (!link_->engine().busy() && !Windows::CommitTyped())
            return;
        link_->engine().startPressed();
    });
    connect(cancel_, &QPushButton::clicked, this, [this] { unload(); });
    setEscapeButton(cancel_);
    // The help button has never had an action.
}

// The link goes first: its port and timers must not outlive the exchange.
TransferWindow::~TransferWindow() { delete link_; }

RadioLink &TransferWindow::engine() { return link_->engine(); }

void TransferWindow::applyTexts()
{
    setWindowTitle(captions_.title.text());
    start_->setText(captions_.start.text());
    cancel_->setText(Texts("取消", "Cancel"));
    help_->setText(Texts("帮助", "Help"));
    progress_->setAccessibleName(captions_.progress.text());
}

QRect TransferWindow::placement(const FrameSizes &sizes) const
{
    const QSize main = sizes.window;
    const int width = int(main.width() / 1.6);
    const int height = main.height() / 3;
    return QRect((main.width() - width) / 2, int((main.height() - height) / 1.45), width, height);
}

void TransferWindow::onLoad() { link_->engine().windowOpened(); }

bool TransferWindow::canClose() { return link_->engine().closeRequested(); }

void TransferWindow::showMessage(const PromptMessage &message) { ShowWarning(this, message); }

void TransferWindow::setProgress(int percent)
{
    progress_->setVisible(true);
    progress_->setValue(percent);
}

void TransferWindow::setStatus(const BilingualText &status) { ShowStatus(status_, status.text()); }

void TransferWindow::closeWindow() { Windows::Unload(windowId()); }

void TransferWindow::portOpenTried(bool opened) { PortErrorFlag = !opened; }

ReadWindow::ReadWindow() : ReadWindow(new ReadExchange) { }

ReadWindow::ReadWindow(ReadExchange *read)
    : TransferWindow(WindowId::Read, ReadCaptions, std::unique_ptr<LinkExchange>(read)), read_(read)
{ }

void ReadWindow::transferEnded(bool completed)
{
    if (!completed)
        return;
    ImageChanges::instance().apply(ChangeKind::CompletedRead, [this](ImageTable &image) {
        StoreBlocks(read_->blocks(), image);
    });
    ImageOrigin::instance().radioRead();
}

WriteWindow::WriteWindow()
    : TransferWindow(WindowId::Write, WriteCaptions,
                     std::make_unique<WriteExchange>(PrepareWriteBlocks))
{ }

void WriteWindow::transferEnded(bool completed)
{
    if (!completed)
        return;
    // The radio now holds something else than a verify read before.
    VerifyWindow::ForgetLastRead();
    offerVerify_ = true;
}

// Once the finished write has gone, the verify is one click away.
void WriteWindow::onUnload()
{
    QMdiArea *area = mdiArea();
    if (!offerVerify_ || !area)
        return;
    QTimer::singleShot(0, area, [] { VerifyWindow::OfferAfterWrite(); });
}
