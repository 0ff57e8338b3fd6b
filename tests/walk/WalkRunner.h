// Carries out a walk plan in this process against the real main window: one
// action per step of a timer, so that a message box an action shows does
// not stop the walk; while one is up, the next action answers it or leaves
// it. After every action the main window must still be there; every few
// actions the image is saved through the save window and must read back as
// a valid channel file. What it does goes to stderr, one line an action;
// a broken rule ends the process with "walk failure: ...".
#pragma once

#include "WalkPlan.h"

#include <QObject>
#include <QPointer>
#include <QString>

class MainWindow;
class QWidget;

class WalkRunner : public QObject {
public:
    WalkRunner(MainWindow &main, WalkPlan plan, int checkEvery);
    // Runs the plan in the event loop; returns the process's exit code.
    int run();

    int checkpointsSaved() const { return saved_; }

private:
    void step();
    void perform(const WalkAction &action);
    void performAction(const WalkAction &action);
    bool answerModal(const WalkAction &action);
    void finish();
    void checkpoint();
    void checkAlive();
    [[noreturn]] void fail(const QString &what);
    void log(const QString &text);
    void guardFileSystem();

    void menu(const WalkAction &action);
    void toolbar(const WalkAction &action);
    void button(const WalkAction &action);
    void type(const WalkAction &action);
    void key(const WalkAction &action);
    void cell(const WalkAction &action);
    void pick(const WalkAction &action);
    void close(const WalkAction &action);
    void activate(const WalkAction &action);
    void wheel(const WalkAction &action);
    void language(const WalkAction &action);
    void save(const WalkAction &action);
    void open(const WalkAction &action);
    void transfer(const WalkAction &action);

    bool saveAs(const QString &name);

    QPointer<MainWindow> main_;
    WalkPlan plan_;
    int checkEvery_;
    int next_ = 0; // the action the next step carries out
    int performed_ = 0; // steps that did something, also while nested
    int saved_ = 0, skipped_ = 0;
    int finishing_ = 0;
    bool finalCheck_ = false;
    bool closing_ = false;
    bool logged_ = false;
};
