#include "SpokenStatus.h"

#include "ChildWindow.h"

#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>

namespace {

const char *const SpokenKindProperty = "ql540SpokenKind";
const char *const SpokenAtProperty = "ql540SpokenAt";

ChildWindow *WindowOf(QWidget *widget)
{
    for (QWidget *w = widget; w; w = w->parentWidget())
        if (auto *window = qobject_cast<ChildWindow *>(w))
            return window;
    return nullptr;
}

} // namespace

QString StatusKind(const QString &text)
{
    static const QRegularExpression numbers(QStringLiteral("[0-9]+"));
    return QString(text).remove(numbers).simplified();
}

void ShowStatus(QLabel *line, const QString &text)
{
    line->setText(text);
    const QString kind = StatusKind(text);
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    const bool sameKind = line->property(SpokenKindProperty).toString() == kind;
    if (text.isEmpty()
        || (sameKind && now - line->property(SpokenAtProperty).toLongLong() < CountingIntervalMs))
        return;
    line->setProperty(SpokenKindProperty, kind);
    line->setProperty(SpokenAtProperty, now);
    QWidget *window = WindowOf(line);
    if (!window)
        return;
    for (QPushButton *button : window->findChildren<QPushButton *>())
        button->setAccessibleDescription(text.trimmed());
}
