#include "ChannelEditWindow.h"

#include "ChannelChanges.h"
#include "ChannelEditTexts.h"
#include "ChannelRules.h"
#include "ChannelTexts.h"
#include "Conversions.h"
#include "KeyPresses.h"
#include "Messages.h"
#include "RecordCodec.h"
#include "SessionState.h"
#include "Windows.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTimer>

ChannelEditWindow::ChannelEditWindow() : ChildWindow(WindowId::ChannelEdit)
{
    setObjectName(QStringLiteral("Form_Chann_Edit"));
    build();
    connect(&ImageChanges::instance(), &ImageChanges::rowsChanged, this,
            &ChannelEditWindow::onRowsChanged);
    // The grid's current channel is the one edited here too.
    connect(&SessionState::instance(), &SessionState::currentChannelChanged, this,
            &ChannelEditWindow::followGrid);
}

void ChannelEditWindow::connectControls()
{
    connect(scroll_, &QScrollBar::valueChanged, this, &ChannelEditWindow::onScroll);
    connect(channelNumber_, &QLineEdit::textChanged, this, [this] { onChannelText(); });
    connect(receive_, &QLineEdit::textChanged, this, [this] { enableEditors(); });
    connect(receive_, &QLineEdit::textEdited, this, [this] { pending_ = receive_; });
    connect(transmit_, &QLineEdit::textEdited, this, [this] { pending_ = transmit_; });
    // The name is stored as it is typed; leaving the field shows it as stored.
    connect(name_, &QLineEdit::textEdited, this, [this](const QString &text) {
        storeEdit(EditChannelText(RadioData, channel_, ChannelField::Name, text, EditWindowProfile,
                                  CurrentBand()),
                  ChangeKind::NameTyping);
    });
    const std::pair<QComboBox *, ChannelField> lists[] = {{decode_, ChannelField::Decode},
                                                          {encode_, ChannelField::Encode},
                                                          {power_, ChannelField::Power},
                                                          {bandwidth_, ChannelField::Bandwidth}};
    for (const auto &[list, listField] : lists)
        connect(list, &QComboBox::activated, this,
                [this, field = listField](int index) { choose(field, index); });
    const std::pair<QCheckBox *, ChannelField> boxes[] = {{vox_, ChannelField::Vox},
                                                          {busyLock_, ChannelField::BusyLockout},
                                                          {scanAdd_, ChannelField::ScanAdd},
                                                          {txStop_, ChannelField::TransmitStop}};
    for (const auto &[box, boxField] : boxes)
        connect(box, &QCheckBox::clicked, this,
                [this, field = boxField](bool ticked) { choose(field, ticked ? 1 : 0); });
    connect(close_, &QPushButton::clicked, this, [] { Windows::Unload(WindowId::ChannelEdit); });
}

void ChannelEditWindow::applyTexts()
{
    namespace T = ChannelEditTexts;
    setWindowTitle(T::Caption());
    labelChannel_->setText(T::Channel());
    scroll_->setAccessibleName(T::ChannelScroll());
    scroll_->setAccessibleDescription(T::ChannelScrollDescription());
    labelReceive_->setText(T::Receive());
    labelTransmit_->setText(T::Transmit());
    labelDecode_->setText(T::Decode());
    labelEncode_->setText(T::Encode());
    labelPower_->setText(T::Power());
    labelBandwidth_->setText(T::Bandwidth());
    labelName_->setText(T::Name());
    vox_->setText(T::Vox());
    busyLock_->setText(T::BusyLock());
    scanAdd_->setText(T::ScanAdd());
    txStop_->setText(T::TxStop());
    close_->setText(T::Close());
    help_->setText(T::Help());
}

QRect ChannelEditWindow::placement(const FrameSizes &sizes) const
{
    const QSize main = sizes.window;
    const int width = int(main.width() / 1.5);
    const int height = int(main.height() / 1.25);
    return QRect(std::max(0, (main.width() - width) / 2), 0, width, height);
}

void ChannelEditWindow::onLoad()
{
    scroll_->setRange(0, 129);
    ShowEditedChannel();
}

// A frequency being typed is stored as leaving its field would; a refused
// one is mended with its message, so nothing waits.
bool ChannelEditWindow::commitTyped()
{
    commitPendingField();
    return true;
}

// Returning to the window shows what is stored now. Only a channel the
// form came to by following the grid counts as brought there by the user;
// redrawing the channel already shown (after a read, an opened file or a
// deletion in the grid) erases nothing.
void ChannelEditWindow::onActivated()
{
    commitPendingField();
    const int n = std::clamp<int>(CurrentChannel, 1, ChannelCount);
    showChannel(n, n != broughtTo_);
}

// The current channel chosen elsewhere (the grid) is the one edited here
// too, so the form moves with it at once and never names one channel while
// editing another.
void ChannelEditWindow::followGrid(int n)
{
    if (n == channel_ || movingTo_ || !isLoaded())
        return;
    commitPendingField(); // what was typed belongs to the channel it was typed for
    showChannel(n, false);
}

void ChannelEditWindow::onUnload() { commitPendingField(); }

void ChannelEditWindow::storeEdit(const ChannelEditResult &edit, ChangeKind kind)
{
    if (!edit.cells.empty())
        store(kind, [&edit](ImageTable &image) { edit.applyTo(image); });
}

// Changes made elsewhere (the grid, a read, an opened file) show at once,
// without storing anything. The window's own changes are drawn by the field
// that made them, so that a name being typed is not rewritten under the
// cursor.
void ChannelEditWindow::onRowsChanged(const ImageChange &change)
{
    if (storingOwnChange() || !isVisible() || !ChannelsTouched(change).contains(channel_))
        return;
    LoadEditedChannel(channel_);
}

void ChannelEditWindow::warn(const BilingualText &message) { ShowWarning(this, message); }

void ChannelEditWindow::ShowEditedChannel()
{
    showChannel(std::clamp<int>(CurrentChannel, 1, ChannelCount), true);
}

void ChannelEditWindow::showChannel(int n, bool broughtByUser)
{
    channel_ = n;
    nameShownChannel();
    if (broughtByUser) {
        broughtTo_ = n;
        if (IsChannelEmpty(RadioData, n)) {
            BlankEditedChannel(n);
            return;
        }
    }
    LoadEditedChannel(n);
}

void ChannelEditWindow::nameShownChannel()
{
    // A number being typed that already names the channel stays as typed.
    const QString typed = channelNumber_->text().trimmed();
    if (typed.isEmpty() || int(NumericValue(typed)) != channel_) {
        const QScopedValueRollback<bool> setting(settingNumber_, true);
        channelNumber_->setText(QString::number(channel_));
    }
    const QSignalBlocker quiet(scroll_);
    scroll_->setValue(channel_);
}

void ChannelEditWindow::PrepareChannelEditors()
{
    const std::pair<QComboBox *, QStringList> lists[] = {{decode_, ToneItems()},
                                                         {encode_, ToneItems()},
                                                         {power_, PowerItems()},
                                                         {bandwidth_, BandwidthItems()}};
    for (const auto &[list, items] : lists) {
        list->clear();
        list->addItems(items);
        list->setCurrentIndex(-1);
    }
    for (QWidget *editor :
         std::initializer_list<QWidget *>{transmit_, decode_, encode_, power_, bandwidth_, name_,
                                          vox_, busyLock_, scanAdd_, txStop_})
        editor->setEnabled(true);
}

void ChannelEditWindow::LoadEditedChannel(int n)
{
    pending_ = nullptr; // the fields show the image again
    if (IsChannelEmpty(RadioData, n)) {
        receive_->clear();
        blankEditors();
        return;
    }
    PrepareChannelEditors();
    receive_->setText(ReceiveText(RadioData, n));
    // A transmit frequency outside the band is shown as simplex; what is
    // stored stays until the user edits a frequency.
    transmit_->setText(ShownTransmitText(RadioData, n, CurrentBand()));
    // A tone of an unknown type selects nothing.
    decode_->setCurrentIndex(ChannelChoice(RadioData, n, ChannelField::Decode).value_or(-1));
    encode_->setCurrentIndex(ChannelChoice(RadioData, n, ChannelField::Encode).value_or(-1));
    // Power bits 3 lie beyond the list: shown as its last entry.
    power_->setCurrentIndex(std::min(Record::Power.get(RadioData, n), power_->count() - 1));
    bandwidth_->setCurrentIndex(*ChannelChoice(RadioData, n, ChannelField::Bandwidth));
    vox_->setChecked(*ChannelChoice(RadioData, n, ChannelField::Vox));
    busyLock_->setChecked(*ChannelChoice(RadioData, n, ChannelField::BusyLockout));
    scanAdd_->setChecked(*ChannelChoice(RadioData, n, ChannelField::ScanAdd));
    txStop_->setChecked(*ChannelChoice(RadioData, n, ChannelField::TransmitStop));
    name_->setText(ChannelName(RadioData, n));
}

void ChannelEditWindow::BlankEditedChannel(int n)
{
    pending_ = nullptr;
    receive_->clear();
    blankEditors();
    // Brought to an empty channel, the form erases whatever its cells and
    // name held.
    store(ChangeKind::CellEdit, [n](ImageTable &image) { EraseChannelAndName(image, n); });
}

void ChannelEditWindow::blankEditors()
{
    transmit_->clear();
    name_->clear();
    for (QComboBox *list : {decode_, encode_, power_, bandwidth_})
        list->clear();
    for (QCheckBox *box : {vox_, busyLock_, scanAdd_, txStop_})
        box->setChecked(false);
    for (QWidget *editor :
         std::initializer_list<QWidget *>{transmit_, decode_, encode_, power_, bandwidth_, name_,
                                          vox_, busyLock_, scanAdd_, txStop_})
        editor->setEnabled(false);
}

void ChannelEditWindow::InitNewChannel(int n)
{
    PrepareChannelEditors();
    for (QWidget *editor : std::initializer_list<QWidget *>{transmit_, name_, txStop_})
        editor->setEnabled(true);
    store(ChangeKind::CellEdit,
          [n](ImageTable &image) { InitNewChannelCells(image, n, EditWindowProfile); });
}

void ChannelEditWindow::enableEditors()
{
    const bool typed = !receive_->text().trimmed().isEmpty();
    if (IsChannelEmpty(RadioData, channel_)) {
        if (typed && !name_->isEnabled())
            PrepareChannelEditors();
        else if (!typed && name_->isEnabled())
            blankEditors();
    }
    transmit_->setEnabled(typed);
}

// Navigation -----------------------------------------------------------

void ChannelEditWindow::onScroll(int value)
{
    // The scroll bar wraps around between channels 1 and 128.
    if (value == 0) {
        scroll_->setValue(128);
        return;
    }
    if (value == 129) {
        scroll_->setValue(1);
        return;
    }
    moveTo(value);
}

void ChannelEditWindow::moveTo(int n)
{
    commitPendingField();
    {
        // The grid's caption follows; this form moves itself, below.
        const QScopedValueRollback<bool> moving(movingTo_, true);
        SessionState::instance().setCurrentChannel(n);
    }
    showChannel(n, true);
}

bool ChannelEditWindow::channelNumberValid() const
{
    const QString number = channelNumber_->text().trimmed();
    const double value = NumericValue(number);
    return !number.isEmpty() && value >= 1 && value <= ChannelCount;
}

// A number typed into the field moves there at once, the scroll bar with
// it. An empty or out-of-range number keeps the focus in the field.
void ChannelEditWindow::onChannelText()
{
    if (settingNumber_)
        return;
    if (!channelNumberValid()) {
        channelNumber_->setFocus();
        return;
    }
    moveTo(int(NumericValue(channelNumber_->text().trimmed())));
}

// Fields -----------------------------------------------------------------

void ChannelEditWindow::leaveField(QObject *field)
{
    if (leaving_)
        return; // a message of the rule running takes the focus away
    const QScopedValueRollback<bool> leaving(leaving_, true);
    if (field == receive_)
        leaveReceive();
    else if (field == transmit_)
        leaveTransmit();
    else if (field == name_)
        leaveName();
}

void ChannelEditWindow::commitPendingField()
{
    if (pending_)
        leaveField(pending_);
}

void ChannelEditWindow::leaveReceive()
{
    const int n = channel_;
    const bool created = IsChannelEmpty(RadioData, n);
    const ChannelEditResult edit = EditShownChannelText(
        RadioData, n, ChannelField::Receive, receive_->text(), EditWindowProfile, CurrentBand());
    storeEdit(edit);
    if (edit.message) {
        receive_->setText(edit.shownText);
        warn(*edit.message);
    }
    if (IsChannelEmpty(RadioData, n)) {
        // Emptied, the rule deleted the channel and its name; an empty field
        // left untouched stores nothing.
        LoadEditedChannel(n);
        return;
    }
    if (created)
        InitNewChannel(n);
    LoadEditedChannel(n);
}

void ChannelEditWindow::leaveTransmit()
{
    const int n = channel_;
    const ChannelEditResult edit = EditShownChannelText(
        RadioData, n, ChannelField::Transmit, transmit_->text(), EditWindowProfile, CurrentBand());
    storeEdit(edit);
    if (edit.message) {
        transmit_->setText(edit.shownText);
        warn(*edit.message);
    }
    LoadEditedChannel(n);
}

void ChannelEditWindow::leaveName()
{
    const int n = channel_;
    storeEdit(EditChannelText(RadioData, n, ChannelField::Name, name_->text(), EditWindowProfile,
                              CurrentBand()));
    LoadEditedChannel(n); // the name as stored: upper case, blanks for the rest
}

void ChannelEditWindow::choose(ChannelField field, int position)
{
    storeEdit(ChooseChannelItem(RadioData, channel_, field, position));
}

bool ChannelEditWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress)
        return fieldKey(watched, static_cast<QKeyEvent *>(event));
    if (event->type() != QEvent::FocusOut)
        return false;
    // A message box or another program taking the focus is no leaving:
    // the text stays and is committed on return or on closing.
    const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
    if (reason == Qt::PopupFocusReason || reason == Qt::ActiveWindowFocusReason)
        return false;
    if (watched == channelNumber_) {
        // Leaving an empty or out-of-range number brings the focus back,
        // unless it went to another window.
        QTimer::singleShot(0, this, [this] {
            QWidget *now = QApplication::focusWidget();
            if (!channelNumberValid() && now && now != channelNumber_ && isAncestorOf(now))
                channelNumber_->setFocus();
        });
        return false;
    }
    leaveField(watched);
    return false;
}

// The key filters: what each field accepts before a key reaches it.
bool ChannelEditWindow::fieldKey(QObject *field, QKeyEvent *event)
{
    const bool backspace = event->key() == Qt::Key_Backspace;
    const bool typing = IsTyping(event);
    if (field == decode_ || field == encode_ || field == power_ || field == bandwidth_)
        return typing && event->key() != Qt::Key_Space; // pick-only; Space opens the list
    if (IsEnter(event)) {
        leaveField(field); // Enter stores as leaving does; the focus stays
        return field != channelNumber_;
    }
    // Esc gives up a frequency typed and not yet stored.
    if (event->key() == Qt::Key_Escape && field == pending_) {
        LoadEditedChannel(channel_);
        return true;
    }
    if (!typing && !backspace)
        return false;
    const QChar ch = typing ? event->text().at(0) : QChar();
    if (field == channelNumber_) {
        if (backspace || !IsAsciiDigit(ch))
            return true;
        return NumericValue(channelNumber_->text().trimmed() + ch) > ChannelCount;
    }
    if (field == receive_ || field == transmit_)
        return !backspace && !IsAsciiDigit(ch) && ch != u'.';
    if (field == name_)
        return name_->text().size() > NameLength - 1; // five characters at most
    return false;
}

// Page Up and Page Down step through the channels from anywhere in the
// form, as the scroll bar does; a field being typed in is stored first.
void ChannelEditWindow::keyPressEvent(QKeyEvent *event)
{
    if ((event->key() == Qt::Key_PageUp || event->key() == Qt::Key_PageDown)
        && event->modifiers() == Qt::NoModifier) {
        const int step = event->key() == Qt::Key_PageUp ? -1 : 1;
        moveTo((channel_ - 1 + step + ChannelCount) % ChannelCount + 1);
        return;
    }
    ChildWindow::keyPressEvent(event);
}
