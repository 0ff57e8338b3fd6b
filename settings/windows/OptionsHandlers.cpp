#include "OptionsWindow.h"

#include "ChannelRules.h"
#include "ImageChanges.h"
#include "Messages.h"
#include "OptionTable.h"
#include "SessionState.h"
#include "ShownOptions.h"
#include "VfoRules.h"
#include "WorkingRange.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <QTimer>

namespace {

const OptionEntry &Entry(const QString &key) { return *FindOption(key); }

constexpr int MessageDisplayPosition = 2; // Combo_Pon_Mode: "MSG" enables the message

} // namespace

void OptionsWindow::act(const std::function<void()> &action)
{
    ++depth_;
    action();
    --depth_;
    if (unloading_)
        return;
    if (depth_ > 0)
        return;
    if (deferMessages_)
        QTimer::singleShot(0, this, [this] { flushMessages(); });
    else
        flushMessages();
}

void OptionsWindow::edit(const std::function<void(ImageTable &)> &change, ChangeKind kind)
{
    act([&change, kind] { ImageChanges::instance().apply(kind, change); });
}

void OptionsWindow::warn(const PromptMessage &message) { pending_ << message; }

void OptionsWindow::focusBack(QLineEdit *field) { pendingFocus_ = field; }

void OptionsWindow::flushMessages()
{
    // A window on its way out has no field to return to: what it would
    // still say was said when it was asked to close.
    if (flushing_ || unloading_)
        return;
    flushing_ = true;
    // A redraw nested in a handler may raise the same message again; the
    // user hears about each problem of one action once.
    QList<PromptMessage> shown;
    const QPointer<OptionsWindow> self(this);
    while (!pending_.isEmpty()) {
        const PromptMessage message = pending_.takeFirst();
        if (shown.contains(message))
            continue;
        shown << message;
        ShowWarning(this, message);
        if (!self || unloading_)
            return; // closed while the box was up
    }
    flushing_ = false;
    if (QLineEdit *field = pendingFocus_) {
        pendingFocus_ = nullptr;
        field->setFocus(Qt::OtherFocusReason);
    }
}

void OptionsWindow::connectHandlers()
{
    // Lists and boxes that store their value and nothing else.
    for (const auto &[key, list] : lists_) {
        const OptionEntry *entry = &Entry(key);
        if (entry->kind != OptionKind::List || key == QLatin1String("duplex"))
            continue;
        const bool powerOnDisplay = key == QLatin1String("powerOnDisplay");
        events_.onChoice(list, [this, entry, powerOnDisplay](int index) {
            edit([&](ImageTable &image) { entry->field.set(image, index); });
            if (powerOnDisplay)
                message_->setEnabled(index == MessageDisplayPosition);
        });
    }
    for (const auto &[key, box] : checks_) {
        if (key == QLatin1String("channelOnly"))
            continue;
        const OptionEntry *entry = &Entry(key);
        const bool password = key == QLatin1String("password");
        events_.onClick(box, [this, entry, password](bool on) {
            edit([&](ImageTable &image) { entry->field.set(image, on ? 1 : 0); });
            if (password)
                password_->setEnabled(on);
        });
    }
    events_.onClick(checks_.at(QStringLiteral("channelOnly")),
                    [this](bool on) { channelOnlyClicked(on); });
    events_.onClick(channelMode_, [this](bool) {
        edit([](ImageTable &image) { Options::ChannelMode.set(image, 1); });
    });
    events_.onClick(frequencyMode_, [this](bool) {
        edit([](ImageTable &image) { Options::ChannelMode.set(image, 0); });
    });

    events_.onChoice(lists_.at(QStringLiteral("duplex")),
                     [this](int index) { shiftChosen(index); });
    const std::pair<QString, QCheckBox *> tones[] = {{QStringLiteral("decode"), decodeInverted_},
                                                     {QStringLiteral("encode"), encodeInverted_}};
    for (const auto &[key, indicator] : tones) {
        const ToneField tone{Entry(key).field.column};
        events_.onChoice(lists_.at(key), [this, tone, box = indicator](int position) {
            edit([&](ImageTable &image) { box->setChecked(StoreVfoTone(image, tone, position)); });
        });
    }

    for (QLineEdit *field : {receive_, offset_, lower_, upper_, password_, message_})
        connect(field, &QLineEdit::textEdited, this, [this, field] { typed_ = field; });
    events_.onChange(receive_, [this] { act([this] { receiveChanged(); }); });
    events_.onChange(offset_, [this] { act([this] { offsetChanged(); }); });
    events_.onChange(password_, [this] {
        edit([this](ImageTable &image) { Options::SetPassword(image, password_->text()); });
    });
    events_.onChange(message_, [this] {
        edit([this](ImageTable &image) { Options::SetMessage(image, message_->text()); });
    });
}

void OptionsWindow::ShowOptions()
{
    // What showing stores is no change of the user's.
    edit([this](ImageTable &image) { showControls(&image); }, ChangeKind::ShownValues);
}

void OptionsWindow::redraw(bool newData)
{
    act([this, newData] {
        events_.setQuiet(true);
        showControls(nullptr);
        events_.setQuiet(false);
        if (newData)
            for (const PromptMessage &message :
                 ShowVfoWithoutStoring(RadioData, CurrentBand()).warnings)
                warn(message);
    });
}

void OptionsWindow::showText(QLineEdit *field, const QString &text)
{
    if (events_.quiet() && field == typed_)
        return;
    events_.setText(field, text);
}

void OptionsWindow::showControls(ImageTable *store)
{
    // Values beyond their lists are written back as shown.
    if (store)
        StoreShownValues(*store);

    // From here on every frequency check uses the radio's working range.
    const BandLimits range = DecodeBandLimits(RadioData);
    SessionState::instance().setBand(range.low, range.high);
    showText(lower_, QString::number(range.low));
    showText(upper_, QString::number(range.high));

    showList(QStringLiteral("squelch"));
    if (store)
        ClearVoxReceiveStop(*store);
    showList(QStringLiteral("scan"));
    for (const char *key : {"manualSetup", "roger", "voxReceiveStop", "fmReceive", "batterySave"})
        showCheck(QLatin1String(key));
    showList(QStringLiteral("channelDisplay"));

    showList(QStringLiteral("backLight"));
    showCheck(QStringLiteral("password"));
    showList(QStringLiteral("powerOnDisplay"));
    events_.setChecked(Options::ChannelMode.get(RadioData) ? channelMode_ : frequencyMode_, true);
    showCheck(QStringLiteral("beep"));

    for (const char *key : {"timeOutTimer", "autoPowerOff", "voxLevel", "voxDelay", "keyLock"})
        showList(QLatin1String(key));

    showText(password_, Options::Password(RadioData));
    password_->setEnabled(checks_.at(QStringLiteral("password"))->isChecked());
    showText(message_, Options::Message(RadioData));
    message_->setEnabled(lists_.at(QStringLiteral("powerOnDisplay"))->currentIndex()
                         == MessageDisplayPosition);

    showText(receive_, Record::Rx.text(RadioData, VfoRow));
    if (store) {
        // An offset out of range is cleared by its change handling.
        events_.setText(offset_, Record::Offset.text(RadioData, VfoRow));
    } else {
        const ShownVfo shown = ShowVfoWithoutStoring(RadioData, CurrentBand());
        showText(offset_, shown.offsetText);
        transmit_->setText(shown.transmitText);
    }

    for (const char *key : {"duplex", "power", "step"})
        showList(QLatin1String(key));
    showCheck(QStringLiteral("txStop"));
    showList(QStringLiteral("bandwidth"));
    showCheck(QStringLiteral("vox"));
    showCheck(QStringLiteral("busyLockout"));

    showTone(lists_.at(QStringLiteral("decode")), decodeInverted_, Record::Decode);
    showTone(lists_.at(QStringLiteral("encode")), encodeInverted_, Record::Encode);

    QCheckBox *channelOnly = checks_.at(QStringLiteral("channelOnly"));
    showCheck(QStringLiteral("channelOnly"));
    setWorkModeEnabled(!channelOnly->isChecked());

    if (store)
        ClearReservedOptionBit(*store);
}

void OptionsWindow::showList(const QString &key)
{
    events_.select(lists_.at(key), ShownListIndex(Entry(key), RadioData));
}

void OptionsWindow::showCheck(const QString &key)
{
    events_.setChecked(checks_.at(key), Entry(key).field.get(RadioData) != 0);
}

void OptionsWindow::showTone(QComboBox *list, QCheckBox *indicator, const ToneField &tone)
{
    if (const std::optional<ShownTone> shown = ShownVfoTone(RadioData, tone)) {
        events_.select(list, shown->position);
        indicator->setChecked(shown->inverted);
    }
}

void OptionsWindow::setWorkModeEnabled(bool enabled)
{
    frequencyMode_->setEnabled(enabled);
    channelMode_->setEnabled(enabled);
}

void OptionsWindow::channelOnlyClicked(bool on)
{
    edit([&](ImageTable &image) {
        if (on)
            events_.setChecked(channelMode_, true); // stores channel mode
        setWorkModeEnabled(!on);
        Options::ChannelOnly.set(image, on ? 1 : 0);
    });
}

// The transmit frequency of the VFO fields for a shift; out of band the
// VFO goes back to simplex.
void OptionsWindow::applyTransmitRule(int shift)
{
    const VfoTransmit tx = TransmitFor(receive_->text(), offset_->text(), shift, CurrentBand());
    transmit_->setText(tx.text);
    if (!tx.inBand) {
        warn(SettingsMessages::TransmitOutOfRange);
        events_.select(lists_.at(QStringLiteral("duplex")), ShiftPosition::Off);
    }
}

void OptionsWindow::shiftChosen(int index)
{
    edit([&](ImageTable &image) {
        Record::Shift.set(image, VfoRow, index);
        applyTransmitRule(index);
        ShowOptions();
    });
}

void OptionsWindow::receiveChanged()
{
    if (!ReceiveTooLong(receive_->text()))
        return;
    warn(SettingsMessages::ReceiveOutOfRange);
    events_.setText(receive_, QString());
    focusBack(receive_);
}

void OptionsWindow::offsetChanged()
{
    const QString text = offset_->text();
    if (OffsetClearedWhileTyping(text)) {
        warn(SettingsMessages::OffsetOutOfRange);
        events_.setText(offset_, QString()); // runs this again: the empty offset is stored
        return;
    }
    const int shift = lists_.at(QStringLiteral("duplex"))->currentIndex();
    if (shift < 0)
        return;
    edit([&](ImageTable &image) {
        if (!text.trimmed().isEmpty())
            applyTransmitRule(shift);
        // Read again: a transmit frequency out of band put the stored offset
        // back into the field, so the refused one is not taken.
        StoreVfoOffset(image, offset_->text(), EmptyOffset::Erase);
    });
}

void OptionsWindow::leave(QLineEdit *field)
{
    if (field == typed_)
        typed_ = nullptr;
    const QPointer<OptionsWindow> self(this);
    const bool deferred = std::exchange(deferMessages_, true);
    act([this, field] {
        if (field == receive_)
            leaveReceive();
        else if (field == offset_)
            leaveOffset();
        else if (field == lower_ || field == upper_)
            leaveLimit(field == lower_);
        else if (field == password_)
            leavePassword();
    });
    if (self)
        deferMessages_ = deferred;
}

void OptionsWindow::leaveReceive()
{
    const QString text = receive_->text();
    if (!ReceiveAccepted(text, CurrentBand())) {
        warn(SettingsMessages::ReceiveOutOfRange);
        events_.setText(receive_, QString());
        focusBack(receive_);
        return;
    }
    // Stored or not changed, leaving the field puts the VFO in simplex.
    edit([&](ImageTable &image) {
        StoreVfoReceive(image, text);
        events_.select(lists_.at(QStringLiteral("duplex")), ShiftPosition::Off);
        ShowOptions();
    });
}

void OptionsWindow::leaveOffset()
{
    switch (LeaveOffset(offset_->text())) {
    case OffsetLeave::Clear:
        warn(SettingsMessages::OffsetOutOfRange);
        events_.setText(offset_, QString());
        focusBack(offset_);
        return;
    case OffsetLeave::KeepTyping:
        warn(SettingsMessages::OffsetOutOfRange);
        focusBack(offset_);
        typed_ = offset_; // still the user's text, not yet taken
        return;
    case OffsetLeave::Store:
        edit([this](ImageTable &image) {
            applyTransmitRule(std::max(0, lists_.at(QStringLiteral("duplex"))->currentIndex()));
            StoreVfoOffset(image, offset_->text(), EmptyOffset::Zero);
            ShowOptions();
        });
        return;
    }
}

void OptionsWindow::leaveLimit(bool lower)
{
    QLineEdit *field = lower ? lower_ : upper_;
    const RangeLeave result = lower ? LeaveLowerLimit(lower_->text(), upper_->text(), ModelIndex)
                                    : LeaveUpperLimit(lower_->text(), upper_->text(), ModelIndex);
    if (result.refused()) {
        warn(*result.message);
        events_.setText(field, result.fieldText);
        focusBack(field);
    }
    StoreWorkingRange();
    CheckWorkingRange();
}

void OptionsWindow::leavePassword()
{
    if (PasswordComplete(password_->text()))
        return;
    warn(SettingsMessages::PasswordLength);
    focusBack(password_);
    typed_ = password_; // still the user's text, not yet taken
}

void OptionsWindow::StoreWorkingRange()
{
    edit([this](ImageTable &image) {
        ::StoreWorkingRange(image, lower_->text(), upper_->text());
        ShowOptions();
    });
}

void OptionsWindow::CheckWorkingRange()
{
    act([this] {
        if (const std::optional<PromptMessage> warning = ::CheckWorkingRange(RadioData))
            warn(*warning);
    });
}
