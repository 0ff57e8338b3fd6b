#include "ListWheelGuard.h"

#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QPointer>

namespace {

class Guard : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *list = qobject_cast<QComboBox *>(watched);
        if (!list)
            return false;
        // The default focus policy lets the wheel give a list the focus
        // before the list sees the wheel.
        if (event->type() == QEvent::Polish && list->focusPolicy() == Qt::WheelFocus)
            list->setFocusPolicy(Qt::StrongFocus);
        if (event->type() == QEvent::Wheel && !ListTakesWheel(list)) {
            event->ignore(); // passed on to the parent
            return true;
        }
        return false;
    }
};

} // namespace

void InstallListWheelGuard()
{
    static QPointer<Guard> guard;
    if (guard || !qApp)
        return;
    guard = new Guard(qApp);
    qApp->installEventFilter(guard);
}

bool ListTakesWheel(const QObject *list)
{
    const auto *combo = qobject_cast<const QComboBox *>(list);
    return !combo || combo->hasFocus();
}
