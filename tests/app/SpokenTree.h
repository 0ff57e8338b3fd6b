// What a screen reader finds in a window: every control a user can act on,
// with the name it is announced by, read from the window's accessible tree.
// The name tests hold every window to the rules of NameProblems.
#pragma once

#include <QAccessible>
#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

struct SpokenControl {
    QAccessible::Role role;
    QString name; // what it is announced as
    QString value;
    QString where; // class and objectName, for a failure message
};

// The controls of a window: a child window, a dialog, a menu, or the main
// window without what its window area holds. Hidden controls are left
// out; the cells of tables and the items of lists are named by what they
// hold and not walked.
QList<SpokenControl> SpokenControls(QWidget *window);

// One control on its own: an editor laid over a table's cell is not among
// the table's children, though the focus and a screen reader go there.
SpokenControl SpokenControlOf(QWidget *control);

// A control without a name, one named by its own value, and two controls
// of one kind sharing a name, each as one line.
QStringList NameProblems(const QList<SpokenControl> &controls);

// The name a screen reader announces a control by: the labels it is
// labelled by (its buddy label), or without one its name. Qt on Linux names
// a list by its value: its label is what is heard.
QString SpokenName(QAccessibleInterface *control);
