#include "ChildWindow.h"

#include "MainFrame.h"
#include "Windows.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QScopedValueRollback>

ChildWindow::ChildWindow(WindowId id, QWidget *parent) : QWidget(parent), id_(id)
{
    setAttribute(Qt::WA_DeleteOnClose);
}

ChildWindow::~ChildWindow()
{
    if (!unloaded_)
        OpenWindows[id_] = false;
}

void ChildWindow::load(const FrameSizes &sizes)
{
    sizes_ = sizes;
    loaded_ = true;
    OpenWindows[id_] = true;
    applyTexts();
    const QRect geometry = placement(sizes);
    QWidget *frame =
        parentWidget() && qobject_cast<QMdiSubWindow *>(parentWidget()) ? parentWidget() : this;
    frame->setGeometry(geometry);
    frame->show();
    onLoad();
}

QMdiArea *ChildWindow::mdiArea() const
{
    const auto *sub = qobject_cast<const QMdiSubWindow *>(parentWidget());
    return sub ? sub->mdiArea() : nullptr;
}

bool ChildWindow::unload()
{
    QWidget *frame = qobject_cast<QMdiSubWindow *>(parentWidget()) ? parentWidget() : this;
    return frame->close();
}

void ChildWindow::closeEvent(QCloseEvent *event)
{
    if (!canClose()) {
        event->ignore();
        return;
    }
    onUnload();
    OpenWindows[id_] = false;
    loaded_ = false;
    unloaded_ = true;
    event->accept();
    emit unloaded(id_);
    Windows::UnloadPartsOf(id_);
}

void ChildWindow::setEscapeButton(QAbstractButton *button) { escapeButton_ = button; }

QHBoxLayout *ChildWindow::buttonRow(std::initializer_list<QWidget *> buttons)
{
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    for (QWidget *button : buttons) {
        if (button != *buttons.begin())
            row->addSpacing(24);
        row->addWidget(button);
    }
    row->addStretch(1);
    return row;
}

ImageChange ChildWindow::store(ChangeKind kind, const std::function<void(ImageTable &)> &edit)
{
    const QScopedValueRollback<bool> storing(storing_, true);
    return ImageChanges::instance().apply(kind, edit);
}

void ChildWindow::keyPressEvent(QKeyEvent *event)
{
    // Reached when no control of the window took the key.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && escapeButton_
        && escapeButton_->isEnabled() && escapeButton_->isVisible()) {
        escapeButton_->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

QRect ChildWindow::centred(const FrameSizes &sizes, QSize size, int liftTwips)
{
    const QSize inner = sizes.inner;
    const int left = (inner.width() - size.width()) / 2;
    const int top = (inner.height() - size.height()) / 2 - Twips(liftTwips);
    return QRect(QPoint(std::max(0, left), std::max(0, top)), size);
}
