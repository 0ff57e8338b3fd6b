// Undo and redo of the user's changes to the image. The image is the
// program's one document, so there is one history: the main window owns
// it. It hears every change on the change path (ImageChanges) and keeps
// each as one step; undoing or redoing a step writes its cells back
// through the same path, so every open window redraws as after any change.
// Only the cells a step changed are written back: cells the write
// preparation rebuilt meanwhile stay as they are. Windows reach it only
// through the undo and redo actions they are handed.
//
// The history also knows where the image was last saved, opened or read
// (ImageOrigin): undoing or redoing back to that step says so, so the
// unsaved mark and the recovery file follow the history.
#pragma once

#include "ImageChanges.h"

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <optional>

class UndoHistory : public QObject {
    Q_OBJECT
public:
    explicit UndoHistory(QObject *parent = nullptr);
    ~UndoHistory() override;

    bool canUndo() const { return stack_.canUndo(); }
    bool canRedo() const { return stack_.canRedo(); }
    int count() const { return stack_.count(); }
    // Kind of the step an undo (a redo) would take back (bring back).
    std::optional<ChangeKind> undoKind() const;
    std::optional<ChangeKind> redoKind() const;
    // Menu captions in the current language: "Undo Clear", or "Undo" alone
    // when there is nothing to undo.
    QString undoCaption() const;
    QString redoCaption() const;

    // Whoever undoes or redoes has what is still typed stored first, as
    // leaving the field would, so that it is not lost: it becomes the step
    // undone (the Edit menu asks the windows, Windows::CommitTyped).
    void undo();
    void redo();
    // Forgets every step (a new start).
    void clear() { stack_.clear(); }

    // Whether the image is where it was last saved, opened or read (or at
    // the start, before any of these).
    bool atSavedState() const { return stack_.isClean(); }

signals:
    // A step was undone or redone; what it wrote.
    void replayed(const ImageChange &change);
    // Something to undo or redo, or its step, is different now.
    void stateChanged();
    // Undo or redo arrived at (left) the state last saved, opened or read.
    void savedStateChanged(bool atSavedState);

private:
    friend class ImageChangeStep;
    void record(const ImageChange &change);
    void replay(const ImageChange &change, bool forward);
    void markSaved();

    QUndoStack stack_;
    bool replaying_ = false;
    // Whether the change whose announcement is running became a step, so
    // that what windows store while redrawing it joins that step.
    bool announcedRecorded_ = false;
};

// Name of a step in the current language.
QString StepName(ChangeKind kind);
