// The one place where program code sets a control's value. The control's
// handler then runs exactly as for the user's action whenever the value
// actually changes, and not otherwise; the window's redraw relies on it.
//
// User actions reach the same handlers through the signals only they raise
// (a list's activated, a button's clicked, a field's textEdited), so filling
// a list or setting a value from code never needs its signals blocked.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <map>

class QAbstractButton;
class QComboBox;
class QLineEdit;

class ControlEvents {
public:
    void onChoice(QComboBox *list, std::function<void(int)> handler);
    // Check boxes and option buttons; the handler gets the new state.
    void onClick(QAbstractButton *button, std::function<void(bool)> handler);
    void onChange(QLineEdit *field, std::function<void()> handler);

    void select(QComboBox *list, int index);
    // An option button can only be selected; its group deselects the others.
    void setChecked(QAbstractButton *button, bool on);
    void setText(QLineEdit *field, const QString &text);

    // While quiet, values are set and no handler runs: a redraw shows the
    // image and stores nothing.
    void setQuiet(bool quiet) { quiet_ = quiet; }
    bool quiet() const { return quiet_; }

private:
    bool quiet_ = false;
    std::map<const QObject *, std::function<void(int)>> choices_;
    std::map<const QObject *, std::function<void(bool)>> clicks_;
    std::map<const QObject *, std::function<void()>> changes_;
};
