#include "SpokenTree.h"

#include <QMdiArea>
#include <QWidget>
#include <map>

namespace {

bool Interactive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::PushButton:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::EditableText:
    case QAccessible::ComboBox:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::ScrollBar:
    case QAccessible::Dial:
    case QAccessible::Table:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
    case QAccessible::PageTab:
    case QAccessible::MenuItem:
        return true;
    default:
        return false;
    }
}

// Their children are the cells, items or parts of the one control.
bool Whole(QAccessible::Role role)
{
    return role == QAccessible::Table || role == QAccessible::List || role == QAccessible::Tree
           || role == QAccessible::ComboBox || role == QAccessible::SpinBox;
}

QString Where(QAccessibleInterface *control)
{
    QObject *object = control->object();
    if (!object)
        return QStringLiteral("(part of a control)");
    return QString::fromLatin1(object->metaObject()->className()) + u' '
           + (object->objectName().isEmpty() ? QStringLiteral("(no objectName)")
                                             : object->objectName());
}

SpokenControl Spoken(QAccessibleInterface *control)
{
    const QAccessible::Role role = control->role();
    // A table or list answers its name when asked for a value.
    const bool hasValue =
        !Whole(role) || role == QAccessible::ComboBox || role == QAccessible::SpinBox;
    return SpokenControl{role, SpokenName(control),
                         hasValue ? control->text(QAccessible::Value).trimmed() : QString(),
                         Where(control)};
}

void Walk(QAccessibleInterface *node, QList<SpokenControl> &found)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child || child->state().invisible)
            continue;
        // The main window's area holds the child windows, each walked as
        // a window of its own.
        if (qobject_cast<QMdiArea *>(child->object()))
            continue;
        const QAccessible::Role role = child->role();
        if (Interactive(role))
            found << Spoken(child);
        if (!Whole(role))
            Walk(child, found);
    }
}

bool IsAncestor(QAccessibleInterface *candidate, QAccessibleInterface *control)
{
    for (QAccessibleInterface *up = control->parent(); up; up = up->parent())
        if (up->object() && up->object() == candidate->object())
            return true;
    return false;
}

} // namespace

QString SpokenName(QAccessibleInterface *control)
{
    // A screen reader on Linux takes the labels a control is labelled by,
    // leaving out those that contain it (a group's title), before its name.
    QStringList labels;
    for (const auto &[label, relation] : control->relations(QAccessible::Label))
        if (label && !IsAncestor(label, control))
            labels << label->text(QAccessible::Name).trimmed();
    labels.removeAll(QString());
    if (!labels.isEmpty())
        return labels.join(u' ');
    return control->text(QAccessible::Name).trimmed();
}

SpokenControl SpokenControlOf(QWidget *control)
{
    return Spoken(QAccessible::queryAccessibleInterface(control));
}

QList<SpokenControl> SpokenControls(QWidget *window)
{
    QList<SpokenControl> found;
    if (QAccessibleInterface *root = QAccessible::queryAccessibleInterface(window))
        Walk(root, found);
    return found;
}

QStringList NameProblems(const QList<SpokenControl> &controls)
{
    QStringList problems;
    std::map<std::pair<int, QString>, QString> seen;
    for (const SpokenControl &c : controls) {
        const QString role = QString::number(int(c.role), 16);
        if (c.name.isEmpty()) {
            problems << QStringLiteral("no name: %1 (role 0x%2)").arg(c.where, role);
            continue;
        }
        if (!c.value.isEmpty() && c.name == c.value)
            problems << QStringLiteral("named by its value \"%1\": %2").arg(c.name, c.where);
        const auto key = std::make_pair(int(c.role), c.name);
        if (const auto it = seen.find(key); it != seen.end())
            problems << QStringLiteral("\"%1\" twice (role 0x%2): %3 and %4")
                            .arg(c.name, role, it->second, c.where);
        else
            seen[key] = c.where;
    }
    return problems;
}
