// What child windows need from the main window: the area they live in, the
// status bar panels and the sizes their placement ratios refer to. The main
// window implements it; tests may too.
#pragma once

#include <QSize>
#include <QString>

class QMdiArea;
class QWidget;

class MainFrame {
public:
    virtual ~MainFrame() = default;
    virtual QWidget *widget() = 0;
    virtual QMdiArea *mdiArea() = 0;
    // Status bar panels are numbered 1..8.
    virtual void setPanelText(int panel, const QString &text) = 0;
    virtual QString panelText(int panel) const = 0;
};

// The one main window of the program (nullptr before it exists).
MainFrame *TheMainFrame();
void SetMainFrame(MainFrame *frame);

// Size of the main window and of its inner (client) area, which the child
// windows' placement ratios use.
QSize MainWindowSize();
QSize MainInnerSize();
// Screen pixels of a length in twips (1/1440 inch), at the screen's DPI.
int Twips(int twips);
