#pragma once

#include "ChannelFileWindow.h"

// Form_save_chann: writes the whole image to a ".chann" file.
class SaveChannelWindow : public ChannelFileWindow {
    Q_OBJECT
public:
    SaveChannelWindow();

protected:
    Captions captions() const override;
    Message invalidNameMessage() const override;
    Message suffixMessage() const override;
    bool confirm(const QString &path) override;
};

// Form_open_chann: replaces the image by the contents of a ".chann" file.
class OpenChannelWindow : public ChannelFileWindow {
    Q_OBJECT
public:
    OpenChannelWindow();

protected:
    Captions captions() const override;
    Message invalidNameMessage() const override;
    Message suffixMessage() const override;
    bool confirm(const QString &path) override;
};

// Registers the files windows with the window manager.
void RegisterFileWindows();
