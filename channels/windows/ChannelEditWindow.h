// The channel edit window (Form_Chann_Edit): one channel as a form, with a
// scroll bar and a number field to move between channels 1..128. What a
// field stores is decided by the channel rules, with this window's own
// defaults for a new channel, and stored through ImageChanges; the form
// only shows the image. The number field and the scroll bar always name the
// channel it shows and edits; it follows the grid's current channel.
#pragma once

#include "ChildWindow.h"
#include "ImageChanges.h"

#include <functional>

class QCheckBox;
class QComboBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
struct BilingualText;
struct ChannelEditResult;
enum class ChannelField;

class ChannelEditWindow : public ChildWindow {
    Q_OBJECT
public:
    ChannelEditWindow();

    // Brings the form to CurrentChannel, as opening it does: an empty
    // channel is shown blank and erased, name and all.
    void ShowEditedChannel();
    // Refills the four lists in the current language and enables every
    // editor.
    void PrepareChannelEditors();
    // Sets every editor from channel n; an empty channel is shown blank.
    // Only draws: it stores nothing.
    void LoadEditedChannel(int n);
    // Blanks and disables the editors and erases channel n and its name:
    // only when the user brings the form to an empty channel.
    void BlankEditedChannel(int n);
    // A channel just created by its receive frequency: lists, editors and
    // the defaults of this window.
    void InitNewChannel(int n);

    // The channel the form shows and edits.
    int channel() const { return channel_; }

    bool commitTyped() override;

protected:
    void applyTexts() override;
    QRect placement(const FrameSizes &sizes) const override;
    void onLoad() override;
    void onActivated() override;
    void onUnload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void build();
    void makeControls();
    void connectControls();
    void layOut();
    // Stores what an edit rule made of a field as this window's own change.
    void storeEdit(const ChannelEditResult &edit, ChangeKind kind = ChangeKind::CellEdit);
    void onRowsChanged(const ImageChange &change);
    // Shows channel n with the number field and the scroll bar naming it.
    // Brought there by the user (opening, moving, or activating the form on
    // a channel it followed the grid to), an empty channel is erased;
    // following the grid or a change made elsewhere only draws it.
    void showChannel(int n, bool broughtByUser);
    void nameShownChannel();
    void followGrid(int n);
    void blankEditors();
    void warn(const BilingualText &message);

    // Navigation.
    void onScroll(int value);
    void onChannelText();
    void moveTo(int n);
    bool channelNumberValid() const;

    // Fields.
    void leaveField(QObject *field);
    void leaveReceive();
    void leaveTransmit();
    void leaveName();
    // A frequency typed and not yet stored is stored as leaving its field
    // stores it (activation, closing, navigation).
    void commitPendingField();
    void choose(ChannelField field, int position);
    bool fieldKey(QObject *field, QKeyEvent *event);
    // The transmit field follows the receive text; on an empty channel every
    // editor does, so the first click into one lands there while leaving the
    // receive field creates the channel.
    void enableEditors();

    QLabel *labelChannel_ = nullptr;
    QLineEdit *channelNumber_ = nullptr;
    QScrollBar *scroll_ = nullptr;
    QLabel *labelReceive_ = nullptr;
    QLineEdit *receive_ = nullptr;
    QLabel *labelTransmit_ = nullptr;
    QLineEdit *transmit_ = nullptr;
    QLabel *labelDecode_ = nullptr;
    QComboBox *decode_ = nullptr;
    QLabel *labelEncode_ = nullptr;
    QComboBox *encode_ = nullptr;
    QLabel *labelPower_ = nullptr;
    QComboBox *power_ = nullptr;
    QLabel *labelBandwidth_ = nullptr;
    QComboBox *bandwidth_ = nullptr;
    QLabel *labelName_ = nullptr;
    QLineEdit *name_ = nullptr;
    QCheckBox *vox_ = nullptr;
    QCheckBox *busyLock_ = nullptr;
    QCheckBox *scanAdd_ = nullptr;
    QCheckBox *txStop_ = nullptr;
    QPushButton *close_ = nullptr;
    QPushButton *help_ = nullptr;

    // A frequency field typed into since the form was drawn; a name is
    // stored as it is typed.
    QLineEdit *pending_ = nullptr;
    int channel_ = 1;
    // The channel the user last brought the form to; 0 before loading.
    int broughtTo_ = 0;
    bool settingNumber_ = false; // the form writes the number field itself
    bool leaving_ = false; // a field's leave rule runs
    bool movingTo_ = false; // the form sets the current channel itself
};
