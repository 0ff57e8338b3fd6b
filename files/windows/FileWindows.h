#pragma once

#include "ChannelFileWindow.h"

// Form_save_chann: writes the whole image to a ".chann" file.
class SaveChannelWindow : public ChannelFileWindow {
    Q_OBJECT
public:
    SaveChannelWindow();

protected:
    Captions captions() const override;
    BilingualText invalidNameMessage() const override;
    BilingualText suffixMessage() const override;
    bool confirm(const QString &path) override;
};

// Form_open_chann: replaces the image by the contents of a ".chann" file.
class OpenChannelWindow : public ChannelFileWindow {
    Q_OBJECT
public:
    OpenChannelWindow();

protected:
    Captions captions() const override;
    BilingualText invalidNameMessage() const override;
    BilingualText suffixMessage() const override;
    bool confirm(const QString &path) override;
};

// Opens a ".chann" file named by its full path (a recent file, a backup of
// a read) as the open window's Confirm does: the same name checks, reading
// and messages (their boxes over the parent's window). True when the image
// now holds the file.
bool OpenChannelFileAt(const QString &path, QWidget *parent);

// Registers the files windows with the window manager.
void RegisterFileWindows();
