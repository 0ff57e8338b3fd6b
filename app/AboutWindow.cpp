#include "AboutWindow.h"

#include "AboutTexts.h"
#include "Language.h"
#include "Messages.h"
#include "SystemInfoTool.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

QLabel *WrappedLabel(const char *name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setWordWrap(true);
    return label;
}

} // namespace

AboutWindow::AboutWindow()
    : ChildWindow(WindowId::About),
      title_(WrappedLabel("lblTitle", this)),
      version_(WrappedLabel("lblVersion", this)),
      description_(WrappedLabel("lblDescription", this)),
      disclaimer_(WrappedLabel("lblDisclaimer", this)),
      ok_(new QPushButton(this)),
      systemInfo_(new QPushButton(this))
{
    setObjectName(QStringLiteral("frmAbout"));
    ok_->setObjectName(QStringLiteral("cmdOK"));
    systemInfo_->setObjectName(QStringLiteral("cmdSysInfo"));
    ok_->setDefault(true);

    QFont titleFont = title_->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.2);
    title_->setFont(titleFont);

    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto *buttons = new QVBoxLayout;
    buttons->addWidget(ok_);
    buttons->addWidget(systemInfo_);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(disclaimer_, 1);
    bottom->addLayout(buttons);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    layout->addWidget(version_);
    layout->addWidget(description_);
    layout->addStretch();
    layout->addWidget(line);
    layout->addLayout(bottom);

    connect(ok_, &QPushButton::clicked, this, [this] { unload(); });
    setEscapeButton(ok_);
    connect(systemInfo_, &QPushButton::clicked, this, &AboutWindow::startSystemInfo);
}

void AboutWindow::applyTexts()
{
    SetAboutTexts();
    setWindowTitle(Texts("关于", "About"));
    title_->setText(AboutTexts.title);
    version_->setText(AboutTexts.version);
    description_->setText(AboutTexts.description);
    disclaimer_->setText(AboutTexts.disclaimer);
    ok_->setText(AboutTexts.ok);
    systemInfo_->setText(AboutTexts.systemInfo);
}

QRect AboutWindow::placement(const FrameSizes &sizes) const
{
    const QSize inner = sizes.inner;
    return centred(sizes, QSize(std::min(560, inner.width()), std::min(270, inner.height())), 500);
}

void AboutWindow::startSystemInfo()
{
    if (!StartSystemInfoTool())
        ShowPlainMessage(this, QStringLiteral("此时系统信息不可用"));
}
