// frm_option: the optional features window. It edits the radio-wide
// settings (rows 208/209), the VFO record (row 0) and the working range
// (row 153) and owns no data: every accepted value goes into the image at
// once through the change path, and ShowOptions draws every control from
// the image on load, on every activation and after the VFO and range rules
// stored something. What a typed value stores is decided by the settings
// rules; this window shows their messages and moves the focus.
#pragma once

#include "ChildWindow.h"
#include "ControlEvents.h"
#include "ImageChanges.h"
#include "SettingsMessages.h"
#include "TypedKeys.h"

#include <QList>
#include <QPointer>
#include <functional>
#include <map>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
struct ToneField;

class OptionsWindow : public ChildWindow {
    Q_OBJECT
public:
    OptionsWindow();
    ~OptionsWindow() override;

    // Sets every control from the image; a control whose value changes runs
    // its handler, which writes back what it shows (clamped values included).
    // Runs when the user opens the window or acts in it.
    void ShowOptions();
    // What is typed into a field and not yet left is stored as leaving the
    // field stores it; false when the field's rule refused it: its message
    // is shown, the window is in front and the focus back in the field.
    bool commitTyped() override;
    // The two limit fields into row 153, then ShowOptions (new band limits).
    void StoreWorkingRange();
    // Warns when the VFO or a channel lies outside the working range.
    void CheckWorkingRange();

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;
    void onActivated() override;
    void onUnload() override;
    bool canClose() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // Controls and layout (OptionsLayout.cpp).
    void buildControls();
    void buildLayout();
    void fillLists();
    QComboBox *addList(const QString &key);
    QCheckBox *addCheck(const QString &key);
    QLabel *addLabel(const QString &key);
    QLineEdit *addField(const char *name, OptionTextField kind);

    // Handlers (OptionsHandlers.cpp).
    void connectHandlers();
    // Every handler runs inside act(): messages wait until the outermost
    // one is done. edit() also makes what it stores one change of the image.
    void act(const std::function<void()> &action);
    void edit(const std::function<void(ImageTable &)> &change,
              ChangeKind kind = ChangeKind::OptionsEdit);
    void warn(const PromptMessage &message);
    void focusBack(QLineEdit *field);
    void flushMessages();
    void bringToFront();
    // The controls from the image; with a table, the showing also stores
    // the values it mends. Without, nothing runs that stores, and a field
    // being typed in keeps its text.
    void showControls(ImageTable *store);
    void showText(QLineEdit *field, const QString &text);
    // A redraw after a change elsewhere or on activation: shows the image
    // and stores nothing. New data (a read, an opened file) also says what
    // showing it on load would say.
    void redraw(bool newData);

    void showList(const QString &key);
    void showCheck(const QString &key);
    void showTone(QComboBox *list, QCheckBox *indicator, const ToneField &tone);
    void setWorkModeEnabled(bool enabled);
    void applyTransmitRule(int shift);
    void shiftChosen(int index);
    void channelOnlyClicked(bool on);

    void receiveChanged();
    void offsetChanged();
    void leave(QLineEdit *field);
    void leaveReceive();
    void leaveOffset();
    void leaveLimit(bool lower);
    void leavePassword();

    std::optional<QChar> filtered(QLineEdit *field, QChar key) const;
    bool fieldKey(QLineEdit *field, const QKeyEvent *key);
    bool typeKey(QLineEdit *field, const QKeyEvent *key);
    void typeText(QLineEdit *field, const QString &text);
    void redrawLater();

    ControlEvents events_;
    std::map<QString, QComboBox *> lists_; // by option key
    std::map<QString, QCheckBox *> checks_;
    std::map<QString, QLabel *> labels_;
    std::map<const QObject *, OptionTextField> fields_;

    QGroupBox *generalFrame_ = nullptr;
    QGroupBox *switchFrame_ = nullptr;
    QGroupBox *voxFrame_ = nullptr;
    QGroupBox *modeFrame_ = nullptr;
    QGroupBox *powerOnFrame_ = nullptr;
    QGroupBox *vfoFrame_ = nullptr;
    QGroupBox *rangeFrame_ = nullptr;
    QRadioButton *frequencyMode_ = nullptr;
    QRadioButton *channelMode_ = nullptr;
    QCheckBox *decodeInverted_ = nullptr;
    QCheckBox *encodeInverted_ = nullptr;
    QLineEdit *receive_ = nullptr;
    QLineEdit *offset_ = nullptr;
    QLineEdit *transmit_ = nullptr;
    QLineEdit *lower_ = nullptr;
    QLineEdit *upper_ = nullptr;
    QLineEdit *password_ = nullptr;
    QLineEdit *message_ = nullptr;
    QLabel *fromLabel_ = nullptr;
    QLabel *toLabel_ = nullptr;
    QLabel *mhzLabel_ = nullptr;
    QPushButton *close_ = nullptr;
    QPushButton *help_ = nullptr;

    int depth_ = 0;
    // Messages raised while the focus moves are shown once it has moved, so
    // the box does not take the click that moved it.
    bool deferMessages_ = false;
    bool flushing_ = false;
    bool loaded_ = false;
    bool otherWindowActivated_ = false;
    bool unloading_ = false;
    bool redrawPending_ = false;
    QList<PromptMessage> pending_;
    QPointer<QLineEdit> pendingFocus_;
    // The field typed into since its leave rule last took its text.
    QPointer<QLineEdit> typed_;
};
