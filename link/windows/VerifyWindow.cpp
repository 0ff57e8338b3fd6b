#include "VerifyWindow.h"

#include "DifferenceTable.h"
#include "ImageChanges.h"
#include "Language.h"
#include "Messages.h"
#include "SerialLink.h"
#include "SpokenStatus.h"
#include "Windows.h"
#include "WritePreparation.h"

#include <QDateTime>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace {

// The radio's rows 0..239 as the last completed verify read them. Kept
// beyond the window, so that a language switch (which reloads it) or a
// reopening still shows the result, compared with the image as it is now.
struct LastRead {
    std::unique_ptr<ImageTable> radio;
    QTime time;
};
LastRead &Last()
{
    static LastRead last;
    return last;
}

// The next opening follows a completed write.
bool &AfterWrite()
{
    static bool afterWrite = false;
    return afterWrite;
}

} // namespace

VerifyWindow::VerifyWindow()
    : ChildWindow(WindowId::Verify),
      link_(new SerialLink(exchange_, *this, this)),
      status_(new QLabel(this)),
      progress_(new QProgressBar(this)),
      result_(new QLabel(this)),
      table_(new DifferenceTable(this)),
      start_(new QPushButton(this)),
      close_(new QPushButton(this))
{
    setObjectName(QStringLiteral("Form_Verify"));
    status_->setObjectName(QStringLiteral("Label_tr_count"));
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    result_->setObjectName(QStringLiteral("Label_Result"));
    start_->setObjectName(QStringLiteral("Command_Verify"));
    close_->setObjectName(QStringLiteral("Command_Close"));
    progress_->setRange(0, 100);
    progress_->setValue(0);
    result_->setWordWrap(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    for (QPushButton *button : {start_, close_}) {
        button->setMinimumWidth(90);
        buttons->addWidget(button);
        buttons->addStretch();
    }
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(16, 12, 16, 12);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addWidget(result_);
    layout->addWidget(table_, 1);
    layout->addLayout(buttons);

    connect(start_, &QPushButton::clicked, this, [this] { start(); });
    connect(close_, &QPushButton::clicked, this, [this] { unload(); });
    setEscapeButton(close_);
    // The comparison is with the image as it is now.
    connect(&ImageChanges::instance(), &ImageChanges::rowsChanged, this, [this] {
        if (Last().radio && !engine().busy())
            showResult();
    });
}

// The link goes first: its port and timers must not outlive the exchange.
VerifyWindow::~VerifyWindow() { delete link_; }

RadioLink &VerifyWindow::engine() { return link_->engine(); }

void VerifyWindow::OfferAfterWrite()
{
    AfterWrite() = true;
    Windows::Open(WindowId::Verify);
    AfterWrite() = false;
}

void VerifyWindow::ForgetLastRead() { Last().radio.reset(); }

void VerifyWindow::applyTexts()
{
    setWindowTitle(Texts("校验对讲机数据", "Verify Radio"));
    start_->setText(Texts("校验", "Verify"));
    close_->setText(Texts("关闭", "Close"));
    progress_->setAccessibleName(Texts("校验进度", "Verify progress"));
    table_->setSides(Texts("内存中的数据", "In memory"), Texts("对讲机中的数据", "In the radio"));
}

QRect VerifyWindow::placement(const FrameSizes &sizes) const
{
    const QSize main = sizes.window;
    const int width = int(main.width() / 1.4);
    const int height = int(main.height() / 1.5);
    return QRect((main.width() - width) / 2, (main.height() - height) / 4, width, height);
}

void VerifyWindow::onLoad()
{
    engine().windowOpened();
    if (AfterWrite()) {
        ShowStatus(status_,
                   Texts("数据写入完毕。单击“校验”读回对讲机中的数据，与写入的数据比较。",
                         "Writing complete. Click Verify to read the radio back and compare it "
                         "with what was written."));
        start_->setDefault(true);
        start_->setFocus();
    } else if (Last().radio) {
        status_->setText(
            Texts("上次校验 %1 读取的对讲机数据：", "The radio as the verify at %1 read it:")
                .arg(Last().time.toString(QStringLiteral("HH:mm:ss"))));
        progress_->setValue(100);
        showResult();
    } else {
        ShowStatus(status_,
                   Texts("单击“校验”读回对讲机中的数据（第 0..239 块），与内存中的数据比较。",
                         "Click Verify to read the radio back (blocks 0..239) and compare it "
                         "with the image in memory."));
    }
}

bool VerifyWindow::canClose() { return engine().closeRequested(); }

void VerifyWindow::start()
{
    // A finished verify may be run again.
    if (engine().done())
        engine().windowOpened();
    if (!engine().busy()) {
        table_->showDifferences({});
        result_->clear();
    }
    engine().startPressed();
}

void VerifyWindow::showResult()
{
    if (!Last().radio)
        return;
    std::optional<BilingualText> refusal;
    const auto expected = std::make_unique<ImageTable>(PreparedForRadio(RadioData, &refusal));
    const QList<ImageDifference> differences =
        DiffImages(*expected, *Last().radio, 0, WriteBlockCount - 1);
    table_->showDifferences(differences);
    QString text =
        differences.isEmpty()
            ? Texts("对讲机中的数据与内存中的数据一致 ！",
                    "The radio holds what a write of the memory image sends.")
            : Texts("发现 %1 处不同 ！", "%1 differences found.").arg(differences.size());
    // Such an image cannot be written as it is; the comparison stands.
    if (refusal)
        text +=
            u'\n'
            + Texts("注意：内存中的数据无法写入：", "Note: the memory image cannot be written: ")
            + refusal->text().trimmed();
    ShowStatus(result_, text);
}

void VerifyWindow::showMessage(const PromptMessage &message) { ShowWarning(this, message); }

void VerifyWindow::setProgress(int percent) { progress_->setValue(percent); }

void VerifyWindow::setStatus(const BilingualText &status) { ShowStatus(status_, status.text()); }

// Nothing unloads the window when the verify is done (its rules ask for no
// close poll); the user reads the result.
void VerifyWindow::closeWindow() { }

void VerifyWindow::portOpenTried(bool opened) { PortErrorFlag = !opened; }

void VerifyWindow::transferEnded(bool completed)
{
    if (!completed) {
        ShowStatus(result_, Texts("校验未完成。", "The verify did not complete."));
        return;
    }
    Last().radio = std::make_unique<ImageTable>(VerifiedRows(exchange_.blocks()));
    Last().time = QTime::currentTime();
    showResult();
}
