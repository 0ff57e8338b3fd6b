#include "UndoHistory.h"

#include "ImageOrigin.h"
#include "Language.h"

#include <QScopedValueRollback>
#include <QUndoCommand>
#include <utility>

namespace {

// Every step shares one id so the stack offers each new one to the step
// before it; mergeWith decides.
constexpr int StepId = 1;

// The channel whose name codes a change changed, when it changed nothing
// else; 0 otherwise.
int NameOnlyChannel(const ImageChange &change)
{
    int channel = 0;
    for (const RowChange &row : change.rows) {
        if (row.row < NameRowFirst || row.row > NameRowLast)
            return 0;
        for (int c : row.changedColumns()) {
            const int n = ((row.row - NameRowFirst) * BlockSize + c) / NameLength + 1;
            if (channel && channel != n)
                return 0;
            channel = n;
        }
    }
    return channel;
}

} // namespace

class ImageChangeStep : public QUndoCommand {
public:
    ImageChangeStep(UndoHistory *history, const ImageChange &change)
        : history_(history), change_(change)
    {
        setText(StepName(change.kind));
    }

    const ImageChange &change() const { return change_; }

    void undo() override { history_->replay(change_, false); }
    void redo() override
    {
        // Pushing the step: the change is in the image already.
        if (std::exchange(pushing_, false))
            return;
        history_->replay(change_, true);
    }
    int id() const override { return StepId; }
    bool mergeWith(const QUndoCommand *other) override
    {
        const ImageChange &next = static_cast<const ImageChangeStep *>(other)->change_;
        // What a window stored while redrawing this change belongs to it;
        // a name typed key by key is one step.
        const bool typing = change_.kind == ChangeKind::NameTyping
                            && next.kind == ChangeKind::NameTyping && NameOnlyChannel(change_) != 0
                            && NameOnlyChannel(change_) == NameOnlyChannel(next);
        if (!next.followUp && !typing)
            return false;
        change_ = Combined(change_, next);
        setObsolete(change_.isEmpty());
        return true;
    }

private:
    UndoHistory *history_;
    ImageChange change_;
    bool pushing_ = true;
};

UndoHistory::UndoHistory(QObject *parent) : QObject(parent)
{
    connect(&ImageChanges::instance(), &ImageChanges::rowsChanged, this, &UndoHistory::record);
    connect(&stack_, &QUndoStack::indexChanged, this, &UndoHistory::stateChanged);
    connect(&stack_, &QUndoStack::cleanChanged, this, &UndoHistory::savedStateChanged);
    connect(&ImageOrigin::instance(), &ImageOrigin::opened, this, &UndoHistory::markSaved);
    connect(&ImageOrigin::instance(), &ImageOrigin::saved, this, &UndoHistory::markSaved);
    connect(&ImageOrigin::instance(), &ImageOrigin::read, this, &UndoHistory::markSaved);
}

void UndoHistory::markSaved() { stack_.setClean(); }

UndoHistory::~UndoHistory()
{
    // The stack, as it goes, says it is clean again; that is no undo back
    // to the saved state, and must not make the unsaved work look saved.
    disconnect(&stack_, nullptr, this, nullptr);
}

void UndoHistory::record(const ImageChange &change)
{
    if (replaying_)
        return; // the step's own writing, or a window redrawing it
    if (change.followUp) {
        if (announcedRecorded_)
            stack_.push(new ImageChangeStep(this, change)); // merges into the step
        else
            stack_.resetClean();
        return;
    }
    announcedRecorded_ = change.kind != ChangeKind::ShownValues;
    if (announcedRecorded_)
        stack_.push(new ImageChangeStep(this, change));
    else
        // No step takes these cells back: no undo returns to the saved image.
        stack_.resetClean();
}

void UndoHistory::replay(const ImageChange &change, bool forward)
{
    const QScopedValueRollback<bool> replaying(replaying_, true);
    const ImageChange written =
        ImageChanges::instance().apply(change.kind, [&change, forward](ImageTable &image) {
            if (forward)
                PutAfter(image, change);
            else
                PutBefore(image, change);
        });
    emit replayed(written);
}

void UndoHistory::undo() { stack_.undo(); }

void UndoHistory::redo() { stack_.redo(); }

std::optional<ChangeKind> UndoHistory::undoKind() const
{
    if (!stack_.canUndo())
        return std::nullopt;
    return static_cast<const ImageChangeStep *>(stack_.command(stack_.index() - 1))->change().kind;
}

std::optional<ChangeKind> UndoHistory::redoKind() const
{
    if (!stack_.canRedo())
        return std::nullopt;
    return static_cast<const ImageChangeStep *>(stack_.command(stack_.index()))->change().kind;
}

QString UndoHistory::undoCaption() const
{
    const QString verb = Texts("撤销", "Undo");
    const auto kind = undoKind();
    return kind ? verb + u' ' + StepName(*kind) : verb;
}

QString UndoHistory::redoCaption() const
{
    const QString verb = Texts("重做", "Redo");
    const auto kind = redoKind();
    return kind ? verb + u' ' + StepName(*kind) : verb;
}

QString StepName(ChangeKind kind)
{
    switch (kind) {
    case ChangeKind::CellEdit:
    case ChangeKind::ShownValues:
        return Texts("修改信道", "Channel Change");
    case ChangeKind::Clear:
        return Texts("清除", "Clear");
    case ChangeKind::ModelSelect:
        return Texts("机型选择", "Model Select");
    case ChangeKind::OptionsEdit:
        return Texts("可选功能", "Optional Features");
    case ChangeKind::FmEdit:
        return Texts("收音机频道", "FM Stations");
    case ChangeKind::CompletedRead:
        return Texts("从对讲机读取数据", "Read from radio");
    case ChangeKind::OpenedFile:
        return Texts("打开文件", "Open File");
    case ChangeKind::PowerCalibration:
        return Texts("发射功率调整", "Power Adjust");
    case ChangeKind::InsertChannel:
        return Texts("插入空信道", "Insert Empty Channel");
    case ChangeKind::DeleteChannels:
        return Texts("删除信道", "Delete Channels");
    case ChangeKind::MoveChannelsUp:
        return Texts("信道上移", "Move Channels Up");
    case ChangeKind::MoveChannelsDown:
        return Texts("信道下移", "Move Channels Down");
    case ChangeKind::NameTyping:
        return Texts("信道名称", "Channel Name");
    case ChangeKind::Recovered:
        return Texts("恢复未保存的修改", "Restore Unsaved Work");
    case ChangeKind::CsvImport:
        return Texts("导入 CSV", "Import CSV");
    case ChangeKind::Paste:
        return Texts("粘贴信道", "Paste Channels");
    case ChangeKind::Cut:
        return Texts("剪切信道", "Cut Channels");
    }
    return QString();
}
