// What the window layer needs from the main window: the area the child
// windows live in and the sizes their placement ratios refer to. The main
// window implements it and hands itself to Windows::AttachToMainFrame;
// tests may implement it too.
#pragma once

class QMdiArea;
class QWidget;

class MainFrame {
public:
    virtual ~MainFrame() = default;
    virtual QWidget *widget() = 0;
    virtual QMdiArea *mdiArea() = 0;
};

// Screen pixels of a length in twips (1/1440 inch), at the screen's DPI.
int Twips(int twips);
